#pragma once
// Runs a call that should fail and returns the message of the error of class E it raised, so
// that a table of cases can compare messages; a call that raises nothing gives "<no error>".
#include <string>

template <typename E, typename F>
std::string ErrorMessage(F call)
{
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    return "<no error>";
}
