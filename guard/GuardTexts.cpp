#include "guard/GuardTexts.h"

namespace {

// In the order of TGuardText, grouped as it is. Polish only: the guard speaks no other language.
const TTextRow Rows[] = {
        // The main window's description of the program.
        {"Program dla użytkowników Internetu łączących się z siecią przez modem, który chroni ich "
         "przed nieświadomym korzystaniem z połączeń o podwyższonej opłacie.",
         nullptr},

        // Main window: the options, each check box with its hint.
        {" Konfiguracja ", nullptr},
        {"Uruchamianie programu przy starcie systemu", nullptr},
        {"Automatycznie uruchamiaj program przy starcie systemu", nullptr},
        {"Ochrona połączenia telefonicznego", nullptr},
        {"Ochraniaj połączenie telefoniczne przed nieświadomym korzystaniem z połączeń o "
         "podwyższonej opłacie",
         nullptr},
        {"Usuwanie niedozwolonych połączeń telefonicznych", nullptr},
        {"Automatycznie wykrywaj i usuwaj niedozwolone połączenia telefoniczne", nullptr},
        {"Usuwanie dialerów", nullptr},
        {"Automatycznie wykrywaj i usuwaj dialery (programy tworzące połączenia o podwyższonej "
         "opłacie)",
         nullptr},
        {"Potwierdzanie usuwanego połączenia telefon. lub dialera", nullptr},
        {"Pytaj przed usunięciem wykrytego niedozwolonego połączenia telefonicznego lub dialera",
         nullptr},
        {"Sprawdzanie połączenia już podczas wybierania numeru", nullptr},
        {"Przerywaj niedozwolone połączenie, zanim numer odbierze", nullptr},

        // Main window: the allowed numbers.
        {" Dozwolone numery ", nullptr},
        {"Dodaj", nullptr},
        {"Zmień", nullptr},
        {"Usuń", nullptr},

        // Main window: the report's columns.
        {"Czas", nullptr},
        {"Informacja", nullptr},

        // The popup menu of the window and the tray icon.
        {"&Konfiguracja", nullptr},
        {"Raport", nullptr},
        {"P&omoc", nullptr},
        {"Sprawdź czy aktywne połączenie jest dozwolone", nullptr},
        {"Szukaj niedozwolone połączenia", nullptr},
        {"Szukaj aktywne Dialery", nullptr},
        {"TestDialerow", nullptr},
        {"&Zamknij", nullptr},
        {"&Dziennik zdarzeń...", nullptr},

        // Status bar.
        {"Łączenie...", nullptr},
        {"Połączony", nullptr},
        {"Nie Połączony", nullptr},
        {"Błąd", nullptr},
        {"Połączony z numerem \"%s\"", nullptr},
        {"Połączony z numerem \"%s\" (overriding)", nullptr},
        {"Połączony z domyślnym numerem \"%s\"", nullptr},
        {"Szukanie połączeń", nullptr},
        {"Szukanie dialerów", nullptr},

        // Report lines.
        {"Start programu ", nullptr},
        {"Niedozwolone połączenie z numerem \"%s\" zostało pomyślnie rozłączone.", nullptr},
        {"Niedozwolone połączenie z numerem \"%s\" zostało przerwane podczas wybierania.", nullptr},
        {"Niedozwolone połączenie z numerem \"%s\" nie zostało rozłączone!", nullptr},
        {"Połączenie \"%s\" o numerze \"%s\" nie zostało rozłączone.", nullptr},
        {"Połączenie \"%s\" o numerze \"%s\" nie zostało usunięte.", nullptr},
        {"Usunięto połączenie \"%s\" o numerze \"%s\" ", nullptr},
        {"Nieudane usunięcie połączenia \"%s\" o numerze \"%s\" ", nullptr},
        {"Uwaga! Nie został usunięty z systemu niebezpieczy program \"%s (%s)\", który może być "
         "dialerem.",
         nullptr},
        {"Uwaga! Nie został usunięty z systemu niebezpieczy process \"%s\", który może być "
         "dialerem.",
         nullptr},
        {"Zabijanie procesu \"%s\"...", nullptr},
        {"Zabijanie procesu \"%s\" zakończone pomyślnie.", nullptr},
        {"Usuwanie pliku \"%s\"...", nullptr},
        {"Usuwanie pliku \"%s\" zakończone pomyślnie.", nullptr},
        {"Usuwanie wpisu w rejestrze Startup \"%s\"...", nullptr},
        {"Usuwanie wpisu \"%s\" w rejestrze Startup zakończone pomyślnie.", nullptr},
        {"Usuwanie skrótów pliku \"%s\"...", nullptr},
        {"Usuwanie skrótów pliku \"%s\" zakończone pomyślnie.", nullptr},
        {"Błąd usuwania dialera: %s", nullptr},
        {"Usuwanie ukończone niepomyślnie! Dialer \"%s\" nie został usunięty.", nullptr},
        {"Skopiowany plik \"%s\": %s -> %s", nullptr},
        {"Nieudane kopiowanie pliku \"%s\": %s -> %s", nullptr},
        {"Usunięto plik \"%s\": %s", nullptr},
        {"Nieudane usunięcie pliku \"%s\": %s", nullptr},

        // What a user without the right to write somewhere is told: the program's folder or the
        // registry refuses, and what then does not happen.
        {"Nie udało się zapisać ustawień do pliku \"%s\". Zmienione opcje i dozwolone numery nie "
         "zostaną zachowane.",
         nullptr},

        // The message box shown the first time in a run that the settings cannot be saved.
        {"Nie udało się zapisać ustawień do pliku \"%s\".\r\n\r\n"
         "Zmienione opcje i dozwolone numery nie zostaną zachowane po ponownym uruchomieniu "
         "programu. Sprawdź, czy masz prawo zapisu w folderze programu i czy na dysku jest wolne "
         "miejsce.",
         nullptr},
        {"Nie udało się zapisać w rejestrze automatycznego uruchamiania programu przy starcie "
         "systemu (brak uprawnień).",
         nullptr},
        {"Nie można utworzyć folderu kwarantanny \"%s\" ani zapisać w nim kopii. Pliki wykrytych "
         "dialerów pozostaną na dysku.",
         nullptr},

        // The lasting log: what it adds to a report line, the guard's end, and what the user is
        // told when it cannot be written.
        {"połączenie \"%s\"", nullptr},
        {"bez pytania, zgodnie z ustawieniami", nullptr},
        {"użytkownik zapytany, odpowiedział: Tak", nullptr},
        {"użytkownik zapytany, odpowiedział: Nie", nullptr},
        {"Koniec pracy programu ", nullptr},
        {"Nie udało się zapisać dziennika zdarzeń do pliku \"%s\". Kolejne zdarzenia będą "
         "widoczne tylko w raporcie.",
         nullptr},
        {"Nie udało się zapisać dziennika zdarzeń do pliku \"%s\".\r\n\r\n"
         "Program nadal chroni komputer, ale jego działania nie zostaną zapamiętane po jego "
         "zamknięciu. Sprawdź, czy na dysku jest wolne miejsce.",
         nullptr},

        // The balloon over the tray icon when the guard acted without asking, and the count a
        // burst of them adds.
        {"Rozłączono niedozwolone połączenie \"%s\" z numerem \"%s\".", nullptr},
        {"Usunięto niedozwolone połączenie \"%s\" z numerem \"%s\".", nullptr},
        {"(zdarzeń w ciągu kilku sekund: %d)", nullptr},

        // The number editor. Its information line says whether a number is added or corrected.
        {"Numer telefonu", nullptr},
        {" Numer telefonu ", nullptr},
        {"Numer telefonu:", nullptr},
        {"Wpisz tylko numery (bez spacji, myślników, liter itd.)", nullptr},
        {"A&kceptuj", nullptr},
        {"A&nuluj", nullptr},
        {"Popraw numer z którym łączyć się będzie komputer.", nullptr},
        {"Dodaj nowy numer z którym łączyć się będzie komputer.", nullptr},

        // The detection dialog: its buttons, and its texts in each of its modes.
        {"&Tak", nullptr},
        {"&Nie", nullptr},

        // A dialer program.
        {"Wykryty Dialer", nullptr},
        {"Niebezpieczny program (dialer)", nullptr},
        {"Wykryty został niebezpieczny  program, który jest dialerem.", nullptr},
        {"Program", nullptr},
        {"Ścieżka", nullptr},
        {"Program może podjąć następujące kroki w celu całkowitego usunięcia go z systemu:\r\n"
         " - znalezienie i zabicie procesu wykrytego dialera;\r\n"
         " - usunięcie pliku dialera;\r\n"
         " - znalezienie i usunięcie skrótów dialera;\r\n"
         " - usunięcie wpisu w rejestrze powodującego automatyczne uruchomienie dialera przy "
         "starcie "
         "systemu.\r\n"
         "\r\n"
         "Czy chcesz aby program automatycznie podjął niezbędne kroki celem usunięcia wykrytego "
         "dialera?",
         nullptr},

        // An active connection to a forbidden number.
        {"Niedozwolone aktywne połączenie", nullptr},
        {"Niedozwolone aktywne połączenie telefoniczne", nullptr},
        {"Wykryto próbę nawiązania połączenia telefonicznego z niedozwolonym numerem.", nullptr},
        {"Połączenie", nullptr},
        {"Numer telefonu", nullptr},
        {"Czy chcesz je przerwać aby nie korzystać z połączenia o podwyższonej opłacie?", nullptr},

        // A phonebook entry with a forbidden number.
        {"Niedozwolone połączenie", nullptr},
        {"Niedozwolone połączenie telefoniczne", nullptr},
        {"Wykryte zostało nieaktywne połączenie telefoniczne z niedozwolonym numerem.", nullptr},
        {"Połączenie", nullptr},
        {"Numer telefonu", nullptr},
        {"Czy chcesz je usunąć aby w przyszłości nie korzystać z połączenia o podwyższonej "
         "opłacie?",
         nullptr},
};

static_assert(sizeof Rows / sizeof Rows[0] == static_cast<size_t>(TGuardText::Count),
              "one row per guard text");

}  // namespace

std::string GuardText(TGuardText id, TLanguage language)
{
    return TextOf(Rows, id, language);
}
