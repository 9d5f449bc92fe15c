#pragma once
// An uninstaller on fakes: an in-memory file system and registry, a profile whose ini files are
// among those files, a recording shell and process port, a scripted message box. The program
// file is C:\App\uninstall.exe; PutProgram gives it a package.
#include <gtest/gtest.h>

#include <string>

#include "platform/AnsiText.h"
#include "support/FakeClock.h"
#include "support/FakeCodePage.h"
#include "support/FakeMessageBox.h"
#include "support/FakePorts.h"
#include "support/MemoryFileSystem.h"
#include "support/MemoryProfile.h"
#include "support/MemoryRegistry.h"
#include "uninstall/PackageFormat.h"
#include "uninstall/SetupBuildEngine.h"

// Programs that go on running whatever they are asked; none runs until a test adds one.
class TStayingPrograms : public IProcessWalk, public IProcessWindows {
public:
    std::vector<TRunningProcess> ListProcesses() override { return Running; }
    bool EndProcess(uint32_t) override { return false; }
    uint32_t CurrentProcessId() override { return 0; }
    std::vector<TWindowRef> TopLevelWindows(uint32_t id) override { return {id}; }
    bool QueryClose(TWindowRef) override { return true; }
    void EndClose(TWindowRef, bool) override {}
    std::string ClassName(TWindowRef) override { return ""; }
    bool HasEnded(uint32_t) override { return false; }

    std::vector<TRunningProcess> Running;
};

class UninstallFixture : public ::testing::Test {
protected:
    const std::string Program = "C:\\App\\uninstall.exe";
    TMemoryFileSystem Files;
    TMemoryRegistry Registry;
    TMemoryProfile Profile{Files};
    TFakeShell Shell;
    TFakeProcesses Processes;
    TFakeMessageBox Messages;
    TStayingPrograms Staying;
    TFakeClock Clock;
    TFakeCodePage BatchCodePage;
    TUninstallPorts Ports{
            Files,        Registry, Profile, Shell, Processes, Messages, {Staying, Staying, Clock},
            BatchCodePage};

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
