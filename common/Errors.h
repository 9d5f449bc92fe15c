#pragma once
// The project's exception base class and its internal assertion.
#include <stdexcept>
#include <string>

// Every error that cannot be handled where it happens is an Exception (or derived from it)
// carrying an English message; the top of an event shows that message to the user.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// Raised when an internal precondition does not hold. The message names the unit and the
// line, so that a report from a user points at the place in the source.
class EAssertionFailed : public Exception {
public:
    using Exception::Exception;
};

// file is the source file as the compiler names it; the message names its unit (the file name
// without folder and extension).
[[noreturn]] void AssertionFailed(const char* condition, const char* file, int line);

// LW_ASSERT(condition) checks an invariant in release builds too: a broken invariant must stop
// the operation rather than go on with corrupt state. The unit is the file the compiler knows,
// so that it cannot drift from the source the way a hand-typed name does.
#define LW_ASSERT(condition)                                               \
    do {                                                                   \
        if (!(condition)) AssertionFailed(#condition, __FILE__, __LINE__); \
    } while (0)
