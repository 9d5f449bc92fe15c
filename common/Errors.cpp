#include "common/Errors.h"

#include "common/Format.h"

void AssertionFailed(const char* condition, const char* file, int line)
{
    // Both separators: a Windows compiler may name the file with either.
    std::string unit = file;
    const size_t folder = unit.find_last_of("/\\");
    if (folder != std::string::npos) unit.erase(0, folder + 1);
    const size_t extension = unit.rfind('.');
    if (extension != std::string::npos && extension > 0) unit.erase(extension);
    throw EAssertionFailed(Format("Assertion failed: %s (%s, line %d)", condition, unit, line));
}
