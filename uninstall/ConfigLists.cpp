#include "uninstall/ConfigLists.h"

#include <cstdlib>

#include "common/Paths.h"
#include "common/StrUtils.h"

namespace {

// The log writes key paths with a backslash after the root; the registry takes paths relative
// to the root.
std::string RelativeKeyPath(const std::string& keyName)
{
    size_t start = 0;
    while (start < keyName.size() && keyName[start] == '\\') ++start;
    return keyName.substr(start);
}

// Windows' keys whose entries every installation of a program writes under one name: a
// Programs-and-Features key below the first, a value of the second.
const char UninstallKeys[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char RunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

bool IsText(const TRegValue& value)
{
    return value.Type == rtString || value.Type == rtExpandString;
}

// An integer field of a shortcut: 0 when the text is no number.
int IntegerOf(const std::string& text)
{
    const std::string t = Trim(text);
    if (t.empty()) return 0;
    char* end = nullptr;
    const long value = std::strtol(t.c_str(), &end, 10);
    if (end == nullptr || *end != '\0' || value > 0x7FFFFFFFL || value < -0x7FFFFFFFL - 1) return 0;
    return static_cast<int>(value);
}

}  // namespace

// ---- TLogStringList ----

TLogStringItem* TLogStringList::Items(int index) const
{
    if (index < 0 || index >= Count()) return nullptr;
    return FItems[static_cast<size_t>(index)].get();
}

std::string TLogStringList::Text(int index) const
{
    const TLogStringItem* item = Items(index);
    return item ? item->Text : std::string();
}

TLogStringItem* TLogStringList::AddItem(const std::string& text, bool logged)
{
    return Append(std::make_unique<TLogStringItem>(text, logged));
}

TLogStringItem* TLogStringList::Append(std::unique_ptr<TLogStringItem> item)
{
    FItems.push_back(std::move(item));
    return FItems.back().get();
}

// ---- TBaseConfigItem ----

void TBaseConfigItem::SetShared(const std::string& text, const std::string& action,
                                const std::string& flags, const std::string& condition)
{
    Action = ParseAction(action);
    Flags = ParseFlags(flags);
    Condition = condition;
    Text = text;
    Logged = !HasFlag(Flags, sfDontLog);
}

// ---- TRegistryList ----

TRegistryItem* TRegistryList::AddItem(const std::string& key, const std::string& param,
                                      const std::string& type, const std::string& value,
                                      const std::string& action, const std::string& flags,
                                      const std::string& condition)
{
    auto* item = AppendNew();
    item->RootKey = RegistryRootOf(key);
    item->KeyName = RegistryKeyNameOf(key);
    item->ValueName = param;
    item->RegType = ParseRegType(type);
    item->Value = value;
    item->SetShared(key, action, flags, condition);
    return item;
}

bool TRegistryList::Undo(const TRegistryItem& item)
{
    TRegRoot root;
    const std::string path = RelativeKeyPath(item.KeyName);
    // A key path that names only a root never deletes the root.
    if (path.empty() || !RegRootOf(item.RootKey, root)) return false;
    std::unique_ptr<IRegistryKey> key = FRegistry.OpenKey(root, path, TRegAccess::Full);
    if (!key) return false;
    if (PointsElsewhere(item, path, *key)) return true;
    if (item.ValueName.empty()) {
        key.reset();
        return DeleteTree(root, path, 1);
    }
    if (!key->ValueExists(item.ValueName)) return false;
    return key->DeleteValue(item.ValueName);
}

// Only the entries that other installations write under the same names are looked at: a key
// right below Programs and Features and a value of a Run key. Such an entry is left alone only
// when it names another place; one that names no place is undone as the log says, as every
// other registry item is.
bool TRegistryList::PointsElsewhere(const TRegistryItem& item, const std::string& path,
                                    IRegistryKey& key)
{
    TRegValue value;
    if (item.ValueName.empty() && SameText(ExtractFilePath(path), UninstallKeys)) {
        if (key.ReadValue("InstallLocation", value) && IsText(value) && !value.Text().empty())
            return !FOwn.Holds(value.Text());
        if (key.ReadValue("UninstallString", value) && IsText(value) && !value.Text().empty())
            return !FOwn.HoldsProgramOf(value.Text());
        return false;
    }
    if (!item.ValueName.empty() && SameText(path, RunKey) && key.ReadValue(item.ValueName, value) &&
        IsText(value) && !value.Text().empty())
        return !FOwn.HoldsProgramOf(value.Text());
    return false;
}

bool TRegistryList::DeleteTree(TRegRoot root, const std::string& path, int depth)
{
    if (depth > RegistryMaxDepth) return false;
    std::vector<std::string> subKeys;
    if (auto key = FRegistry.OpenKey(root, path, TRegAccess::Full)) subKeys = key->SubKeyNames();
    for (auto name = subKeys.rbegin(); name != subKeys.rend(); ++name)
        DeleteTree(root, path + "\\" + *name, depth + 1);
    return FRegistry.DeleteKey(root, path);
}

// ---- TIniFileList ----

TIniFileItem* TIniFileList::AddItem(const std::string& fileName, const std::string& section,
                                    const std::string& param, const std::string& value,
                                    const std::string& action, const std::string& flags,
                                    const std::string& condition)
{
    auto* item = AppendNew();
    item->FileName = fileName;
    item->Section = section;
    item->Ident = param;
    item->Value = value;
    item->SetShared(fileName, action, flags, condition);
    return item;
}

bool TIniFileList::Undo(const TIniFileItem& item)
{
    if (item.FileName.empty() || !FFiles.FileExists(item.FileName)) return false;
    try {
        return FProfile.DeleteKey(item.FileName, item.Section, item.Ident);
    } catch (const std::exception&) {
        return false;
    }
}

// ---- TShortCutList ----

TShortCutItem* TShortCutList::AddItem(const std::string& name, const std::string& fileName,
                                      const std::string& arguments, const std::string& workingDir,
                                      const std::string& screenMode, const std::string& iconFile,
                                      const std::string& iconIndex, const std::string& description,
                                      const std::string& hotKey, const std::string& action,
                                      const std::string& flags, const std::string& condition)
{
    auto* item = AppendNew();
    item->Name = name;
    item->FileName = fileName;
    item->Arguments = arguments;
    item->WorkingDir = workingDir;
    item->ScreenMode = ParseScreenMode(screenMode);
    item->IconFile = iconFile;
    item->IconIndex = IntegerOf(iconIndex);
    item->Description = description;
    item->HotKey = hotKey;
    item->SetShared(name, action, flags, condition);
    return item;
}

bool TShortCutList::Undo(const TShortCutItem& item)
{
    const std::string link = item.Name + ".lnk";
    if (!FFiles.FileExists(link)) return false;
    if (PointsElsewhere(link)) return true;
    return FFiles.EraseFile(link);
}

// A shortcut whose target cannot be read names no other place: it goes, as it did before
// targets were looked at. Nor does one whose target is not there: another installation's
// shortcut names its guard. The shell may give a target in the ANSI code page, where a name
// that the code page lacks has become its best fit and names nothing (Wine's shell does).
bool TShortCutList::PointsElsewhere(const std::string& link)
{
    std::string target;
    try {
        const std::unique_ptr<IComSession> com = FShell.InitializeCom();
        const std::unique_ptr<IShellLinkObject> shellLink = com ? com->CreateShellLink() : nullptr;
        if (!shellLink || !shellLink->Load(link) || !shellLink->GetPath(target)) return false;
    } catch (const std::exception&) {
        return false;
    }
    return FFiles.FileExists(target) && !FOwn.Holds(target);
}

// ---- servers ----

bool RegisterServer(IFileSystem& files, IShell& shell, const std::string& fileName, bool doRegister)
{
    if (!files.FileExists(fileName)) return false;
    const std::string parameters = "\"" + fileName + "\"" + (doRegister ? " /s" : " /u /s");
    return shell.Execute(nullptr, "open", "RegSvr32.exe", parameters, "", swHide);
}

// ---- TInstallerLog ----

namespace {

TOwnFolder OwnFolderOf(const TUninstallPorts& ports)
{
    return TOwnFolder(ports.Files, ExtractFilePath(ports.Processes.ProgramPath()));
}

}  // namespace

TInstallerLog::TInstallerLog(const TUninstallPorts& ports)
    : Registry(ports.Registry, OwnFolderOf(ports)),
      IniFiles(ports.Files, ports.Profile),
      ShortCuts(ports.Files, ports.Shell, OwnFolderOf(ports)),
      Xml(ports.Messages),
      FPorts(ports)
{
}

void TInstallerLog::Clear()
{
    Registry.Clear();
    IniFiles.Clear();
    ShortCuts.Clear();
    Servers.Clear();
    Fonts.Clear();
    Files.Clear();
    Dirs.Clear();
}

bool TInstallerLog::UndoAll()
{
    bool ok = true;
    auto note = [&ok](bool done) { ok = ok && done; };
    for (int i = Registry.Count() - 1; i >= 0; --i) note(Registry.Undo(*Registry.Items(i)));
    for (int i = IniFiles.Count() - 1; i >= 0; --i) note(IniFiles.Undo(*IniFiles.Items(i)));
    for (int i = ShortCuts.Count() - 1; i >= 0; --i) note(ShortCuts.Undo(*ShortCuts.Items(i)));
    for (int i = Servers.Count() - 1; i >= 0; --i)
        note(RegisterServer(FPorts.Files, FPorts.Shell, Servers.Text(i), false));
    // A file the user deleted already is no failure.
    for (int i = Files.Count() - 1; i >= 0; --i)
        if (FPorts.Files.FileExists(Files.Text(i))) note(FPorts.Files.EraseFile(Files.Text(i)));
    for (int i = Dirs.Count() - 1; i >= 0; --i) note(FPorts.Files.RemoveFolder(Dirs.Text(i)));
    return ok;
}
