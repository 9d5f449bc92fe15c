#pragma once
// The guard's Polish texts, in one place so that the views and the logic say the same thing,
// grouped by where they appear. Source files are UTF-8; the Win32 views convert to UTF-16 at the
// edge. The tests compare these texts word for word: double spaces and "\r\n" are meant.
#include "common/Product.h"

// Window, captions and the maker.
inline constexpr const char kWindowCaption[] = "Morvane Linewarden " LW_VERSION_TEXT;
// The maker's address, under the reserved ".example" domain: the guard must not send its users
// anywhere that is not ours. Kept short, so that the title line (caption, " - ", address) fits
// its 313-pixel label in bold Tahoma instead of ending in an ellipsis.
inline constexpr const char kHomePage[] = "http://morvane.example/";
inline constexpr const char kDescription[] =
        "Program dla użytkowników Internetu łączących się z siecią przez modem, który chroni ich "
        "przed nieświadomym korzystaniem z połączeń o podwyższonej opłacie.";

// Main window: the options, each check box with its hint.
inline constexpr const char kConfigurationCaption[] = " Konfiguracja ";
inline constexpr const char kAutoStartOption[] = "Uruchamianie programu przy starcie systemu";
inline constexpr const char kAutoStartHint[] =
        "Automatycznie uruchamiaj program przy starcie systemu";
inline constexpr const char kCheckAllowedNumbersOption[] = "Ochrona połączenia telefonicznego";
inline constexpr const char kCheckAllowedNumbersHint[] =
        "Ochraniaj połączenie telefoniczne przed nieświadomym korzystaniem z połączeń o "
        "podwyższonej opłacie";
inline constexpr const char kAutoDeleteDialUpOption[] =
        "Usuwanie niedozwolonych połączeń telefonicznych";
inline constexpr const char kAutoDeleteDialUpHint[] =
        "Automatycznie wykrywaj i usuwaj niedozwolone połączenia telefoniczne";
inline constexpr const char kAutoDeleteDialersOption[] = "Usuwanie dialerów";
inline constexpr const char kAutoDeleteDialersHint[] =
        "Automatycznie wykrywaj i usuwaj dialery (programy tworzące połączenia o podwyższonej "
        "opłacie)";
inline constexpr const char kAskBeforeDeleteDialUpOption[] =
        "Potwierdzanie usuwanego połączenia telefon. lub dialera";
inline constexpr const char kAskBeforeDeleteDialUpHint[] =
        "Pytaj przed usunięciem wykrytego niedozwolonego połączenia telefonicznego lub dialera";
inline constexpr const char kCheckWhileDiallingOption[] =
        "Sprawdzanie połączenia już podczas wybierania numeru";
inline constexpr const char kCheckWhileDiallingHint[] =
        "Przerywaj niedozwolone połączenie, zanim numer odbierze";

// Main window: the allowed numbers.
inline constexpr const char kAllowedNumbersCaption[] = " Dozwolone numery ";
inline constexpr const char kAddNumberButton[] = "Dodaj";
inline constexpr const char kEditNumberButton[] = "Zmień";
inline constexpr const char kDeleteNumberButton[] = "Usuń";

// Main window: the report's columns.
inline constexpr const char kReportTimeColumn[] = "Czas";
inline constexpr const char kReportTextColumn[] = "Informacja";

// The popup menu of the window and the tray icon, in TMenuItem order.
inline constexpr const char* const kMenuCaptions[] = {
        "&Konfiguracja",
        "Raport",
        "P&omoc",
        "Sprawdź czy aktywne połączenie jest dozwolone",
        "Szukaj niedozwolone połączenia",
        "Szukaj aktywne Dialery",
        "TestDialerow",
        "&Zamknij",
        "&Dziennik zdarzeń...",
};

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
inline constexpr const char kReportHungUpWhileDialling[] =
        "Niedozwolone połączenie z numerem \"%s\" zostało przerwane podczas wybierania.";
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

// What a user without the right to write somewhere is told: the program's folder or the registry
// refuses, and what then does not happen.
inline constexpr const char kReportSettingsNotSaved[] =
        "Nie udało się zapisać ustawień do pliku \"%s\". Zmienione opcje i dozwolone numery nie "
        "zostaną zachowane.";
// The message box shown the first time in a run that the settings cannot be saved.
inline constexpr const char kSettingsNotSavedMessage[] =
        "Nie udało się zapisać ustawień do pliku \"%s\".\r\n\r\n"
        "Zmienione opcje i dozwolone numery nie zostaną zachowane po ponownym uruchomieniu "
        "programu. Sprawdź, czy masz prawo zapisu w folderze programu i czy na dysku jest wolne "
        "miejsce.";
inline constexpr const char kReportAutoStartNotWritten[] =
        "Nie udało się zapisać w rejestrze automatycznego uruchamiania programu przy starcie "
        "systemu (brak uprawnień).";
inline constexpr const char kReportQuarantineUnavailable[] =
        "Nie można utworzyć folderu kwarantanny \"%s\" ani zapisać w nim kopii. Pliki wykrytych "
        "dialerów pozostaną na dysku.";

// The lasting log: what it adds to a report line, the guard's end, and what the user is told
// when it cannot be written.
inline constexpr const char kLogConnection[] = "połączenie \"%s\"";
inline constexpr const char kLogNotAsked[] = "bez pytania, zgodnie z ustawieniami";
inline constexpr const char kLogAskedYes[] = "użytkownik zapytany, odpowiedział: Tak";
inline constexpr const char kLogAskedNo[] = "użytkownik zapytany, odpowiedział: Nie";
inline constexpr const char kLogEnd[] = "Koniec pracy programu ";
inline constexpr const char kReportLogNotWritten[] =
        "Nie udało się zapisać dziennika zdarzeń do pliku \"%s\". Kolejne zdarzenia będą "
        "widoczne tylko w raporcie.";
inline constexpr const char kLogNotWrittenMessage[] =
        "Nie udało się zapisać dziennika zdarzeń do pliku \"%s\".\r\n\r\n"
        "Program nadal chroni komputer, ale jego działania nie zostaną zapamiętane po jego "
        "zamknięciu. Sprawdź, czy na dysku jest wolne miejsce.";

// The balloon over the tray icon when the guard acted without asking (the tip says it where
// the shell has no balloons), and the count a burst of them adds.
inline constexpr const char kBalloonHungUp[] =
        "Rozłączono niedozwolone połączenie \"%s\" z numerem \"%s\".";
inline constexpr const char kBalloonEntryDeleted[] =
        "Usunięto niedozwolone połączenie \"%s\" z numerem \"%s\".";
inline constexpr const char kBalloonBurst[] = "(zdarzeń w ciągu kilku sekund: %d)";

// The number editor. Its information line says whether a number is added or corrected.
inline constexpr const char kNumberFormCaption[] = "Numer telefonu";
inline constexpr const char kNumberGroupCaption[] = " Numer telefonu ";
inline constexpr const char kNumberLabel[] = "Numer telefonu:";
inline constexpr const char kNumberComments[] =
        "Wpisz tylko numery (bez spacji, myślników, liter itd.)";
inline constexpr const char kNumberAccept[] = "A&kceptuj";
inline constexpr const char kNumberCancel[] = "A&nuluj";
inline constexpr const char kNumberInfoEdit[] = "Popraw numer z którym łączyć się będzie komputer.";
inline constexpr const char kNumberInfoAdd[] =
        "Dodaj nowy numer z którym łączyć się będzie komputer.";

// The detection dialog: its buttons, and its texts in each of its modes.
inline constexpr const char kQuestionAccept[] = "&Tak";
inline constexpr const char kQuestionCancel[] = "&Nie";

struct TQuestionTexts {
    const char* Caption;
    const char* Info;
    const char* Desc;
    const char* Lab1;
    const char* Lab2;
    const char* Quest;
};

// In TQuestionMode order: a dialer program, an active connection to a forbidden number, a
// phonebook entry with a forbidden number.
inline constexpr TQuestionTexts kQuestionModeTexts[] = {
        {"Wykryty Dialer", "Niebezpieczny program (dialer)",
         "Wykryty został niebezpieczny  program, który jest dialerem.", "Program", "Ścieżka",
         "Program może podjąć następujące kroki w celu całkowitego usunięcia go z systemu:\r\n"
         " - znalezienie i zabicie procesu wykrytego dialera;\r\n"
         " - usunięcie pliku dialera;\r\n"
         " - znalezienie i usunięcie skrótów dialera;\r\n"
         " - usunięcie wpisu w rejestrze powodującego automatyczne uruchomienie dialera przy "
         "starcie "
         "systemu.\r\n"
         "\r\n"
         "Czy chcesz aby program automatycznie podjął niezbędne kroki celem usunięcia wykrytego "
         "dialera?"},
        {"Niedozwolone aktywne połączenie", "Niedozwolone aktywne połączenie telefoniczne",
         "Wykryto próbę nawiązania połączenia telefonicznego z niedozwolonym numerem.",
         "Połączenie", "Numer telefonu",
         "Czy chcesz je przerwać aby nie korzystać z połączenia o podwyższonej opłacie?"},
        {"Niedozwolone połączenie", "Niedozwolone połączenie telefoniczne",
         "Wykryte zostało nieaktywne połączenie telefoniczne z niedozwolonym numerem.",
         "Połączenie", "Numer telefonu",
         "Czy chcesz je usunąć aby w przyszłości nie korzystać z połączenia o podwyższonej "
         "opłacie?"},
};

// Diagnostics (English, to the trace).
inline constexpr const char kTraceThreadFailed[] = "Creating FRasConnThread Failed";
inline constexpr const char kTraceNotification[] = "*** Detected ConnectionNotification #%d ***";
inline constexpr const char kTraceActiveConnection[] =
        "DialUpActiveConnection - Status = \"%s\", Entry = \"%s\", DeviceType = \"%s\", DeviceName "
        "= \"%s\"";
