#pragma once
// The uninstall package: how an installation appends the uninstall log to the uninstaller's
// program file, and how the log is found there again. The setup writes it, the uninstaller
// reads it, and the package-writer tool and the tests build packages with it, so that all of
// them frame the log alike.
//
// Layout at the end of the file (integers 32-bit little-endian, signed; S = file size):
//   S-D     "MIP1"
//   S-D+4   L, the log's length (not 0)
//   S-D+8   the log, L bytes of XML in the system's ANSI code page
//   S-12    D, the distance from the header to the end of the file
//   S-8     "MIP1END" and a NUL byte
// Only the trailer's place and the header's distance are relied on: bytes between the log and
// the trailer are passed over.
#include <cstdint>
#include <string>

#include "platform/Files.h"

// The header's magic and the trailer's end marker, its NUL included.
inline constexpr char PackageHeaderMagic[4] = {'M', 'I', 'P', '1'};
inline constexpr char PackageEndMarker[8] = {'M', 'I', 'P', '1', 'E', 'N', 'D', '\0'};
// Sizes of the package's fixed parts.
constexpr int64_t PackageHeaderSize = 8;    // the magic and L
constexpr int64_t PackageTrailerSize = 12;  // D and the end marker

// Header, log and trailer back to back (the distance is the log's length + 20). The log is
// taken as the bytes it is: the uninstaller reads it in the system's ANSI code page.
std::string PackageBytes(const std::string& log);

// The same with the two numbers given, for packages that lie about them.
std::string PackageBytes(const std::string& log, int32_t length, int32_t distance);

// The log of the package at the end of a program file. False when the file carries no whole
// package: a wrong marker, a distance or a length that points outside the file or into the
// trailer, a length of 0, or a read that gives fewer bytes than asked.
bool ReadPackageLog(IFileStream& file, std::string& log);

// Reads count bytes from the source's position into target, which is emptied first, in chunks
// of 16384 bytes, so that no more is held than the file really gave. False when the source ends
// or fails before count bytes were read.
bool ReadStreamBytes(IFileStream& source, std::string& target, int64_t count);
