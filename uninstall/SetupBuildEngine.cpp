#include "uninstall/SetupBuildEngine.h"

#include <vector>

#include "common/Errors.h"
#include "common/Format.h"
#include "common/Paths.h"
#include "uninstall/LogWords.h"
#include "uninstall/RemovalBatch.h"

namespace {

constexpr size_t TempFolderMaxLength = 1040;

// Sections in the order they are read, with their item element.
struct TSection {
    const char* Name;
    const char* Element;
};
const TSection Sections[] = {
        {LogWords::Files, LogWords::File},         {LogWords::Registry, LogWords::Reg},
        {LogWords::IniFiles, LogWords::Ini},       {LogWords::Shortcuts, LogWords::Shortcut},
        {LogWords::Servers, LogWords::Server},     {LogWords::Fonts, LogWords::Font},
        {LogWords::Dirs, LogWords::Dir},
};

}  // namespace

TUninstall::TUninstall(const TUninstallPorts& ports) : Log(ports), FPorts(ports) {}

bool TUninstall::LoadPackage(const std::string& fileName)
{
    if (!FPorts.Files.FileExists(fileName)) return false;
    std::unique_ptr<IFileStream> file = FPorts.Files.OpenRead(fileName);
    return file && LoadPackageFrom(*file);
}

bool TUninstall::LoadPackageFrom(IFileStream& file)
{
    FLogLoaded = false;
    std::string log;
    if (!ReadPackageLog(file, log)) return false;
    if (Log.Xml.LoadFromBytes(log)) {
        FLogLoaded = true;
        ReadAppName();
    }
    return true;
}

bool TUninstall::EnterLog()
{
    Log.Clear();
    // A log that did not parse has no document to walk; nothing may be removed then.
    if (!FLogLoaded) return false;
    TXML& xml = Log.Xml;
    xml.LeaveToRoot();
    xml.EnterSelected();
    xml.SelectFirst();
    if (xml.FindNext(LogWords::AppName)) AppName = xml.SelectedText();
    return true;
}

bool TUninstall::ReadAppName()
{
    AppName.clear();
    if (!EnterLog()) return false;
    Log.Xml.LeaveLevel();
    return !AppName.empty();
}

std::string TUninstall::Attribute(const std::string& name) const
{
    return Log.Xml.SelectedAttribute(name);
}

bool TUninstall::ReadLog()
{
    if (!EnterLog()) return false;
    TXML& xml = Log.Xml;
    for (const TSection& section : Sections) {
        xml.SelectFirst();
        if (!xml.FindNext(section.Name)) continue;
        xml.EnterSelected();
        while (xml.FindNext(section.Element)) ReadItem(section.Name, section.Element);
        xml.LeaveLevel();
    }
    xml.LeaveLevel();
    return true;
}

void TUninstall::ReadItem(const std::string& section, const std::string& element)
{
    using namespace LogWords;
    const std::string action = Attribute(Action);
    if (ParseAction(action) != saAdd) return;
    if (element == Reg) {
        Log.Registry.AddItem(Attribute(Key), Attribute(Param), Attribute(Type), Attribute(Value),
                             action, Attribute(Flags), Attribute(Condition));
    } else if (element == Ini) {
        Log.IniFiles.AddItem(Attribute(FileName), Attribute(Section), Attribute(Param),
                             Attribute(Value), action, Attribute(Flags), Attribute(Condition));
    } else if (element == Shortcut) {
        Log.ShortCuts.AddItem(Attribute(Name), "", "", "", "", "", "", "", "", action, "", "");
    } else if (element == File) {
        Log.Files.AddItem(Attribute(FileName), false);
    } else if (element == Server) {
        Log.Servers.AddItem(Attribute(FileName), false);
    } else if (element == Font) {
        Log.Fonts.AddItem(Attribute(FileName), false);
    } else if (element == Dir) {
        Log.Dirs.AddItem(Attribute(Directory), false);
    }
}

// The command interpreter reads the batch in the OEM code page, which lacks letters that the
// ANSI one has, and the temporary folder lies below the user's profile, whose name may have any.
// A name it lacks is spelled as its 8.3 alias; a path without one stays as it is, and the batch
// leaves its lines out rather than name another file.
std::string TUninstall::BatchSpelling(const std::string& path)
{
    const std::string spelled = SpelledWithAliases(FPorts.Files, path, FPorts.BatchCodePage);
    return spelled.empty() ? path : spelled;
}

std::string TUninstall::TempFolder()
{
    const std::string folder = FPorts.Files.TemporaryFolder();
    return folder.size() > TempFolderMaxLength ? std::string() : folder;
}

bool TUninstall::Execute()
{
    if (!ReadLog()) return false;
    if (BeforeRemoval && !BeforeRemoval()) return false;
    const std::string program = FPorts.Processes.ProgramPath();
    std::string temp = TempFolder();
    bool madeTemp = false;
    if (temp.empty()) {
        // Created here and kept until the batch is written into it: the batch's last line
        // removes it again. A C:\TEMP that was there before is left as it was found.
        temp = "C:\\TEMP\\";
        madeTemp = !FPorts.Files.DirectoryExists(temp.substr(0, temp.size() - 1));
        ForceFolders(FPorts.Files, temp);
    }
    Log.UndoAll();

    const std::string batch = temp + RemovalBatchName(program);
    std::vector<std::string> dirs;
    for (int i = Log.Dirs.Count() - 1; i >= 0; --i)
        if (FPorts.Files.DirectoryExists(Log.Dirs.Text(i)))
            dirs.push_back(BatchSpelling(Log.Dirs.Text(i)));
    if (!FPorts.Files.WriteFile(
                batch, RemovalBatchText(RemovalBatchLines(BatchSpelling(program),
                                                          BatchSpelling(batch), dirs, madeTemp))))
        throw Exception(Format("Cannot create file \"%s\"", batch));
    FPorts.Processes.Start("\"" + batch + "\"", swHide);
    return true;
}
