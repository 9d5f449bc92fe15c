#include "common/Errors.h"

#include "common/Format.h"

void AssertionFailed(const char* condition, const char* unit, int line)
{
    throw EAssertionFailed(Format("Assertion failed: %s (%s, line %d)", condition, unit, line));
}
