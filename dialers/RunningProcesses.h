#pragma once
// The running processes as the dialer sweep sees them: the program files that run, and ending
// the process of one of them. The system's walk behind it (ports.ProcessWalk) names each process
// by its full path where it can, by its file name where the system gives only that.
#include <cstdint>
#include <string>

#include "dialers/FileSearch.h"
#include "dialers/ToolsPorts.h"

// Empties list and fills it with the program file of each running process in the order of the
// walk, duplicates included: its full path, or its file name where the walk gives only names. A
// process whose path could not be read is left out. True when the list is not empty.
bool ListProcessFiles(const TToolsPorts& ports, TFiles& list);

// Ends the first running process whose program file is path, a full path or a bare file name,
// compared without regard to the case of ASCII letters. Where the walk knows the process's full
// path and path has a folder, the whole paths must match; otherwise the file names. True when
// that process was ended; one process at most per call, none for a path without a file name.
// The guard's own process never matches: ending it would end the guard and leave the dialer.
bool KillProcessByFile(const TToolsPorts& ports, const std::string& path);

// Ends the process of that identifier; false when it cannot be opened or ended.
bool TerminateProcessById(const TToolsPorts& ports, uint32_t processId);
