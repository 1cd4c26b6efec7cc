// The few checks of the Windows tests, which have no test framework built for them: a failed check prints the case
// that runs, what failed and where, and the program's status counts the failures.
#pragma once
#include <cstdio>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <utility>

namespace check {

inline int failures = 0;
inline std::string current; // the case now running

inline std::string show(const std::wstring& s)
{
    std::string out = "\"";
    for (const wchar_t c : s) // UTF-8, for the log
        if (c < 0x80)
            out += char(c);
        else if (c < 0x800)
            out += {char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))};
        else
            out += {char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
    return out + '"';
}
template <class T>
std::string show(const T& v)
{
    if constexpr (std::is_pointer_v<T>)
        return v ? "pointer" : "null";
    else
        return std::to_string(v);
}

inline bool report(bool ok, const std::string& what, const char* file, int line)
{
    if (!ok) {
        ++failures;
        std::printf("FAIL [%s] %s (%s:%d)\n", current.c_str(), what.c_str(), file, line);
        std::fflush(stdout);
    }
    return ok;
}

template <class A, class B>
bool equal(const A& a, const B& b, const char* what, const char* file, int line)
{
    return a == b || report(false, std::string(what) + ": " + show(a) + " against " + show(b), file, line);
}

using Test = std::pair<const char*, void (*)()>;

// Runs the named tests in order; the status for main.
inline int run(std::initializer_list<Test> tests)
{
    for (const auto& [name, test] : tests) {
        current = name;
        test();
    }
    std::printf("%d failed\n", failures);
    return failures ? 1 : 0;
}

// While it lives, failures name the row of a data table as well as the test.
struct Row {
    explicit Row(const std::string& name) : saved(current) { current += " / " + name; }
    ~Row() { current = saved; }
    const std::string saved;
};

} // namespace check

#define CHECK(condition) ::check::report(bool(condition), #condition, __FILE__, __LINE__)
#define CHECK_EQ(a, b) ::check::equal((a), (b), #a " == " #b, __FILE__, __LINE__)
