#pragma once
// The guard's Polish texts, in one place so that the views and the logic say the same thing.
// Source files are UTF-8; the Win32 views convert to UTF-16 at the edge.

// Window, captions and the maker.
inline constexpr const char kWindowCaption[] = "Morvane Linewarden 1.1";
// The maker's address, under the reserved ".example" domain: the guard must not send its users
// anywhere that is not ours. Kept short, so that the title line (caption, " - ", address) fits
// its 313-pixel label in bold Tahoma instead of ending in an ellipsis.
inline constexpr const char kHomePage[] = "http://morvane.example/";
inline constexpr const char kDescription[] =
        "Program dla użytkowników Internetu łączących się z siecią przez modem, który chroni ich "
        "przed nieświadomym korzystaniem z połączeń o podwyższonej opłacie.";
inline constexpr const char kAutoStartValueName[] = "MLinewarden";

// Status bar.
inline constexpr const char kStatusDialing[] = "Łączenie...";
inline constexpr const char kStatusConnected[] = "Połączony";
inline constexpr const char kStatusNotConnected[] = "Nie Połączony";
inline constexpr const char kStatusError[] = "Błąd";
inline constexpr const char kStatusConnectedTo[] = "Połączony z numerem \"%s\"";
inline constexpr const char kStatusConnectedOverriding[] =
        "Połączony z numerem \"%s\" (overriding)";
inline constexpr const char kStatusConnectedDefault[] = "Połączony z domyślnym numerem \"%s\"";
inline constexpr const char kProgressConnections[] = "Szukanie połączeń";
inline constexpr const char kProgressDialers[] = "Szukanie dialerów";

// Report lines.
inline constexpr const char kReportStart[] = "Start programu ";
inline constexpr const char kReportHungUp[] =
        "Niedozwolone połączenie z numerem \"%s\" zostało pomyślnie rozłączone.";
inline constexpr const char kReportHangUpFailed[] =
        "Niedozwolone połączenie z numerem \"%s\" nie zostało rozłączone!";
inline constexpr const char kReportConnectionKept[] =
        "Połączenie \"%s\" o numerze \"%s\" nie zostało rozłączone.";
inline constexpr const char kReportEntryKept[] =
        "Połączenie \"%s\" o numerze \"%s\" nie zostało usunięte.";
inline constexpr const char kReportEntryDeleted[] = "Usunięto połączenie \"%s\" o numerze \"%s\" ";
inline constexpr const char kReportEntryDeleteFailed[] =
        "Nieudane usunięcie połączenia \"%s\" o numerze \"%s\" ";
inline constexpr const char kReportStartupDialerKept[] =
        "Uwaga! Nie został usunięty z systemu niebezpieczy program \"%s (%s)\", który może być "
        "dialerem.";
inline constexpr const char kReportProcessDialerKept[] =
        "Uwaga! Nie został usunięty z systemu niebezpieczy process \"%s\", który może być "
        "dialerem.";
inline constexpr const char kReportKilling[] = "Zabijanie procesu \"%s\"...";
inline constexpr const char kReportKilled[] = "Zabijanie procesu \"%s\" zakończone pomyślnie.";
inline constexpr const char kReportDeletingFile[] = "Usuwanie pliku \"%s\"...";
inline constexpr const char kReportFileDeleted[] = "Usuwanie pliku \"%s\" zakończone pomyślnie.";
inline constexpr const char kReportDeletingRunValue[] =
        "Usuwanie wpisu w rejestrze Startup \"%s\"...";
inline constexpr const char kReportRunValueDeleted[] =
        "Usuwanie wpisu \"%s\" w rejestrze Startup zakończone pomyślnie.";
inline constexpr const char kReportDeletingShortcuts[] = "Usuwanie skrótów pliku \"%s\"...";
inline constexpr const char kReportShortcutsDeleted[] =
        "Usuwanie skrótów pliku \"%s\" zakończone pomyślnie.";
inline constexpr const char kReportRemovalError[] = "Błąd usuwania dialera: %s";
inline constexpr const char kReportRemovalFailed[] =
        "Usuwanie ukończone niepomyślnie! Dialer \"%s\" nie został usunięty.";
inline constexpr const char kReportCopied[] = "Skopiowany plik \"%s\": %s -> %s";
inline constexpr const char kReportCopyFailed[] = "Nieudane kopiowanie pliku \"%s\": %s -> %s";
inline constexpr const char kReportDeleted[] = "Usunięto plik \"%s\": %s";
inline constexpr const char kReportDeleteFailed[] = "Nieudane usunięcie pliku \"%s\": %s";

// Diagnostics (English, to the trace).
inline constexpr const char kTraceThreadFailed[] = "Creating FRasConnThread Failed";
inline constexpr const char kTraceNotification[] = "*** Detected ConnectionNotification #%d ***";
inline constexpr const char kTraceActiveConnection[] =
        "DialUpActiveConnection - Status = \"%s\", Entry = \"%s\", DeviceType = \"%s\", DeviceName "
        "= \"%s\"";
