#pragma once
// The setup's rules that need no machine: its command line, the folder it installs into, and
// the values it records for Programs and Features.
#include <cstdint>
#include <string>

#include "common/Product.h"
#include "dialers/RunValue.h"
#include "platform/LocalTime.h"

constexpr const char kUninstallKeyPath[] =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MLinewarden";

// Exit codes of the setup.
constexpr int kSetupInstalled = 0;
constexpr int kSetupCancelled = 1;
constexpr int kSetupFailed = 2;

struct TSetupCommandLine {
    bool Silent = false;
    // The folder that "/D=" gave, as given; empty without one.
    std::string Folder;
};

// The arguments of a whole command line: what follows the program's name, which may be quoted.
std::string ArgumentsOf(const std::string& commandLine);
// "/S" (any case) as a word of its own asks for no window. "/D=" starts the folder, which is
// the rest of the line, blanks and all, without quotes; so it must come last.
TSetupCommandLine ParseSetupArguments(const std::string& arguments);

// The folder, trimmed and without final backslashes, when it is a full path the setup can
// install into: a drive and a folder below its root ("C:\x") or a network share's folder
// ("\\server\share\x"), no character Windows forbids in names, and room left for the longest
// file name below it. Empty otherwise.
std::string UsableFolder(const std::string& folder);
// The product's own folder where nobody says: below the user's programs folder in the local
// application data (per user), or below the Program Files folder (per machine). Empty when the
// base folder is unknown.
std::string DefaultFolder(TInstallScope scope, const std::string& baseFolder);

// "YYYYMMDD".
std::string InstallDateText(const TLocalTime& time);
// Kibibytes, rounded up, as Programs and Features shows them.
uint32_t EstimatedSizeKiB(uint64_t bytes);
