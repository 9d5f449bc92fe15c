#pragma once
// The names of the product that its programs and their tests must agree on: the guard, its
// setup, the uninstaller's package and the Wine tests all take them from here, so that none of
// them needs another's headers to know what the product is called or where its parts live.
#include <cstddef>

#include "common/Version.h"

// What Programs and Features, the Start menu and the uninstall log call the product.
inline constexpr char kProductName[] = "Morvane Linewarden";
inline constexpr char kPublisher[] = "Morvane";
inline constexpr char kAboutUrl[] = "https://linewarden.morvane.example/";
// The version as the window caption and Programs and Features show it ("1.1").
inline constexpr char kProductVersion[] = LW_VERSION_TEXT;
// The guard's window caption, which also heads its boxes, its tray tip and its report's first
// and last lines: the product and its version, the same in every language.
inline constexpr char kGuardCaption[] = "Morvane Linewarden " LW_VERSION_TEXT;
// The maker's address, under the reserved ".example" domain: the guard must not send its users
// anywhere that is not ours. Kept short, so that the title line (caption, " - ", address) fits
// its 313-pixel label in bold Tahoma instead of ending in an ellipsis.
inline constexpr char kHomePage[] = "http://morvane.example/";

// The installation's program files, side by side in one folder.
inline constexpr char kGuardFile[] = "MLinewarden.exe";
inline constexpr char kUninstallerFile[] = "uninstall.exe";

// The name of the guard's value in the Run keys: the guard writes it for its auto-start
// option, the setup writes it for the same option, and the uninstaller removes it.
inline constexpr char kAutoStartValueName[] = "MLinewarden";

// The class of the guard's main window. A second start of the guard finds the first through it,
// and a setup or an uninstaller recognises the running guard by it where the system names the
// guard's process by its file name alone.
inline constexpr char kGuardMainWindowClass[] = "TLinewardenForm";
// One guard per session.
inline constexpr char kGuardMutexName[] = "Local\\MLinewarden.Guard";
inline constexpr size_t kLocalPrefixLength = 6;  // "Local\\"
