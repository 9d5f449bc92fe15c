#pragma once
// The programs that Windows starts from the Run keys, each turned into the program file that
// the dialer test inspects and removal deletes.
#include <memory>
#include <string>
#include <vector>

#include "dialers/RunValue.h"
#include "dialers/ToolsPorts.h"

// One auto-start item. Never changes after construction.
class TStartupFile {
public:
    // Never fails on the content of the texts.
    TStartupFile(const std::string& name, const std::string& commandLine,
                 const TRunKey& key = TRunKey());

    const std::string Name;         // the Run value name (or what a caller chose)
    const std::string CommandLine;  // exactly as stored
    const std::string FileName;     // the program file derived from CommandLine
    const TRunKey Key;              // the Run key the value was read from

    // Whether the program file is a dialer (see ExecutableChecks.h).
    bool IsDialer(const TToolsPorts& ports) const;
};

// The program file named by an auto-start command line: the command line up to the end of its
// ".exe", or else up to a " -" or " /" switch, in the part after the last "\" or ":", trimmed;
// ".exe" appended when the result has no extension. Quotation marks are kept.
std::string ProgramFileOfCommandLine(const std::string& commandLine);

class TStartupFiles {
public:
    explicit TStartupFiles(const TToolsPorts& ports) : FPorts(ports) {}

    int Count() const { return static_cast<int>(FItems.size()); }
    // nullptr when the index is out of range.
    TStartupFile* Items(int index) const;
    TStartupFile* Add(const std::string& name, const std::string& commandLine,
                      const TRunKey& key = TRunKey());
    void Clear() { FItems.clear(); }

    // Rebuilds the list from the Run keys (RunKeys), all only read; returns Count(). Every string value with text becomes an item; a value of another type names no
    // program and is passed over.
    int LoadFromRegistry();
    TRunValueWritten WriteRunValue(const std::string& name, const std::string& value)
    {
        return ::WriteRunValue(FPorts.Registry, name, value);
    }
    // Removes every item that is not a dialer, keeping the order of the others; the new count.
    int KeepDialers();
    bool DeleteRunValue(const std::string& name) { return ::DeleteRunValue(FPorts.Registry, name); }

private:
    const TToolsPorts& FPorts;
    std::vector<std::unique_ptr<TStartupFile>> FItems;
};

// The guard's help file: its program's path with ".chm", derived where the help is shown, so
// that it follows the ports the guard runs on. The shell opens whatever lies there.
std::string HelpFile(const TToolsPorts& ports);
void ShowHelp(const TToolsPorts& ports, void* ownerWindow);
