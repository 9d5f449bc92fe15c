#pragma once
// The dialer test: a program file of at most 100 000 bytes whose bytes hold "RasDialA", looked
// at after unpacking with an external unpacker where one can restore it.
#include <cstdint>
#include <memory>
#include <string>

#include "common/Errors.h"
#include "dialers/ToolsPorts.h"

constexpr int64_t kMaxDialerSize = 100000;   // bytes; a larger file is never a dialer
extern const char kDialerText[];             // "RasDialA"
extern const char kUnpackedExt[];            // ".111", the temporary unpacked copy
extern const char* const kUnpackerNames[2];  // "upx.exe", "upx190.exe", beside the program

// Raised when a file cannot be opened or read to the end.
class EFileStreamError : public Exception {
public:
    using Exception::Exception;
};

// One file opened for reading only, while other programs may go on using it (deny none).
class TMyFileStream {
public:
    // Raises EFileStreamError when the file cannot be opened.
    TMyFileStream(IFileSystem& files, const std::string& path);
    // Raises EFileStreamError when the size cannot be read.
    int64_t Size();
    void SetPosition(int64_t position);
    // Reads exactly count bytes or raises EFileStreamError.
    void ReadBuffer(void* buffer, size_t count);

private:
    std::string FPath;
    std::unique_ptr<IFileStream> FStream;
};

// How much of the file one read takes.
constexpr size_t kSearchBufferSize = 64 * 1024;

// Whether the stream's bytes hold text at any offset (no alignment, case-sensitive), from the
// start of the stream through its last full window, as its size stood when the search began.
// False for an empty text. Reads the file in buffers of bufferSize bytes.
bool StreamContains(TMyFileStream& stream, const std::string& text,
                    size_t bufferSize = kSearchBufferSize);

// Size of the file in bytes; 0 when it is missing or cannot be opened or measured.
int64_t FileSizeOf(IFileSystem& files, const std::string& path);
// Whether the file holds "RasDialA"; false when it is missing or cannot be opened or read.
bool ContainsRasDial(IFileSystem& files, const std::string& path);

// Runs "program" parameters (the program path quoted) and waits for it, at most timeoutMs.
// The exit code, or kRunNotStarted, kRunNoExitCode, kRunTimedOut.
int RunAndWait(IProcesses& processes, const std::string& program, const std::string& parameters,
               int showCommand, uint32_t timeoutMs);

// Restores source into target with the first unpacker beside the program that both tests the
// file and decompresses it successfully. Never raises.
bool UnpackExecutable(const TToolsPorts& ports, const std::string& source,
                      const std::string& target);

// Whether a new file can be made at path: nothing is there yet, and an empty file written there
// to find out is deleted again. Asking the folder this way holds whatever decides it (rights,
// a read-only medium, a full disk), which no attribute tells.
bool CanCreateFile(IFileSystem& files, const std::string& path);
// Where the unpacked copy of a packed file goes: the program's path with ".111" when a file can
// be made there (a copy left there earlier is deleted first), otherwise the same name in the
// user's temporary folder, since a standard user may not write beside a program installed for
// all users; "" when neither takes a new file.
std::string UnpackedCopyPath(const TToolsPorts& ports);

// The dialer test applied to the program file that a plain path names (a path without an
// extension is tested with ".exe" appended).
bool IsDialerFile(const TToolsPorts& ports, const std::string& path);
// The dialer test applied to a program file as it is named.
bool IsDialerProgram(const TToolsPorts& ports, const std::string& fileName);
