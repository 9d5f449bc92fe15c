#pragma once
// A setup on fakes: in-memory files, registry and profile, a scripted process walk, a fixed
// clock, and a shell that writes each shortcut as a small file naming its target.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/Install.h"
#include "support/FakeLocalTime.h"
#include "support/FakePorts.h"
#include "support/MemoryFileSystem.h"
#include "support/MemoryProfile.h"
#include "support/MemoryRegistry.h"

class TFakeSetupShell : public ISetupShell {
public:
    explicit TFakeSetupShell(TMemoryFileSystem& files) : FFiles(files) {}
    std::string LocalAppData = "C:\\Users\\Ola\\AppData\\Local";
    std::string Programs = "C:\\Users\\Ola\\Start Menu\\Programs";
    bool Fails = false;

    std::string LocalAppDataFolder() override { return LocalAppData; }
    std::string ProgramsMenuFolder() override { return Programs; }
    bool CreateShortcut(const std::string& link, const std::string& target) override
    {
        return !Fails && FFiles.WriteFile(link, "link to " + target);
    }

private:
    TMemoryFileSystem& FFiles;
};

// One machine; a table of cases makes a fresh one per case.
struct TSetupMachine {
    TMemoryFileSystem Files;
    TMemoryRegistry Registry;
    TMemoryProfile Profile;
    TFakeShell Shell;
    TFakeProcesses Processes;
    TFakeProcessWalk Walk;
    TFakeLocalTime Clock;
    TFakeSetupShell SetupShell{Files};
    TSetupPorts Ports{Files, Registry, Profile, Shell, Processes, Walk, Clock, SetupShell};
    const std::vector<TPayloadFile> Payload = {
            {"MLinewarden.exe", "MZ-guard"},
            {"MLinewarden.chm", "ITSF-help"},
            {"uninstall.exe", "MZ-uninstaller"},
    };

    TSetupMachine()
    {
        Files.AddFolder("C:\\");
        Files.AddFolder(SetupShell.LocalAppData);
        Files.AddFolder(SetupShell.Programs);
        Clock.Time = {2026, 12, 8, 10, 0, 0};
    }
};

class SetupFixture : public ::testing::Test, public TSetupMachine {};
