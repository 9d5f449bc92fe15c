#pragma once
// Taking a confirmed dialer off the machine: its file is copied into a numbered quarantine
// beside the guard and deleted, and the shortcuts in the shell folders that point at it go the
// same way. Every copy and deletion is announced through the two file hooks of the ports.
#include <cstdint>
#include <string>

#include "dialers/ToolsPorts.h"

// The quarantine folder beside the program, and the file names of the copies in it.
extern const char kQuarantineFolderName[];  // "dialers"
extern const char kQuarantineCopyFormat[];  // "%s.%.3d"
// Copies of one file name are numbered from 0 up, without limit; the first free number is
// taken. The folder's listing tells which numbers are taken. A name that the listing shows free
// is tried, and one found taken after all (a copy made meanwhile, a folder that cannot be listed)
// is passed over; after this many such names the search gives up and no copy is made.
constexpr int kQuarantineUnlistedTries = 100000;

// The folder of the program followed by "dialers\".
std::string QuarantineFolder(const TToolsPorts& ports);
// base followed by "." and the number with at least three digits (base.000, base.1000).
std::string QuarantineCopyName(const std::string& base, int64_t number);

// Deletes the file; with keepCopy, a numbered copy goes into the quarantine folder first, and
// when that copy cannot be made the file is kept (reported as not deleted): a program wrongly
// taken for a dialer must never be lost. When the copy failed because the folder cannot be made
// or written, OnQuarantineUnavailable hears it after OnFileCopied. False, without a hook call, when the path names no
// file; otherwise whether the file was deleted. Never raises on a file that vanishes or is
// locked meanwhile.
bool RemoveFile(const TToolsPorts& ports, const std::string& path, bool keepCopy);

// Where the shell keeps the paths of its folders, under the user's root and the machine's.
extern const char kUserShellFoldersKey[];
extern const char kCommonShellFoldersKey[];

struct TShellFolder {
    const char* ValueName;
    bool Common;  // all users (the machine's key) rather than the current user
};
// The shell folders searched for shortcuts, in the order of the search.
extern const TShellFolder kShortcutFolders[9];

// The folder path stored under the value name for the current user or for all users; "" when
// the key or the value is missing. A value of a non-string type raises the registry's error.
std::string GetUserShellFolder(IRegistry& registry, const std::string& valueName);
std::string GetCommonShellFolder(IRegistry& registry, const std::string& valueName);

// Removes (with quarantine copies) every shortcut in the shell folders whose target, lower-cased,
// equals the lower-cased path. True when every such shortcut was removed, also when there was
// none; false when shortcuts were found but the shell-link object to read them could not be
// created. Raises when that object lacks IPersistFile, before anything is removed.
bool RemoveShortcutsTo(const TToolsPorts& ports, const std::string& path);
