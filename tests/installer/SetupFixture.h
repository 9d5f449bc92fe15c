#pragma once
// A setup on fakes: in-memory files (the profile's ini files among them) and registry, running
// programs that close or stay when asked, fixed clocks, and a shell that writes each shortcut as
// a small file naming its target.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Paths.h"
#include "common/Product.h"
#include "installer/Install.h"
#include "platform/AnsiText.h"
#include "support/FakeClock.h"
#include "support/FakeCodePage.h"
#include "support/FakeLocalTime.h"
#include "support/FakePorts.h"
#include "support/MemoryFileSystem.h"
#include "support/MemoryProfile.h"
#include "support/MemoryRegistry.h"
#include "uninstall/PackageFormat.h"

class TFakeSetupShell : public ISetupShell {
public:
    explicit TFakeSetupShell(TMemoryFileSystem& files) : FFiles(files) {}
    std::string LocalAppData = "C:\\Users\\Ola\\AppData\\Local";
    std::string ProgramFiles = "C:\\Program Files";
    std::string Programs = "C:\\Users\\Ola\\Start Menu\\Programs";
    bool Fails = false;

    std::string LocalAppDataFolder() override { return LocalAppData; }
    std::string ProgramFilesFolder() override { return ProgramFiles; }
    std::string ProgramsMenuFolder() override { return Programs; }
    bool CreateShortcut(const std::string& link, const std::string& target) override
    {
        return !Fails && FFiles.WriteFile(link, "link to " + target);
    }

private:
    TMemoryFileSystem& FFiles;
};

// Each process has one window, named by its identifier and of the guard's main window class;
// it closes when asked unless it stays.
class TRunningPrograms : public IProcessWalk, public IProcessWindows {
public:
    // A path without a folder is a process the system names by its file alone.
    void Add(uint32_t id, const std::string& path, bool stays)
    {
        TRunningProcess process;
        process.Id = id;
        process.FileName = ExtractFileName(path);
        process.PathUnreadable = process.FileName == path;
        if (!process.PathUnreadable) process.FullPath = path;
        FRunning.push_back({process, stays});
    }

    std::vector<TRunningProcess> ListProcesses() override
    {
        std::vector<TRunningProcess> list;
        for (const TProgram& p : FRunning) list.push_back(p.Process);
        return list;
    }
    bool EndProcess(uint32_t) override { return false; }
    uint32_t CurrentProcessId() override { return 0; }
    std::vector<TWindowRef> TopLevelWindows(uint32_t id) override { return {id}; }
    bool QueryClose(TWindowRef) override { return true; }
    void EndClose(TWindowRef window, bool ending) override
    {
        for (size_t i = 0; i < FRunning.size(); ++i)
            if (ending && FRunning[i].Process.Id == window && !FRunning[i].Stays) {
                FRunning.erase(FRunning.begin() + long(i));
                return;
            }
    }
    std::string ClassName(TWindowRef) override { return kGuardMainWindowClass; }
    bool HasEnded(uint32_t id) override
    {
        for (const TProgram& p : FRunning)
            if (p.Process.Id == id) return false;
        return true;
    }

private:
    struct TProgram {
        TRunningProcess Process;
        bool Stays;
    };
    std::vector<TProgram> FRunning;
};

// One machine; a table of cases makes a fresh one per case.
struct TSetupMachine {
    TMemoryFileSystem Files;
    TMemoryRegistry Registry;
    TMemoryProfile Profile{Files};
    TFakeShell Shell;
    TFakeProcesses Processes;
    TRunningPrograms Programs;
    TFakeLocalTime Clock;
    TFakeClock Ticks;
    TFakeSetupShell SetupShell{Files};
    TFakeCodePage LogCodePage;
    TSetupPorts Ports{Files,      Registry, Profile,    Shell,
                      Processes,  Clock,    SetupShell, {Programs, Programs, Ticks},
                      LogCodePage};
    const std::vector<TPayloadFile> Payload = {
            {"MLinewarden.exe", "MZ-guard"},
            {"MLinewarden.chm", "ITSF-help"},
            {"uninstall.exe", "MZ-uninstaller"},
    };

    TSetupMachine()
    {
        Files.AddFolder("C:\\");
        Files.AddFolder(SetupShell.LocalAppData);
        Files.AddFolder(SetupShell.ProgramFiles);
        Files.AddFolder(SetupShell.Programs);
        Clock.Time = {2026, 12, 8, 10, 0, 0};
    }

    // An earlier installation of ours in the folder: its guard, and its uninstaller carrying
    // the package that names the product.
    void AddInstallation(const std::string& folder, const std::string& guard = "MZ-old-guard",
                         const std::vector<std::string>& dirs = {})
    {
        TInstallLog log;
        log.AppName = kProductName;
        log.Files = {folder + "\\MLinewarden.exe"};
        log.Dirs = dirs;
        Files.AddFile(folder + "\\MLinewarden.exe", guard);
        // In the code page the setup writes its logs in.
        Files.AddFile(folder + "\\uninstall.exe",
                      "MZ-old" + PackageBytes(Utf8ToAnsi(InstallLogXml(log))));
    }
};

class SetupFixture : public ::testing::Test, public TSetupMachine {};
