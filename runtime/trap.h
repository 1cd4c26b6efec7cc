// An error trap over numbered statements: a failing statement is reported and the next one runs.
#pragma once
#include "runtime/error.h"
#include "runtime/numbers.h"
#include "runtime/services.h"

#include <string>

namespace rt {

class Trap {
public:
    // Arms the trap; a report is `literal` followed directly by the error's message text.
    Trap(MessageBox& box, std::string literal) : box_(box), literal_(std::move(literal)) {}

    // The statement now running, recorded before it starts; 0 before the first.
    int current() const { return current_; }

    // Runs statement n; a run-time error abandons the rest of it and is reported. Returns whether it completed.
    template <class F>
    bool operator()(int n, F&& statement)
    {
        current_ = n;
        clearFloatingFlags();
        try {
            statement();
            return true;
        } catch (const RuntimeError& e) {
            box_.show(literal_ + e.text());
            return false;
        }
    }

    // A loop head, returning whether the body runs; a failing head resumes in the body all the same.
    template <class F>
    bool head(int n, F&& enter)
    {
        bool go = true;
        (*this)(n, [&] { go = enter(); });
        return go;
    }

    // A loop advance, returning whether the body runs again; a failing advance leaves the loop.
    template <class F>
    bool next(int n, F&& advance)
    {
        bool go = false;
        (*this)(n, [&] { go = advance(); });
        return go;
    }

private:
    MessageBox& box_;
    std::string literal_;
    int current_ = 0;
};

} // namespace rt
