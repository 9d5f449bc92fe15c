#pragma once
// The setup's texts in Polish and English. The setup picks the language once, from the
// system's default language as the uninstaller it installs does (LanguageIndexOf).
#include <string>

#include "common/TextTable.h"

enum class TSetupText {
    Caption,
    FolderLabel,
    Browse,
    BrowseTitle,
    AutoStart,
    StartWhenDone,
    Install,
    Cancel,
    Close,
    Installing,
    Done,
    Failed,              // "%s" the reason
    BadFolder,           // "%s" the folder
    OthersFolder,        // "%s" the folder
    InstalledElsewhere,  // "%s" the folder of the existing installation
    Unloggable,          // "%s" the folder
    StillRunning,        // "%s" the program that stays running
    RetryOrCancel,
    CannotCreate,    // "%s" the folder or file
    CannotWrite,     // "%s" the file
    CannotRegister,  // "%s" the key
    NoShortcut,      // "%s" the shortcut
    NoAutoStart,
    DamagedSetup,
    AlreadyRunning,
    GuardNotStarted,  // "%s" the guard's program file
};

std::string SetupText(TSetupText id, TLanguage language);
// The text with its "%s" replaced literally by detail.
std::string SetupText(TSetupText id, TLanguage language, const std::string& detail);
