// Run-time errors as the handlers see them: a number and the runtime's message text.
#pragma once
#include <stdexcept>
#include <string>

namespace rt {

// The error numbers this program can meet.
enum ErrorNumber : int {
    InvalidCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    DivisionByZero = 11,
    ElementMissing = 340,
    AlreadyLoaded = 360,
    InvalidPropertyValue = 380,
};

// The runtime's message text for an error number, in Portuguese (UTF-8).
std::string errorText(int number);

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(int number) : std::runtime_error(errorText(number)), number_(number) {}
    int number() const { return number_; }
    // The message text, as a report shows it after its own literal.
    std::string text() const { return what(); }

private:
    int number_;
};

} // namespace rt
