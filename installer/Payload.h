#pragma once
// The files the setup carries, compressed with zlib and appended to its program file:
//   "LWS1", the count of files (u32), then per file: the name's length (u16), the name, the
//   size (u32), the compressed size (u32), the CRC-32 of the file, the compressed bytes;
//   then the CRC-32 of everything from "LWS1" on (u32), the length of that part (u32) and
//   "LWS1END" with a NUL byte. Integers are little-endian.
// The whole-block check catches a changed byte anywhere, also in a name or a size, before
// anything is unpacked; each file's own check then proves its unpacked bytes.
// Depends on zlib alone, so that the native packer and the setup build it alike.
#include <cstdint>
#include <string>
#include <vector>

struct TPayloadFile {
    std::string Name;  // a plain file name, no folder
    std::string Bytes;
};

enum class TPayloadError { None, Missing, Damaged };

// The payload block for these files; empty when a file cannot be compressed or a name is not
// plain.
std::string PayloadBytes(const std::vector<TPayloadFile>& files);
// The files of the payload at the end of a program file's bytes. Missing when there is no
// trailer, Damaged when the block or a file fails its check or does not unpack; files is then
// empty.
TPayloadError ReadPayload(const std::string& programBytes, std::vector<TPayloadFile>& files);
// A name the payload may carry: not empty, at most 64 bytes, no folder, no ".." or wildcards.
bool IsPlainFileName(const std::string& name);
