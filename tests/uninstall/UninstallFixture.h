#pragma once
// An uninstaller on fakes: an in-memory file system and registry, a profile of ini entries in
// memory, a recording shell and process port, a scripted message box. The program file is
// C:\App\uninstall.exe; PutProgram gives it a package.
#include <gtest/gtest.h>

#include <string>

#include "PackageFormat.h"
#include "platform/AnsiText.h"
#include "support/FakeMessageBox.h"
#include "support/FakePorts.h"
#include "support/MemoryFileSystem.h"
#include "support/MemoryProfile.h"
#include "support/MemoryRegistry.h"
#include "uninstall/SetupBuildEngine.h"
#include "uninstall/Texts.h"

// Puts the uninstaller's language back as it was: the program's run chooses it for the whole
// process, and a test that left it Polish would change the texts every later test sees.
class TLanguageGuard {
public:
    TLanguageGuard() : FSaved(LanguageIndex) {}
    ~TLanguageGuard() { LanguageIndex = FSaved; }
    TLanguageGuard(const TLanguageGuard&) = delete;
    TLanguageGuard& operator=(const TLanguageGuard&) = delete;

private:
    uint8_t FSaved;
};

class UninstallFixture : public ::testing::Test {
protected:
    TLanguageGuard Language;
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
