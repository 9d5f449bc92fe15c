#pragma once
// The uninstall package as an installation appends it to the uninstaller's program file: "MIP1",
// the log's length, the log, the distance from the header to the end of the file, "MIP1END" and
// a NUL byte (integers 32-bit little-endian). The setup writes it for real; the tests and the
// package-writer tool use it to try the uninstaller.
#include <cstdint>
#include <string>

#include "platform/Files.h"

// Header, log and trailer back to back (the distance is the log's length + 20). The log is
// taken as the bytes it is: the uninstaller reads it in the system's ANSI code page.
std::string PackageBytes(const std::string& log);

// The same with the two numbers given, for packages that lie about them.
std::string PackageBytes(const std::string& log, int32_t length, int32_t distance);

// The log of the package at the end of a program file, as the uninstaller finds it. False when
// the file carries no whole package.
bool ReadPackageLog(IFileStream& file, std::string& log);
