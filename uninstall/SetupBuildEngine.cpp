#include "uninstall/SetupBuildEngine.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/Errors.h"
#include "common/Format.h"
#include "common/Paths.h"
#include "uninstall/RemovalBatch.h"

namespace {

constexpr size_t CopyChunk = 16384;
constexpr size_t TempFolderMaxLength = 1040;
const char HeaderMagic[4] = {'M', 'I', 'P', '1'};
const char EndMarker[8] = {'M', 'I', 'P', '1', 'E', 'N', 'D', '\0'};

// Reads exactly count bytes; a short read is a failure.
bool ReadExactly(IFileStream& file, void* buffer, size_t count)
{
    return file.Read(buffer, count) == static_cast<int64_t>(count);
}

int32_t Int32Of(const unsigned char* b)
{
    return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                                uint32_t(b[3]) << 24);
}

// Sections in the order they are read, with their item element.
struct TSection {
    const char* Name;
    const char* Element;
};
const TSection Sections[] = {
        {"files", "file"},     {"registry", "reg"}, {"inifiles", "ini"}, {"shortcuts", "shortcut"},
        {"servers", "server"}, {"fonts", "font"},   {"dirs", "dir"},
};

}  // namespace

bool ReadStreamBytes(IFileStream& source, std::string& target, int64_t count)
{
    target.clear();
    if (count < 0) return false;
    std::vector<char> buffer(CopyChunk);
    int64_t copied = 0;
    while (copied < count) {
        const size_t chunk = static_cast<size_t>(std::min<int64_t>(count - copied, CopyChunk));
        if (!ReadExactly(source, buffer.data(), chunk)) return false;
        target.append(buffer.data(), chunk);
        copied += static_cast<int64_t>(chunk);
    }
    return true;
}

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
    const int64_t size = file.Size();
    if (size < PackageHeaderSize + PackageTrailerSize) return false;

    unsigned char trailer[PackageTrailerSize];
    if (!file.Seek(size - PackageTrailerSize) || !ReadExactly(file, trailer, sizeof trailer) ||
        std::memcmp(trailer + 4, EndMarker, sizeof EndMarker) != 0)
        return false;
    // The header must lie inside the file and before the trailer, the log between the two:
    // a distance or a length that says otherwise is refused before anything is read or
    // allocated for it.
    const int64_t distance = Int32Of(trailer);
    if (distance < PackageHeaderSize + PackageTrailerSize || distance > size) return false;

    unsigned char header[PackageHeaderSize];
    if (!file.Seek(size - distance) || !ReadExactly(file, header, sizeof header) ||
        std::memcmp(header, HeaderMagic, sizeof HeaderMagic) != 0)
        return false;
    const int64_t length = Int32Of(header + 4);
    if (length <= 0 || length > distance - PackageHeaderSize - PackageTrailerSize) return false;

    std::string log;
    if (!ReadStreamBytes(file, log, length)) return false;
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
    if (xml.FindNext("appname")) AppName = xml.SelectedText();
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
    const std::string action = Attribute("action");
    if (ParseAction(action) != saAdd) return;
    if (element == "reg") {
        Log.Registry.AddItem(Attribute("key"), Attribute("param"), Attribute("type"),
                             Attribute("value"), action, Attribute("flags"),
                             Attribute("confition"));
    } else if (element == "ini") {
        Log.IniFiles.AddItem(Attribute("filename"), Attribute("section"), Attribute("param"),
                             Attribute("value"), action, Attribute("flags"),
                             Attribute("confition"));
    } else if (element == "shortcut") {
        Log.ShortCuts.AddItem(Attribute("name"), "", "", "", "", "", "", "", "", action, "", "");
    } else if (element == "file") {
        Log.Files.AddItem(Attribute("filename"), false);
    } else if (element == "server") {
        Log.Servers.AddItem(Attribute("filename"), false);
    } else if (element == "font") {
        Log.Fonts.AddItem(Attribute("filename"), false);
    } else if (element == "dir") {
        Log.Dirs.AddItem(Attribute("directory"), false);
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
