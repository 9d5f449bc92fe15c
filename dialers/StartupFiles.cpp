#include "dialers/StartupFiles.h"

#include "common/Paths.h"
#include "common/StrUtils.h"
#include "dialers/RegistryAccess.h"

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

namespace {

// Position just past the program name in tail, or npos. ".exe" wins over switches, so that a
// program whose folder or name holds " -" is still cut after its extension.
size_t CutPosition(const std::string& tail)
{
    size_t pos = LowerCase(tail).find(".exe");
    if (pos != std::string::npos) return pos + 4;
    pos = tail.find(" -");
    if (pos != std::string::npos) return pos;
    return tail.find(" /");
}

std::string& HelpFileName()
{
    static std::string helpFile;
    return helpFile;
}

}  // namespace

std::string ProgramFileOfCommandLine(const std::string& commandLine)
{
    std::string fileName = commandLine;
    const std::string tail = ExtractFileName(commandLine);
    if (!tail.empty()) {
        size_t cut = CutPosition(tail);
        if (cut != std::string::npos)
            fileName = Trim(ExtractFilePath(commandLine) + tail.substr(0, cut));
    }
    if (!fileName.empty() && ExtractFileExt(fileName).empty())
        fileName = ChangeFileExt(fileName, ".exe");
    return fileName;
}

TStartupFile::TStartupFile(const std::string& name, const std::string& commandLine)
    : Name(name), CommandLine(commandLine), FileName(ProgramFileOfCommandLine(commandLine))
{
}

TStartupFile* TStartupFiles::Items(int index) const
{
    if (index < 0 || index >= Count()) return nullptr;
    return FItems[static_cast<size_t>(index)].get();
}

TStartupFile* TStartupFiles::Add(const std::string& name, const std::string& commandLine)
{
    FItems.push_back(std::make_unique<TStartupFile>(name, commandLine));
    return FItems.back().get();
}

int TStartupFiles::LoadFromRegistry()
{
    Clear();
    for (TRegRoot root : {TRegRoot::LocalMachine, TRegRoot::CurrentUser}) {
        TRegistry registry(FPorts.Registry, root);
        if (!registry.OpenKey(kRunKey, false)) continue;
        for (const std::string& name : registry.GetValueNames()) {
            std::string commandLine = registry.ReadString(name);
            if (!commandLine.empty()) Add(name, commandLine);
        }
    }
    return Count();
}

void TStartupFiles::WriteRunValue(const std::string& name, const std::string& value)
{
    if (name.empty() || value.empty()) return;
    TRegistry registry(FPorts.Registry, TRegRoot::LocalMachine);
    if (!registry.OpenKey(kRunKey, true)) return;
    registry.WriteString(name, value);
}

bool TStartupFiles::DeleteRunValue(const std::string& name)
{
    if (name.empty()) return false;
    bool deleted = false, left = false;
    for (TRegRoot root : {TRegRoot::LocalMachine, TRegRoot::CurrentUser}) {
        TRegistry registry(FPorts.Registry, root);
        if (registry.OpenKey(kRunKey, false)) {
            registry.DeleteValue(name);
            if (registry.ReadString(name).empty())
                deleted = true;
            else
                left = true;
        } else if (registry.OpenKeyReadOnly(kRunKey) && !registry.ReadString(name).empty()) {
            // A Run key the user may read but not change (the machine's, without the right)
            // still starts the program: its value is not gone, whatever the other key holds.
            left = true;
        }
    }
    return deleted && !left;
}

int TStartupFiles::KeepDialers()
{
    for (size_t i = FItems.size(); i-- > 0;)
        if (!FItems[i]->IsDialer(FPorts)) FItems.erase(FItems.begin() + static_cast<long>(i));
    return Count();
}

void SetHelpFile(const TToolsPorts& ports)
{
    HelpFileName() = ChangeFileExt(ports.ProgramPath, ".chm");
}

const std::string& HelpFile()
{
    return HelpFileName();
}

void ShowHelp(const TToolsPorts& ports, void* ownerWindow)
{
    ports.Shell.Execute(ownerWindow, "open", HelpFile(), "", "", swShow);
}
