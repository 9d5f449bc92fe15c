#pragma once
// What the tools unit reaches the machine through. The guard fills it with the system's ports
// and its own program path; tests fill it with fakes and a program path in a temporary folder.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/ChildPrograms.h"
#include "platform/Files.h"
#include "platform/ProcessWalk.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

// An unpacker gets this long for one run. Unpacking a file of at most 100 000 bytes takes well
// under a second; a run that has not ended after a minute is hung, and the guard, which waits on
// its user-interface thread, must not hang with it.
constexpr uint32_t kUnpackerTimeLimitMs = 60000;

// Told after each quarantine copy: the source, the copy's path and whether it was made.
using TFileCopiedHook =
        std::function<void(const std::string& source, const std::string& destination, bool ok)>;
// Told for each file that removal meant to delete, with whether it was deleted.
using TFileDeletedHook = std::function<void(const std::string& path, bool ok)>;
// Told when a copy failed because the quarantine folder cannot be made or takes no new file
// (a standard user beside a program installed for all users), rather than because of the one
// file: the folder's path.
using TQuarantineUnavailableHook = std::function<void(const std::string& folder)>;

struct TToolsPorts {
    IRegistry& Registry;
    IFileSystem& Files;
    IProcesses& Processes;
    IShell& Shell;
    // The guard's own program file: the help file, the unpackers and the temporary unpacked
    // copy lie beside it (the copy in the temporary folder when the program's folder refuses).
    std::string ProgramPath;
    uint32_t UnpackerTimeLimitMs = kUnpackerTimeLimitMs;
    // The running processes that the sweep lists and kills. A bundle that names none sees no
    // process at all; the guard passes SystemProcessWalk().
    IProcessWalk& ProcessWalk = NoProcessWalk();
    // Where removal reports its copies and deletions: the guard turns them into report lines.
    // Empty unless the caller sets them; an empty hook is skipped.
    TFileCopiedHook OnFileCopied = nullptr;
    TFileDeletedHook OnFileDeleted = nullptr;
    TQuarantineUnavailableHook OnQuarantineUnavailable = nullptr;
};
