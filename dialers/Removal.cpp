#include "dialers/Removal.h"

#include <set>
#include <vector>

#include "common/Format.h"
#include "common/Paths.h"
#include "common/StrUtils.h"
#include "dialers/ExecutableChecks.h"
#include "dialers/FileSearch.h"
#include "dialers/RegistryAccess.h"

const char kQuarantineFolderName[] = "dialers";
const char kQuarantineCopyFormat[] = "%s.%.3d";
const char kUserShellFoldersKey[] =
        "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kCommonShellFoldersKey[] =
        "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Programs lies inside Start Menu; the search lists what it reaches twice only once.
const TShellFolder kShortcutFolders[9] = {
        {"Start Menu", false},    {"Desktop", false},   {"Programs", false},
        {"Common Desktop", true}, {"SendTo", false},    {"Templates", false},
        {"Recent", false},        {"Favorites", false}, {"Common Start Menu", true},
};

namespace {

bool Taken(IFileSystem& files, const std::string& path)
{
    return files.FileExists(path) || files.DirectoryExists(path);
}

// The names that the quarantine folder lists for copies of fileName. A number counts as taken
// when its copy name, written exactly as QuarantineCopyName writes it, is among them, so a look-
// alike such as "x.exe.0001" does not take number 1.
std::set<std::string> ListedCopyNames(IFileSystem& files, const std::string& folder,
                                      const std::string& fileName)
{
    std::set<std::string> names;
    for (const TFindEntry& entry : files.FindEntries(folder + fileName + ".*"))
        names.insert(entry.Name);
    return names;
}

// Copies source to the first free quarantine name of fileName in folder; copy receives the name
// used (the bare name in the folder when the search gave up). The numbers the listing shows
// taken are passed over without asking the file system about each, so a folder holding many
// copies of one name costs one listing rather than one query per copy. An existing copy is
// never replaced: when another copy takes the free number first, the next one is tried.
bool CopyToQuarantine(IFileSystem& files, const std::string& source, const std::string& folder,
                      const std::string& fileName, std::string& copy)
{
    const std::string base = folder + fileName;
    const std::set<std::string> listed = ListedCopyNames(files, folder, fileName);
    int unlisted = 0;
    // Each round passes over one of the finitely many listed names or counts an unlisted try,
    // so the search ends.
    for (int64_t number = 0; unlisted < kQuarantineUnlistedTries; ++number) {
        if (listed.count(QuarantineCopyName(fileName, number))) continue;
        ++unlisted;
        copy = QuarantineCopyName(base, number);
        if (Taken(files, copy)) continue;
        if (files.CopyFileTo(source, copy, true)) return true;
        if (!Taken(files, copy)) return false;
    }
    copy = base;
    return false;
}

std::string ReadShellFolder(IRegistry& registry, TRegRoot root, const char* key,
                            const std::string& valueName)
{
    // The path is only read, so a key the user may not change still gives it.
    TRegistry reader(registry, root);
    if (!reader.OpenKeyReadOnly(key)) return std::string();
    return reader.ReadString(valueName);
}

}  // namespace

std::string QuarantineFolder(const TToolsPorts& ports)
{
    return ExtractFilePath(ports.ProgramPath) + kQuarantineFolderName + "\\";
}

std::string QuarantineCopyName(const std::string& base, int64_t number)
{
    return Format(kQuarantineCopyFormat, base, number);
}

bool RemoveFile(const TToolsPorts& ports, const std::string& path, bool keepCopy)
{
    IFileSystem& files = ports.Files;
    if (!files.FileExists(path)) return false;
    bool copied = true;
    if (keepCopy) {
        const std::string folder = QuarantineFolder(ports);
        if (!files.DirectoryExists(folder)) ForceFolders(files, folder);
        std::string copy;
        copied = CopyToQuarantine(files, path, folder, ExtractFileName(path), copy);
        if (ports.OnFileCopied) ports.OnFileCopied(path, copy, copied);
        // A source that cannot be read fails its own copy only; a folder that is missing, or
        // takes no new file under the free name, fails every copy, which the user must hear.
        if (!copied && ports.OnQuarantineUnavailable &&
            (!files.DirectoryExists(folder) || !CanCreateFile(files, copy)))
            ports.OnQuarantineUnavailable(folder);
    }
    // The copy is what lets the user undo a removal; without it the file stays.
    const bool deleted = copied && files.EraseFile(path);
    if (ports.OnFileDeleted) ports.OnFileDeleted(path, deleted);
    return deleted;
}

std::string GetUserShellFolder(IRegistry& registry, const std::string& valueName)
{
    return ReadShellFolder(registry, TRegRoot::CurrentUser, kUserShellFoldersKey, valueName);
}

std::string GetCommonShellFolder(IRegistry& registry, const std::string& valueName)
{
    return ReadShellFolder(registry, TRegRoot::LocalMachine, kCommonShellFoldersKey, valueName);
}

bool RemoveShortcutsTo(const TToolsPorts& ports, const std::string& path)
{
    const std::string target = LowerCase(path);

    TFiles shortcuts(ports);
    bool first = true;
    for (const TShellFolder& folder : kShortcutFolders) {
        const std::string dir = folder.Common
                                        ? GetCommonShellFolder(ports.Registry, folder.ValueName)
                                        : GetUserShellFolder(ports.Registry, folder.ValueName);
        if (!dir.empty()) shortcuts.FindFiles(first, dir, "*.lnk");
        first = false;
    }

    std::vector<std::string> matching;
    bool examined = true;
    {
        std::unique_ptr<IComSession> com = ports.Shell.InitializeCom();
        // Declared after the session, so released before COM is uninitialised.
        std::unique_ptr<IShellLinkObject> link = com->CreateShellLink();
        if (link) {
            for (const std::string& shortcut : shortcuts.Items()) {
                std::string linkTarget;
                // A shortcut that names no file matches nothing, not even an empty path.
                if (link->Load(shortcut) && link->GetPath(linkTarget) && !linkTarget.empty() &&
                    LowerCase(linkTarget) == target)
                    matching.push_back(shortcut);
            }
        } else {
            // Shortcuts that could not be looked into may still point at the dialer.
            examined = shortcuts.Count() == 0;
        }
    }
    if (!examined) return false;

    bool result = true;
    for (const std::string& shortcut : matching)
        if (!RemoveFile(ports, shortcut, true)) result = false;
    return result;
}
