#include "dialers/StartupFiles.h"

#include "common/Paths.h"
#include "common/StrUtils.h"
#include "dialers/RegistryAccess.h"

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

TStartupFile::TStartupFile(const std::string& name, const std::string& commandLine,
                           const TRunKey& key)
    : Name(name),
      CommandLine(commandLine),
      FileName(ProgramFileOfCommandLine(commandLine)),
      Key(key)
{
}

TStartupFile* TStartupFiles::Items(int index) const
{
    if (index < 0 || index >= Count()) return nullptr;
    return FItems[static_cast<size_t>(index)].get();
}

TStartupFile* TStartupFiles::Add(const std::string& name, const std::string& commandLine,
                                 const TRunKey& key)
{
    FItems.push_back(std::make_unique<TStartupFile>(name, commandLine, key));
    return FItems.back().get();
}

int TStartupFiles::LoadFromRegistry()
{
    Clear();
    for (const TRunKey& key : RunKeys(FPorts.Registry)) {
        // Only read: a standard user may read the machine's key but not change it, and the
        // dialers registered there for every user are the ones that user must see.
        TRegistry registry(FPorts.Registry, key.Root);
        registry.SetView(key.View);
        if (!registry.OpenKeyReadOnly(kRunKey)) continue;
        for (const std::string& name : registry.GetValueNames()) {
            // Any program may set a value of another type here; it starts nothing, and it must
            // not hide the values after it.
            std::string commandLine = registry.ReadStringOrNothing(name);
            if (!commandLine.empty()) Add(name, commandLine, key);
        }
    }
    return Count();
}

int TStartupFiles::KeepDialers()
{
    for (size_t i = FItems.size(); i-- > 0;)
        if (!FItems[i]->IsDialer(FPorts)) FItems.erase(FItems.begin() + static_cast<long>(i));
    return Count();
}

std::string HelpFile(const TToolsPorts& ports)
{
    return ChangeFileExt(ports.ProgramPath, ".chm");
}

void ShowHelp(const TToolsPorts& ports, void* ownerWindow)
{
    ports.Shell.Execute(ownerWindow, "open", HelpFile(ports), "", "", swShow);
}
