#pragma once
// The guard's texts, held as the setup's and the uninstaller's are (common/TextTable.h): one id
// per text, grouped by where it appears, and one row per id in GuardTexts.cpp. The guard's
// interface is Polish only, so its rows leave English out. The language is handed in by whoever
// shows the text (TGuardPorts::Language and the views' constructors), never read from a global.
// Source files are UTF-8; the Win32 views convert to UTF-16 at the edge. The tests compare these
// texts word for word: double spaces and "\r\n" are meant. What names the product rather than
// speaking to the user (the caption with the version, the maker's address) is in
// common/Product.h.
#include <string>

#include "common/TextTable.h"

enum class TGuardText {
    // The main window's description of the program.
    Description,

    // Main window: the options, each check box with its hint.
    ConfigurationCaption,
    AutoStartOption,
    AutoStartHint,
    CheckAllowedNumbersOption,
    CheckAllowedNumbersHint,
    AutoDeleteDialUpOption,
    AutoDeleteDialUpHint,
    AutoDeleteDialersOption,
    AutoDeleteDialersHint,
    AskBeforeDeleteDialUpOption,
    AskBeforeDeleteDialUpHint,
    CheckWhileDiallingOption,
    CheckWhileDiallingHint,

    // Main window: the allowed numbers.
    AllowedNumbersCaption,
    AddNumberButton,
    EditNumberButton,
    DeleteNumberButton,

    // Main window: the report's columns.
    ReportTimeColumn,
    ReportTextColumn,

    // The popup menu of the window and the tray icon (Layout.cpp gives them in TMenuItem order).
    MenuConfiguration,
    MenuReport,
    MenuAbout,
    MenuDisconnectUnknownConnection,
    MenuDeleteUnknownDialUps,
    MenuCheckActiveDialers,
    MenuTestDialers,
    MenuExit,
    MenuActivityLog,

    // Status bar.
    StatusDialing,
    StatusConnected,
    StatusNotConnected,
    StatusError,
    StatusConnectedTo,          // "%s" the number
    StatusConnectedOverriding,  // "%s" the number
    StatusConnectedDefault,     // "%s" the number
    ProgressConnections,
    ProgressDialers,

    // Report lines.
    ReportStart,  // the caption follows
    ReportHungUp,
    ReportHungUpWhileDialling,
    ReportHangUpFailed,
    ReportConnectionKept,
    ReportEntryKept,
    ReportEntryDeleted,
    ReportEntryDeleteFailed,
    ReportStartupDialerKept,
    ReportProcessDialerKept,
    ReportKilling,
    ReportKilled,
    ReportDeletingFile,
    ReportFileDeleted,
    ReportDeletingRunValue,
    ReportRunValueDeleted,
    ReportDeletingShortcuts,
    ReportShortcutsDeleted,
    ReportRemovalError,
    ReportRemovalFailed,
    ReportCopied,
    ReportCopyFailed,
    ReportDeleted,
    ReportDeleteFailed,

    // What a user without the right to write somewhere is told: the program's folder or the
    // registry refuses, and what then does not happen.
    ReportSettingsNotSaved,
    // The message box shown the first time in a run that the settings cannot be saved.
    SettingsNotSavedMessage,
    ReportAutoStartNotWritten,
    ReportQuarantineUnavailable,

    // The lasting log: what it adds to a report line, the guard's end, and what the user is told
    // when it cannot be written.
    LogConnection,
    LogNotAsked,
    LogAskedYes,
    LogAskedNo,
    LogEnd,  // the caption follows
    ReportLogNotWritten,
    LogNotWrittenMessage,

    // The balloon over the tray icon when the guard acted without asking (the tip says it where
    // the shell has no balloons), and the count a burst of them adds.
    BalloonHungUp,
    BalloonEntryDeleted,
    BalloonBurst,

    // The number editor. Its information line says whether a number is added or corrected.
    NumberFormCaption,
    NumberGroupCaption,
    NumberLabel,
    NumberComments,
    NumberAccept,
    NumberCancel,
    NumberInfoEdit,
    NumberInfoAdd,

    // The detection dialog: its buttons, and its texts in each of its modes (NumberQuestion.cpp
    // gives them in TQuestionMode order).
    QuestionAccept,
    QuestionCancel,
    // A dialer program.
    DialerCaption,
    DialerInfo,
    DialerDesc,
    DialerLab1,
    DialerLab2,
    DialerQuest,
    // An active connection to a forbidden number.
    ActiveConnectionCaption,
    ActiveConnectionInfo,
    ActiveConnectionDesc,
    ActiveConnectionLab1,
    ActiveConnectionLab2,
    ActiveConnectionQuest,
    // A phonebook entry with a forbidden number.
    PhonebookEntryCaption,
    PhonebookEntryInfo,
    PhonebookEntryDesc,
    PhonebookEntryLab1,
    PhonebookEntryLab2,
    PhonebookEntryQuest,

    // Not a text: how many there are, which the table's rows must match.
    Count
};

// The text of id in the language; "" for a language the guard has no texts in.
std::string GuardText(TGuardText id, TLanguage language);

// Diagnostics, in English, to the trace: read by the developer, never shown to the user, so they
// are plain constants and no rows of the table.
inline constexpr const char kTraceThreadFailed[] = "Creating FRasConnThread Failed";
inline constexpr const char kTraceNotification[] = "*** Detected ConnectionNotification #%d ***";
inline constexpr const char kTraceActiveConnection[] =
        "DialUpActiveConnection - Status = \"%s\", Entry = \"%s\", DeviceType = \"%s\", DeviceName "
        "= \"%s\"";
