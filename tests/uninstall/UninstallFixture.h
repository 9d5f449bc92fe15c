#pragma once
// An uninstaller on fakes: an in-memory file system and registry, a profile of ini entries in
// memory, a recording shell and process port, a scripted message box. The program file is
// C:\App\uninstall.exe; PutProgram gives it a package.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "PackageFormat.h"
#include "common/StrUtils.h"
#include "common/TextConv.h"
#include "support/FakeMessageBox.h"
#include "support/FakePorts.h"
#include "support/MemoryFileSystem.h"
#include "support/MemoryRegistry.h"
#include "uninstall/SetupBuildEngine.h"

// Ini entries as (file, section, key) in lower case.
class TMemoryProfile : public IProfile {
public:
    std::set<std::tuple<std::string, std::string, std::string>> Entries;
    void Add(const std::string& file, const std::string& section, const std::string& key)
    {
        Entries.insert({LowerCase(file), LowerCase(section), LowerCase(key)});
    }
    bool Has(const std::string& file, const std::string& section, const std::string& key) const
    {
        return Entries.count({LowerCase(file), LowerCase(section), LowerCase(key)}) != 0;
    }
    std::string ReadString(const std::string&, const std::string&, const std::string&,
                           const std::string& def, size_t) override
    {
        return def;
    }
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string&) override
    {
        Add(file, section, key);
        return true;
    }
    bool DeleteKey(const std::string& file, const std::string& section, const std::string& key) override
    {
        Entries.erase({LowerCase(file), LowerCase(section), LowerCase(key)});
        return true;
    }
};

class UninstallFixture : public ::testing::Test {
protected:
    const std::string Program = "C:\\App\\uninstall.exe";
    TMemoryFileSystem Files;
    TMemoryRegistry Registry;
    TMemoryProfile Profile;
    TFakeShell Shell;
    TFakeProcesses Processes;
    TFakeMessageBox Messages;
    TUninstallPorts Ports{Files, Registry, Profile, Shell, Processes, Messages};

    UninstallFixture() { Processes.Program = Program; }

    // The program file: some code, then the package with this log, in the ANSI code page as an
    // installation writes it.
    void PutProgram(const std::string& log)
    {
        Files.AddFile(Program, "MZ-code" + PackageBytes(Utf8ToAnsi(log)));
    }

    static std::string LogOf(const std::string& sections)
    {
        return "<?xml version=\"1.0\"?>\n<uninstall>\n" + sections + "</uninstall>\n";
    }
};
