#pragma once
// The walk over the running processes. List mode collects the program file of every process;
// kill mode terminates the first process whose program file matches. The system's version
// picks the walk on every call (UsesToolhelp): the snapshot functions on the Windows 95, 98 and
// Me family, the process-status library on the NT family.
#include <cstdint>
#include <string>

#include "dialers/FileSearch.h"
#include "dialers/ToolsPorts.h"

// Exit codes of a process that the walk terminated: the snapshot walk terminates by identifier,
// the process-status walk through the handle it opened to read the names.
constexpr uint32_t kToolhelpKillExitCode = 0xFFFFFFFFu;
constexpr uint32_t kPsapiKillExitCode = 0;

// The process-status walk reads this many identifiers at first and asks again with room for
// twice as many while the answer fills the buffer, up to kMaxProcessIds.
constexpr uint32_t kProcessIdCapacity = 256;
constexpr uint32_t kMaxProcessIds = 65536;
constexpr uint32_t kModuleCapacity = 256;      // module handles read per process
constexpr uint32_t kModuleNameCapacity = 512;  // characters of a module's name or path

// Kill mode when list is nullptr: target is a program file, a full path or a bare file name,
// compared without regard to the case of ASCII letters. Where the walk knows the process's full
// path (the process-status walk, and the snapshot walk on the Windows 95 family) and target has
// a folder, the whole paths must match; otherwise the file names. True when the first matching
// process was terminated; one process at most per call. The guard's own process never matches:
// terminating it would end the guard and leave the dialer.
// List mode otherwise (target must be empty): the list is emptied and receives the program file
// of each process in the order of the walk, duplicates included; true when it is not empty.
bool ScanProcesses(const TToolsPorts& ports, const std::string& target, TFiles* list);

// Kill mode for the program file at path.
bool KillProcessByFile(const TToolsPorts& ports, const std::string& path);

// Opens the process for termination only and ends it with kToolhelpKillExitCode; false when it
// cannot be opened or terminated.
bool TerminateProcessById(const TToolsPorts& ports, uint32_t processId);
