#include "installer/SetupTexts.h"

namespace {

// In the order of TSetupText.
const TTextRow Rows[] = {
        {"Instalacja programu Morvane Linewarden", "Morvane Linewarden Setup"},
        {"Folder instalacji:", "Install into this folder:"},
        {"Przeglądaj...", "Browse..."},
        {"Wybierz folder instalacji", "Choose the folder to install into"},
        {"Uruchamiaj program przy starcie systemu", "Start the guard with Windows"},
        {"Uruchom program po zakończeniu instalacji", "Start the guard when setup ends"},
        {"Instaluj", "Install"},
        {"Anuluj", "Cancel"},
        {"Zamknij", "Close"},
        {"Instalowanie...", "Installing..."},
        {"Instalacja zakończona.", "Setup is done."},
        {"Instalacja nie powiodła się: %s", "Setup failed: %s"},
        {"Nie można instalować w folderze \"%s\".", "Cannot install into the folder \"%s\"."},
        {"Folder \"%s\" zawiera pliki innego programu. Wybierz pusty folder albo folder, w którym "
         "zainstalowano program Morvane Linewarden.",
         "The folder \"%s\" holds another program's files. Choose an empty folder or the folder "
         "Morvane Linewarden is installed in."},
        {"Program Morvane Linewarden jest już zainstalowany w folderze \"%s\". Odinstaluj go "
         "najpierw albo zainstaluj program w tym folderze.",
         "Morvane Linewarden is already installed in the folder \"%s\". Uninstall it first, or "
         "install into that folder."},
        {"Nazwa folderu \"%s\" ma litery, których ten system Windows nie zapisze dla "
         "deinstalatora, a dysk nie nadaje jej krótkiej nazwy. Wybierz folder bez takich liter.",
         "The name of the folder \"%s\" has letters that this Windows cannot record for the "
         "uninstaller, and the disk gives it no short name. Choose a folder without such letters."},
        {"Program %s nadal działa i nie dał się zamknąć.",
         "The program %s is still running and did not close."},
        {"Zamknij go i wybierz Ponów albo wybierz Anuluj, aby pozostawić instalację bez zmian.",
         "Close it and choose Retry, or choose Cancel to leave the installation as it is."},
        {"Nie można utworzyć \"%s\".", "Cannot create \"%s\"."},
        {"Nie można zapisać pliku \"%s\".", "Cannot write the file \"%s\"."},
        {"Nie można zapisać klucza rejestru \"%s\".", "Cannot write the registry key \"%s\"."},
        {"Nie można utworzyć skrótu \"%s\".", "Cannot create the shortcut \"%s\"."},
        {"Nie można zapisać uruchamiania przy starcie systemu.",
         "Cannot register the guard to start with Windows."},
        {"Plik instalacyjny jest uszkodzony lub niekompletny.",
         "The setup file is damaged or incomplete."},
        {"Inna instalacja programu Morvane Linewarden już trwa.",
         "Another Morvane Linewarden Setup is already running."},
        {"Instalacja zakończona, ale nie można uruchomić programu \"%s\".",
         "Setup is done, but the guard \"%s\" could not be started."},
};

}  // namespace

std::string SetupText(TSetupText id, TLanguage language)
{
    return TextOf(Rows, id, language);
}

std::string SetupText(TSetupText id, TLanguage language, const std::string& detail)
{
    return WithDetail(SetupText(id, language), detail);
}
