#include "installer/Install.h"

#include "common/Paths.h"
#include "common/Product.h"
#include "common/StrUtils.h"
#include "dialers/RunValue.h"
#include "installer/Rollback.h"
#include "installer/SetupRules.h"
#include "installer/SetupTexts.h"
#include "platform/AnsiText.h"
#include "settings/Settings.h"
#include "uninstall/PackageFormat.h"

namespace {

// Files the guard makes beside itself that belong to the installation (its settings, and its
// lasting log in two generations); the uninstaller passes over those that are not there.
const char* const kGuardMadeFiles[] = {"MLinewarden.cfg", "MLinewarden.111", "MLinewarden.log",
                                       "MLinewarden.old.log"};

std::string Below(const std::string& folder, const std::string& name)
{
    return IncludeTrailingBackslash(folder) + name;
}

// The settings only read: the settings write the whole file when they are destroyed, and looking
// at a user's choice must not change the file before the installation starts.
class TReadOnlyProfile : public IProfile {
public:
    explicit TReadOnlyProfile(IProfile& profile) : FProfile(profile) {}
    std::string ReadString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& def, size_t maxChars) override
    {
        return FProfile.ReadString(file, section, key, def, maxChars);
    }
    bool WriteString(const std::string&, const std::string&, const std::string&,
                     const std::string&) override
    {
        return false;
    }
    bool DeleteKey(const std::string&, const std::string&, const std::string&) override
    {
        return false;
    }

private:
    IProfile& FProfile;
};

}  // namespace

TSetupInstaller::TSetupInstaller(const TSetupPorts& ports, std::vector<TPayloadFile> files,
                                 TInstallScope scope, TLanguage language)
    : FPorts(ports), FFiles(std::move(files)), FScope(scope), FLanguage(language)
{
}

TRegRoot TSetupInstaller::UninstallRoot() const
{
    return FScope == TInstallScope::PerMachine ? TRegRoot::LocalMachine : TRegRoot::CurrentUser;
}

// The key as the uninstaller's log names it.
std::string TSetupInstaller::UninstallKeyName() const
{
    return std::string(FScope == TInstallScope::PerMachine ? "HKLM\\" : "HKCU\\") +
           kUninstallKeyPath;
}

std::string TSetupInstaller::ExistingLocation()
{
    auto key = FPorts.Registry.OpenKey(UninstallRoot(), kUninstallKeyPath, TRegAccess::Read);
    TRegValue value;
    if (!key || !key->ReadValue("InstallLocation", value)) return "";
    return UsableFolder(value.Text());
}

std::string TSetupInstaller::ProposedFolder()
{
    const std::string existing = ExistingLocation();
    if (!existing.empty()) return existing;
    return DefaultFolder(FScope, FScope == TInstallScope::PerMachine
                                         ? FPorts.SetupShell.ProgramFilesFolder()
                                         : FPorts.SetupShell.LocalAppDataFolder());
}

bool TSetupInstaller::ProposedAutoStart(const std::string& folder)
{
    const std::string usable = UsableFolder(folder);
    if (usable.empty()) return true;
    const std::string guard = Below(usable, kGuardFile);
    if (!FPorts.Files.FileExists(ChangeFileExt(guard, ".cfg"))) return true;
    TReadOnlyProfile profile(FPorts.Profile);
    return TSettings(profile, guard).AutoStart();
}

std::string TSetupInstaller::ShortcutPath()
{
    const std::string programs = FPorts.SetupShell.ProgramsMenuFolder();
    return programs.empty() ? "" : Below(programs, std::string(kProductName) + ".lnk");
}

// The uninstaller reads the log in the ANSI code page, and a name that the code page lacks
// would come back as another name (its best fit, "ł" as "l"): the uninstaller would remove
// nothing of this installation, or another's files. Such a name is logged as its 8.3 alias,
// which every code page holds; a folder still to be made has none, so its own name must do.
// A path that cannot be spelled so stays as it is, and Install refuses it.
std::string TSetupInstaller::LoggedPath(const std::string& path)
{
    const std::string spelled = SpelledWithAliases(FPorts.Files, path, FPorts.LogCodePage);
    return spelled.empty() ? path : spelled;
}

TInstallLog TSetupInstaller::LogFor(const std::string& folder)
{
    const std::string base = LoggedPath(folder);
    TInstallLog log;
    log.AppName = kProductName;
    for (const TPayloadFile& file : FFiles) log.Files.push_back(Below(base, file.Name));
    for (const char* name : kGuardMadeFiles) log.Files.push_back(Below(base, name));
    const std::string run = std::string("\\") + kRunKey;
    log.Registry = {{UninstallKeyName(), ""},
                    {"HKLM" + run, kAutoStartValueName},
                    {"HKCU" + run, kAutoStartValueName}};
    const std::string programs = FPorts.SetupShell.ProgramsMenuFolder();
    if (!programs.empty()) log.Shortcuts.push_back(Below(LoggedPath(programs), kProductName));
    // Only the folders that are the installation's own: the ones it is about to make (the guard
    // makes its quarantine folder later) and those an earlier installation of ours made. One
    // that was there before is left to whoever made it, when the uninstaller finds it empty.
    TInstallLog earlier;
    EarlierLog(folder, earlier);
    for (const std::string& dir : {base, Below(base, "dialers")}) {
        bool ours = !FPorts.Files.DirectoryExists(dir);
        for (const std::string& logged : earlier.Dirs)
            ours = ours || FPorts.Files.SameNameIgnoringCase(logged, dir);
        if (ours) log.Dirs.push_back(dir);
    }
    return log;
}

bool TSetupInstaller::Install(const TInstallChoice& choice, const TInstallProgress& progress,
                              std::string& failure)
{
    const auto report = [&](int percent) {
        if (progress) progress(percent);
    };
    const std::string folder = UsableFolder(choice.Folder);
    if (folder.empty()) {
        failure = SetupText(TSetupText::BadFolder, FLanguage, choice.Folder);
        return false;
    }
    const std::string elsewhere = InstalledElsewhere(folder);
    if (!elsewhere.empty()) {
        failure = SetupText(TSetupText::InstalledElsewhere, FLanguage, elsewhere);
        return false;
    }
    if (!MayWriteInto(folder)) {
        failure = SetupText(TSetupText::OthersFolder, FLanguage, folder);
        return false;
    }
    // The log must name what this run writes: the folder of the installation, and the Start
    // menu's Programs for the shortcut.
    for (const std::string& named : {folder, FPorts.SetupShell.ProgramsMenuFolder()}) {
        if (!FPorts.LogCodePage.Holds(LoggedPath(named))) {
            failure = SetupText(TSetupText::Unloggable, FLanguage, named);
            return false;
        }
    }
    // A running program cannot be replaced, and the guard would go on running the old code.
    // Nothing is changed until every program of the installation has closed.
    std::vector<std::string> programs;
    for (const TPayloadFile& file : FFiles) programs.push_back(Below(folder, file.Name));
    std::string staying;
    const TCloseResult closed =
            CloseProgramsUsing(FPorts.Close, programs, [&](const std::string& program) {
                staying = program;
                return choice.Retry && choice.Retry(program);
            },
            kGuardMainWindowClass);
    const std::string guard = Below(folder, kGuardFile);
    for (const std::string& program : closed.WereRunning)
        if (FPorts.Files.SameNameIgnoringCase(program, guard)) FClosedGuard = guard;
    if (!closed.Closed) {
        StartClosedGuard();
        failure = SetupText(TSetupText::StillRunning, FLanguage, staying);
        return false;
    }

    TRollback rollback(FPorts.Files, FPorts.Registry);
    const auto fail = [&](TSetupText id, const std::string& detail) {
        rollback.Undo();
        // The files are back as they were: the guard the user had runs again at once, not
        // only at the next logon, whether the user tries again or gives up.
        StartClosedGuard();
        failure = SetupText(id, FLanguage, detail);
        return false;
    };
    report(0);
    // Before anything is made: the log tells the folders made now from those found.
    const TInstallLog log = LogFor(folder);
    if (!rollback.ForceFolder(folder)) return fail(TSetupText::CannotCreate, folder);

    const std::string package = PackageBytes(Utf8ToAnsi(InstallLogXml(log)));
    uint64_t total = 0;
    for (size_t i = 0; i < FFiles.size(); ++i) {
        const TPayloadFile& file = FFiles[i];
        std::string bytes = file.Bytes;
        if (file.Name == kUninstallerFile) bytes += package;
        total += bytes.size();
        const std::string path = Below(folder, file.Name);
        if (!rollback.WriteFile(path, bytes)) return fail(TSetupText::CannotWrite, path);
        report(10 + static_cast<int>(60 * (i + 1) / FFiles.size()));
    }

    const std::string shortcut = ShortcutPath();
    if (shortcut.empty() || !rollback.ForceFolder(ExtractFilePath(shortcut)) ||
        !rollback.NoteFile(shortcut) || !FPorts.SetupShell.CreateShortcut(shortcut, guard))
        return fail(TSetupText::NoShortcut, shortcut);
    report(75);

    const TLocalTime now = FPorts.Clock.Now();
    const std::pair<const char*, TRegValue> values[] = {
            {"DisplayName", TRegValue::String(kProductName)},
            {"DisplayVersion", TRegValue::String(kProductVersion)},
            {"Publisher", TRegValue::String(kPublisher)},
            {"DisplayIcon", TRegValue::String(guard)},
            {"UninstallString", TRegValue::String("\"" + Below(folder, kUninstallerFile) + "\"")},
            {"InstallLocation", TRegValue::String(folder)},
            {"InstallDate", TRegValue::String(InstallDateText(now))},
            {"EstimatedSize", TRegValue::Dword(EstimatedSizeKiB(total))},
            {"URLInfoAbout", TRegValue::String(kAboutUrl)},
            {"NoModify", TRegValue::Dword(1)},
            {"NoRepair", TRegValue::Dword(1)},
    };
    for (const auto& value : values)
        if (!rollback.WriteValue(UninstallRoot(), kUninstallKeyPath, value.first, value.second))
            return fail(TSetupText::CannotRegister, UninstallKeyName());
    report(85);

    // The option and the Run value as the guard itself keeps them, so that the guard finds
    // them as if its user had set the option.
    const std::string settingsFile = ChangeFileExt(guard, ".cfg");
    if (!rollback.NoteFile(settingsFile)) return fail(TSetupText::CannotWrite, settingsFile);
    bool saved;
    {
        // The settings write the file again as they are destroyed: they are gone before a
        // failure puts the file back, or they would write it once more after that.
        TSettings settings(FPorts.Profile, guard);
        settings.SetAutoStart(choice.AutoStart);
        saved = settings.Save();
    }
    if (!saved) return fail(TSetupText::CannotWrite, settingsFile);
    for (TRegRoot root : {TRegRoot::LocalMachine, TRegRoot::CurrentUser})
        rollback.NoteValue(root, kRunKey, kAutoStartValueName);
    if (!WriteAutoStart(choice.AutoStart, guard)) return fail(TSetupText::NoAutoStart, "");
    rollback.Commit();
    FInstalledGuard = guard;
    report(100);
    return true;
}

// The Run values as the option says, in the key the guard itself writes for the scope. False
// when the guard would not start with Windows although it should.
bool TSetupInstaller::WriteAutoStart(bool on, const std::string& guard)
{
    if (FScope == TInstallScope::PerUser) {
        // An older version wrote the machine's key whenever it could: that value would start
        // this guard for every user, and for this one although the option is off. A machine's
        // value that starts another folder's guard is another installation's, and stays.
        DeleteRunValueIn(TRegRoot::LocalMachine, guard);
        if (!on) DeleteRunValueIn(TRegRoot::CurrentUser, "");
    } else if (!on) {
        DeleteRunValue(FPorts.Registry, kAutoStartValueName);
    }
    return !on || WriteScopedRunValue(FPorts.Registry, FScope, kAutoStartValueName, guard) !=
                          TRunValueWritten::Nowhere;
}

// Deletes our value from root's Run key, where the user may; with a program, only while the
// value starts that program. One the user may not change stays as it is.
void TSetupInstaller::DeleteRunValueIn(TRegRoot root, const std::string& program)
{
    auto key = FPorts.Registry.OpenKey(root, kRunKey, TRegAccess::Full);
    TRegValue value;
    if (!key || !key->ReadValue(kAutoStartValueName, value)) return;
    std::string started;
    if (!LeadingQuoted(value.Text(), started)) started = Trim(value.Text());
    if (program.empty() || FPorts.Files.SameNameIgnoringCase(started, program))
        key->DeleteValue(kAutoStartValueName);
}

// The folder of another installation of ours that the Programs-and-Features key records, ""
// for none. A user has one installation: a second one would take over the key, the Run value
// and the shortcut while the first one's guard ran on. The folder counts while our guard is
// there, whether or not its uninstaller still reads: it is the guard that runs and starts with
// Windows, and it can always be installed over. A key whose folder has gone, or holds no guard
// of ours any more, is stale and no reason to refuse.
std::string TSetupInstaller::InstalledElsewhere(const std::string& folder)
{
    const std::string existing = ExistingLocation();
    if (existing.empty() || FPorts.Files.SameNameIgnoringCase(existing, folder)) return "";
    return FPorts.Files.FileExists(Below(existing, kGuardFile)) ? existing : "";
}

// The files of a folder that holds anything are another program's, unless the folder is where
// our Programs-and-Features key says we are installed or its uninstaller carries the log of an
// installation of ours: writing there would replace them (an uninstall.exe of the same name),
// and our uninstaller would later remove the folder they live in.
bool TSetupInstaller::MayWriteInto(const std::string& folder)
{
    bool empty = true;
    for (const TFindEntry& entry : FPorts.Files.FindEntries(Below(folder, "*.*")))
        if (entry.Name != "." && entry.Name != "..") empty = false;
    if (empty || FPorts.Files.SameNameIgnoringCase(folder, ExistingLocation())) return true;
    TInstallLog earlier;
    return EarlierLog(folder, earlier);
}

// The log an installation of ours left in the folder's uninstaller; false when there is none.
bool TSetupInstaller::EarlierLog(const std::string& folder, TInstallLog& log)
{
    auto file = FPorts.Files.OpenRead(Below(folder, kUninstallerFile));
    std::string xml;
    return file && ReadPackageLog(*file, xml) && ReadInstallLogXml(AnsiToUtf8(xml), log) &&
           log.AppName == kProductName;
}

// Whether the program runs, known as the close request knew it: by its file name and window
// where the system names no path.
bool TSetupInstaller::Runs(const std::string& program)
{
    for (const TRunningProcess& process : FPorts.Close.Processes.ListProcesses())
        if (!ListedProgramOf(FPorts.Close, process, {program}, kGuardMainWindowClass).empty())
            return true;
    return false;
}

void TSetupInstaller::StartClosedGuard()
{
    // One that would not close runs on, and needs no second copy.
    if (!FClosedGuard.empty() && !Runs(FClosedGuard))
        FPorts.Processes.Start("\"" + FClosedGuard + "\"", swShowNormal);
}

bool TSetupInstaller::StartGuard(bool wanted)
{
    if (!GuardWanted(wanted)) return false;
    return FPorts.Processes.Start("\"" + FInstalledGuard + "\"", swShowNormal);
}
