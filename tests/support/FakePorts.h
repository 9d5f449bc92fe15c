#pragma once
// Scripted child processes, running processes and shell: they record what the program asked for
// and answer as the test says.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "common/Paths.h"
#include "common/StrUtils.h"
#include "platform/ChildPrograms.h"
#include "platform/ProcessWalk.h"
#include "platform/Shell.h"

class TFakeProcesses : public IProcesses {
public:
    struct TRun {
        std::string CommandLine;
        int ShowCommand;
        uint32_t TimeoutMs;
    };

    std::string Program = "C:\\Guard\\MLinewarden.exe";
    // Answers each run; without one every run fails to start.
    std::function<int(const std::string& commandLine)> OnRun;
    std::vector<TRun> Runs;

    std::string ProgramPath() override { return Program; }
    int RunAndWait(const std::string& commandLine, int showCommand, uint32_t timeoutMs) override
    {
        Runs.push_back({commandLine, showCommand, timeoutMs});
        return OnRun ? OnRun(commandLine) : kRunNotStarted;
    }
    // Programs started without waiting; they always start unless StartFails.
    std::vector<TRun> Started;
    bool StartFails = false;
    bool Start(const std::string& commandLine, int showCommand) override
    {
        Started.push_back({commandLine, showCommand, 0});
        return !StartFails;
    }
};

// The running processes of the machine, in the order the test adds them, each named as a walk
// names it. Ending one takes it off the list and notes its identifier.
class TFakeProcessWalk : public IProcessWalk {
public:
    struct TProcess : TRunningProcess {
        bool Endable = true;  // false: it cannot be opened for ending, or refuses to end
        bool Alive = true;
    };
    uint32_t SelfId = 4000;
    std::vector<uint32_t> Ended;

    // A process of that program file: a full path, or a bare file name as a walk that knows only
    // names gives it.
    TProcess& Add(uint32_t id, const std::string& file)
    {
        TProcess process;
        process.Id = id;
        process.FileName = ExtractFileName(file);
        if (!ExtractFilePath(file).empty()) process.FullPath = file;
        FProcesses.push_back(process);
        return FProcesses.back();
    }
    bool Alive(uint32_t id) const
    {
        for (const TProcess& p : FProcesses)
            if (p.Id == id && p.Alive) return true;
        return false;
    }

    std::vector<TRunningProcess> ListProcesses() override
    {
        std::vector<TRunningProcess> alive;
        for (const TProcess& p : FProcesses)
            if (p.Alive) alive.push_back(p);
        return alive;
    }
    bool EndProcess(uint32_t processId) override
    {
        for (TProcess& p : FProcesses) {
            if (p.Id != processId || !p.Alive) continue;
            if (!p.Endable) return false;
            p.Alive = false;
            Ended.push_back(processId);
            return true;
        }
        return false;
    }
    uint32_t CurrentProcessId() override { return SelfId; }

private:
    std::deque<TProcess> FProcesses;
};

// The shell's verbs are recorded; its shell-link object knows the shortcuts a test gives it and
// logs the COM calls made on it ("init", "create", "load <path>", "release", "uninit").
class TFakeShell : public IShell {
public:
    struct TCall {
        void* Owner;
        std::string Verb, File, Parameters, Folder;
        int ShowCommand;
    };
    struct TLink {
        std::string Target;  // "" for a shortcut that names no file
        bool Loads = true;
    };
    std::vector<TCall> Calls;
    // What Execute reports; the call is recorded either way.
    bool ExecuteSucceeds = true;
    std::map<std::string, TLink> Links;  // by lower-cased shortcut path
    bool CanCreateShellLink = true;
    bool OffersPersistFile = true;
    std::vector<std::string> ComLog;

    void AddLink(const std::string& path, const std::string& target, bool loads = true)
    {
        Links[LowerCase(path)] = TLink{target, loads};
    }

    bool Execute(void* owner, const std::string& verb, const std::string& file,
                 const std::string& parameters, const std::string& folder, int showCommand) override
    {
        Calls.push_back({owner, verb, file, parameters, folder, showCommand});
        return ExecuteSucceeds;
    }
    std::unique_ptr<IComSession> InitializeCom() override
    {
        return std::make_unique<TSession>(*this);
    }

private:
    class TLinkObject : public IShellLinkObject {
    public:
        explicit TLinkObject(TFakeShell& shell) : FShell(shell) {}
        ~TLinkObject() override { FShell.ComLog.push_back("release"); }
        bool Load(const std::string& path) override
        {
            FShell.ComLog.push_back("load " + path);
            auto it = FShell.Links.find(LowerCase(path));
            FLoaded = it != FShell.Links.end() && it->second.Loads ? &it->second : nullptr;
            return FLoaded != nullptr;
        }
        bool GetPath(std::string& target) override
        {
            if (!FLoaded || FLoaded->Target.empty()) return false;
            target = FLoaded->Target;
            return true;
        }

    private:
        TFakeShell& FShell;
        const TLink* FLoaded = nullptr;
    };
    class TSession : public IComSession {
    public:
        explicit TSession(TFakeShell& shell) : FShell(shell) { FShell.ComLog.push_back("init"); }
        ~TSession() override { FShell.ComLog.push_back("uninit"); }
        std::unique_ptr<IShellLinkObject> CreateShellLink() override
        {
            FShell.ComLog.push_back("create");
            if (!FShell.CanCreateShellLink) return nullptr;
            if (!FShell.OffersPersistFile) throw Exception("Interface not supported");
            return std::make_unique<TLinkObject>(FShell);
        }

    private:
        TFakeShell& FShell;
    };
};
