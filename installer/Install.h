#pragma once
// One installation: the guard's files into a folder, the uninstaller with its package, the
// Start-menu shortcut, the Programs-and-Features key and the auto-start option. Whatever step
// fails, what this run made is taken back.
#include <functional>
#include <string>
#include <vector>

#include "common/Product.h"
#include "common/TextTable.h"
#include "installer/InstallLog.h"
#include "installer/Payload.h"
#include "installer/SetupPorts.h"
#include "installer/SetupRules.h"


struct TInstallChoice {
    std::string Folder;
    bool AutoStart = true;
    // Asked, with the program's full path, whether to try again when a program of the
    // installation stays running; none in a silent run, which then gives up at once.
    TRetryQuestion Retry;
};

// Told the share of the work done, 0 to 100.
using TInstallProgress = std::function<void(int percent)>;

class TSetupInstaller {
public:
    // files: what the setup carries, the uninstaller without its package among them. scope
    // says whose installation it is: where it goes by default and which Uninstall key
    // (the user's or the machine's) records it. A failure's reason is in the language; English
    // unless told, as on every system that is not Polish.
    TSetupInstaller(const TSetupPorts& ports, std::vector<TPayloadFile> files,
                    TInstallScope scope = TInstallScope::PerUser,
                    TLanguage language = TLanguage::English);

    // The folder of an existing installation (its Programs-and-Features key); "" for none.
    std::string ExistingLocation();
    // Where to install when nobody says: over an existing installation, else the user's own
    // programs folder.
    std::string ProposedFolder();
    // Whether the guard should start with Windows after installing into the folder: the choice
    // its user made there before (the AutoStart option of its settings file, as the guard reads
    // it), on for a folder without settings.
    bool ProposedAutoStart(const std::string& folder);
    // The log of an installation into the folder as it is now, as the uninstaller's package
    // carries it.
    TInstallLog LogFor(const std::string& folder);

    // False with the reason, in the user's language, when the installation failed; the machine
    // is then as it was, the guard this setup closed running again.
    bool Install(const TInstallChoice& choice, const TInstallProgress& progress,
                 std::string& failure);
    // After an installation: starts the installed guard when wanted, or when it ran before an
    // installation of this setup closed it (a failed try included), so that an upgrade leaves
    // the machine guarded as it was. False when it was not started.
    bool StartGuard(bool wanted);
    // Whether StartGuard(wanted) starts the guard, or tries to.
    bool GuardWanted(bool wanted) const
    {
        return !FInstalledGuard.empty() && (wanted || !FClosedGuard.empty());
    }
    // The guard the last installation put in place; "" before one succeeded.
    const std::string& InstalledGuard() const { return FInstalledGuard; }

private:
    std::string ShortcutPath();
    std::string LoggedPath(const std::string& path);
    TRegRoot UninstallRoot() const;
    std::string UninstallKeyName() const;
    std::string InstalledElsewhere(const std::string& folder);
    bool MayWriteInto(const std::string& folder);
    bool EarlierLog(const std::string& folder, TInstallLog& log);
    bool WriteAutoStart(bool on, const std::string& guard);
    void DeleteRunValueIn(TRegRoot root, const std::string& program);
    bool Runs(const std::string& program);
    void StartClosedGuard();

    TSetupPorts FPorts;
    std::vector<TPayloadFile> FFiles;
    TInstallScope FScope;
    TLanguage FLanguage;
    std::string FInstalledGuard;
    // The guard a try closed, kept across tries: a try that fails starts it again, and one that
    // then succeeds starts the new one in its place. "" when none was closed.
    std::string FClosedGuard;
};
