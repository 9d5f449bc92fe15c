#pragma once
// The setup's texts in Polish and English, in the language the uninstaller chooses
// (uninstall/Texts.h: InitTexts picks it once from the system's default language).
#include <string>

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

// The text in the chosen language.
std::string SetupText(TSetupText id);
// The text with its "%s" replaced literally by detail.
std::string SetupText(TSetupText id, const std::string& detail);
