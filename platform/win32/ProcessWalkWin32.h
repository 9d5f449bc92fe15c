#pragma once
// The system's process walk, made over a given loader and version word, so that the Windows-side
// tests can take either of its two ways on one system and watch what it binds.
#include <cstdint>
#include <memory>

#include "platform/DynamicLibraries.h"
#include "platform/ProcessWalk.h"

using TVersionWordFn = uint32_t (*)();

// Binds the process-status library at once when versionWord names the NT family; the snapshot
// functions are bound on the first walk that needs them. The guard's own walk is
// MakeWin32ProcessWalk(SystemLibraries(), SystemVersionWord).
std::unique_ptr<IProcessWalk> MakeWin32ProcessWalk(IDynamicLibraries& libraries,
                                                   TVersionWordFn versionWord);
