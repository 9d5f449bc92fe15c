#pragma once
// Helpers shared by the Wine tests.
#include <windows.h>

#include <string>

#include "common/Format.h"

// A name no other run of the tests uses, for registry keys and values that outlive a test
// program that crashed: the process id and a count.
inline std::string Unique(const std::string& prefix)
{
    static int counter = 0;
    return Format("%s-%d-%d", prefix, static_cast<int>(GetCurrentProcessId()), ++counter);
}
