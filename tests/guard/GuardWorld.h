#pragma once
// The guard's window logic over fakes (used by the tests and the latency benchmark): a recording main window, scripted dialogs that can act
// while they are open, the RAS simulator, the in-memory registry and file system, a scripted
// process table and a fixed clock. The guard is installed as C:\Guard\MLinewarden.exe.
#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/StrUtils.h"
#include "guard/GuardTexts.h"
#include "guard/MainUnit.h"
#include "platform/posix/QueueUiThread.h"
#include "support/FakeClock.h"
#include "support/FakeLocalTime.h"
#include "support/FakePorts.h"
#include "support/MemoryProfile.h"
#include "support/RasSimulator.h"
#include "support/MemoryFileSystem.h"
#include "support/MemoryRegistry.h"
#include "settings/SettingsStrings.h"

// The main window: it keeps what the logic shows and logs the calls that change the screen.
class TRecordingView : public IMainView {
public:
    struct TRow {
        std::string Time, Text;
    };
    std::vector<TRow> Report;
    std::vector<std::string> Panels{""};  // the status bar's texts, the connection status first
    // "minimize", "hide", "show", "close", "error: ...", "warning: ..."
    std::vector<std::string> Log;
    bool Checks[kOptionCount] = {};
    std::vector<std::string> Numbers;
    int Selected = -1;
    bool ButtonEnabled[3] = {};
    std::map<TMenuItem, bool> MenuEnabled, MenuVisible;
    bool ReportVisible = true;
    bool Hourglass = false;
    bool Minimized = false;
    std::string Caption, AppTitle;
    // What MinimizeApplication leads to, as the window routes it: set by the fixture.
    std::function<void()> OnMinimize;

    std::vector<std::string> ReportTexts() const
    {
        std::vector<std::string> texts;
        for (const TRow& row : Report) texts.push_back(row.Text);
        return texts;
    }

    void SetCaption(const std::string& caption) override { Caption = caption; }
    void SetAppTitle(const std::string& text) override { AppTitle = text; }
    void SetConnectionStatus(const std::string& text) override { Panels[0] = text; }
    void SetProgressText(const std::string& text) override
    {
        Panels.resize(2);
        Panels[1] = text;
    }
    void SetHourglass(bool on) override { Hourglass = on; }
    void AddReportRow(const std::string& time, const std::string& text) override
    {
        Report.push_back({time, text});
    }
    void SetReportVisible(bool visible) override { ReportVisible = visible; }
    bool Checked(TOption option) override { return Checks[static_cast<int>(option)]; }
    void SetChecked(TOption option, bool checked) override
    {
        Checks[static_cast<int>(option)] = checked;
    }
    void SetNumbers(const std::vector<std::string>& items, int selected) override
    {
        Numbers = items;
        Selected = selected;
    }
    void SetButtonEnabled(TNumberButton button, bool enabled) override
    {
        ButtonEnabled[static_cast<int>(button)] = enabled;
    }
    void SetMenuItemEnabled(TMenuItem item, bool enabled) override { MenuEnabled[item] = enabled; }
    void SetMenuItemVisible(TMenuItem item, bool visible) override { MenuVisible[item] = visible; }
    bool IsApplicationMinimized() override { return Minimized; }
    void BringUp() override
    {
        if (Minimized) Log.push_back("restore");
        Minimized = false;
        Log.push_back("show");
    }
    void MinimizeApplication() override
    {
        Minimized = true;
        Log.push_back("minimize");
        if (OnMinimize) OnMinimize();
    }
    void HideToTray() override { Log.push_back("hide"); }
    void Repaint() override {}
    void Close() override { Log.push_back("close"); }
    void EndProcess() override { Log.push_back("end process"); }
    void* Handle() override { return this; }
    void ShowError(const std::string& message) override
    {
        Log.push_back("error: " + message);
        RunWhileBox();
    }
    void ShowWarning(const std::string& message) override
    {
        Log.push_back("warning: " + message);
        RunWhileBox();
    }
    // Runs while the next error or warning box is open (in its message loop), once.
    std::function<void()> WhileBox;

private:
    void RunWhileBox()
    {
        std::function<void()> action;
        action.swap(WhileBox);
        if (action) action();
    }
};

// The dialogs answer from a script; While, when set, runs while a question is open.
class TScriptedDialogs : public IGuardDialogs {
public:
    struct TQuestion {
        int Mode;
        std::string Value1, Value2;
    };
    std::vector<TQuestion> Asked;
    std::vector<bool> Answers;  // in order; when they run out, DefaultAnswer
    bool DefaultAnswer = true;
    std::function<void()> While;
    // Runs as every question opens.
    std::function<void(const TQuestion&)> OnAsk;
    std::vector<std::string> NumberAnswers;  // "" declines
    int Cancels = 0;

    bool EditNumber(std::string& number) override
    {
        if (NumberAnswers.empty()) return false;
        std::string answer = NumberAnswers.front();
        NumberAnswers.erase(NumberAnswers.begin());
        if (answer.empty()) return false;
        number = answer;
        return true;
    }
    bool AskQuestion(int mode, const std::string& value1, const std::string& value2) override
    {
        Asked.push_back({mode, value1, value2});
        if (OnAsk) OnAsk(Asked.back());
        if (While) {
            auto action = While;
            While = nullptr;  // once: the action runs in the first question only
            action();
        }
        const size_t i = Asked.size() - 1;
        return i < Answers.size() ? Answers[i] : DefaultAnswer;
    }
    void CancelDialogs() override { ++Cancels; }
};

class TFakeNotificationArea : public INotificationArea {
public:
    // "add <tip>", "modify <tip>", "balloon <text><tip>", "delete"
    std::vector<std::string> Calls;
    bool AddSucceeds = true;
    int WindowsAlive = 0;
    bool Notify(TTrayOperation operation, const TNotifyIconRecord& record) override
    {
        switch (operation) {
        case TTrayOperation::Add: Calls.push_back("add " + record.Tip); return AddSucceeds;
        case TTrayOperation::Modify:
            Calls.push_back((record.Flags & kBalloonFlag ? "balloon " + record.BalloonText
                                                         : "modify ") +
                            record.Tip);
            return true;
        case TTrayOperation::Delete:
            Calls.push_back(record.Window ? "delete" : "delete without window");
            return true;
        }
        return false;
    }
    bool Balloons = true;
    bool HasBalloons() override { return Balloons; }
    void* ApplicationIcon() override { return &AddSucceeds; }
    void* CreateHiddenWindow(TTrayIcon&) override
    {
        ++WindowsAlive;
        return &WindowsAlive;
    }
    void DestroyHiddenWindow(void*) override { --WindowsAlive; }
};

// The user-interface thread as the guard reaches it: it counts the hand-overs of the RAS
// notification thread (the guard's only worker) and knows which timers run.
class TWatchedUiThread : public IUserInterfaceThread {
public:
    explicit TWatchedUiThread(IUserInterfaceThread& ui) : FUi(ui) {}
    // The notifications delivered so far.
    int HandOvers() const { return FHandOvers; }
    // Whether a timer runs with that interval.
    bool TimerRuns(unsigned intervalMs) const
    {
        for (const TTimer* timer : FTimers)
            if (timer->Enabled() && timer->Interval == intervalMs) return true;
        return false;
    }

    void Synchronize(const std::function<void()>& fn) override
    {
        FUi.Synchronize([&] {
            ++FHandOvers;
            fn();
        });
    }
    void ProcessMessages() override { FUi.ProcessMessages(); }
    void WaitForMessages(unsigned timeoutMs) override { FUi.WaitForMessages(timeoutMs); }
    std::unique_ptr<ITimer> CreateTimer(std::function<void()> onTick) override
    {
        return std::make_unique<TTimer>(FTimers, FUi.CreateTimer(std::move(onTick)));
    }

private:
    struct TTimer : ITimer {
        std::vector<TTimer*>& All;
        std::unique_ptr<ITimer> Inner;
        unsigned Interval = 0;
        TTimer(std::vector<TTimer*>& all, std::unique_ptr<ITimer> inner)
            : All(all), Inner(std::move(inner))
        {
            All.push_back(this);
        }
        ~TTimer() override { All.erase(std::find(All.begin(), All.end(), this)); }
        void Start(unsigned intervalMs) override
        {
            Interval = intervalMs;
            Inner->Start(intervalMs);
        }
        void Stop() override { Inner->Stop(); }
        bool Enabled() const override { return Inner->Enabled(); }
    };
    IUserInterfaceThread& FUi;
    std::atomic<int> FHandOvers{0};
    std::vector<TTimer*> FTimers;
};

// One machine with the guard on it.
struct TGuardWorld {
    static constexpr const char* kProgram = "C:\\Guard\\MLinewarden.exe";

    TRecordingView View;
    TScriptedDialogs Dialogs;
    TFakeNotificationArea Tray;
    TRasSimulator Ras;
    // The user-interface thread's timers run only when a test lets their time pass.
    TFakeClock UiClock;
    TQueueUiThread Ui{UiClock};
    TWatchedUiThread GuardUi{Ui};
    TFakeLocalTime Time;
    TMemoryRegistry Registry;
    TMemoryFileSystem Files;
    TMemoryProfile Profile{Files};
    TFakeProcesses Processes;
    TFakeShell Shell;
    TFakeProcessWalk Table;
    std::unique_ptr<TLinewardenForm> Form;
    // What the guard reaches RAS through: the simulator, or something that watches it.
    IRasApi* RasApi = &Ras;
    // An NT system unless a test says otherwise: the guard is installed for its user.
    bool Windows95Family = false;
    // The user's application-data folder ("" for none).
    std::string AppData;
    static constexpr const char* kLog = "C:\\Guard\\MLinewarden.log";

    TGuardWorld()
    {
        Files.AddFolder("C:\\Guard");
        Time.Time = TLocalTime{2026, 12, 6, 14, 5, 9};
        Processes.Program = kProgram;
        // Options as a user who has run the guard before and switched everything on.
        SetOption(SKeyFirstRun, false);
        SetOption(SKeyCheckAllowedNumbers, true);
        SetOption(SKeyAutoDeleteDialUp, true);
        SetOption(SKeyAutoDeleteDialers, true);
        SetOption(SKeyAskBeforeDeleteDialUp, false);
    }
    ~TGuardWorld() { Form.reset(); }

    static constexpr const char* kConfig = "C:\\Guard\\MLinewarden.cfg";
    void SetOption(const std::string& key, bool on)
    {
        Profile.Set(kConfig, SSectionMain, key, on ? "1" : "0");
    }
    // What the configuration file holds under key ("" when nothing).
    std::string Saved(const std::string& key) const
    {
        return Profile.Value(kConfig, SSectionMain, key);
    }
    void Allow(const std::vector<std::string>& numbers)
    {
        Profile.Set(kConfig, SSectionMain, SKeyNumberCount, std::to_string(numbers.size()));
        for (size_t i = 0; i < numbers.size(); ++i)
            Profile.Set(kConfig, SSectionMain, Format(SKeyNumberFmt, static_cast<int>(i)),
                        numbers[i]);
    }

    void Start()
    {
        TGuardPorts ports{View,
                          Dialogs,
                          Tray,
                          nullptr,
                          *RasApi,
                          GuardUi,
                          SystemClock(),
                          Profile,
                          Time,
                          TToolsPorts{Registry, Files, Processes, Shell, kProgram,
                                      kUnpackerTimeLimitMs, Table},
                          Windows95Family,
                          AppData};
        Form = std::make_unique<TLinewardenForm>(ports);
        View.OnMinimize = [this] { Form->ApplicationEventsMinimize(); };
        View.Report.clear();
    }

    // Lets ms pass on the user-interface thread's clock and runs the timers then due.
    void PassTime(uint32_t ms)
    {
        UiClock.Advance(ms);
        Ui.ProcessMessages();
    }

    // A dialer program of that path: small, holding the dial function's name, running as id.
    void InstallDialer(const std::string& path, uint32_t runningId = 0)
    {
        Files.AddFile(path, std::string(2000, 'x') + "RasDialA" + std::string(100, 'y'));
        if (runningId) Table.Add(runningId, path);
    }
    void AddRunValue(const std::string& name, const std::string& commandLine)
    {
        Registry.SetValue(TRegRoot::LocalMachine, kRunKey, name, TRegValue::String(commandLine));
    }
    bool HasRunValue(const std::string& name)
    {
        TRegValue value;
        auto key = Registry.OpenKey(TRegRoot::LocalMachine, kRunKey, TRegAccess::Read);
        return key && key->ReadValue(name, value);
    }
    // Whether either Run key starts the guard.
    bool StartsWithWindows() const
    {
        for (TRegRoot root : {TRegRoot::LocalMachine, TRegRoot::CurrentUser})
            if (Registry.Value(root, kRunKey, kAutoStartValueName)) return true;
        return false;
    }

    // Connections made from outside, each with its entry: the live number ("" when the
    // connection reports none), the dial parameters' number and the entry's own.
    struct TConn {
        std::string Entry, Live, Override, Own;
    };
    void Connect(const std::vector<TConn>& connections)
    {
        for (const TConn& c : connections) {
            Ras.AddEntry(c.Entry, c.Own, c.Override);
            const THRasConn handle = Ras.AddConnection(c.Entry, c.Live);
            if (c.Live.empty()) Ras.FailStatus(handle, 6, true);
        }
    }
    std::vector<std::string> ConnectedEntries() const
    {
        std::vector<std::string> entries;
        for (const auto& c : Ras.Connections()) entries.push_back(c.Entry);
        return entries;
    }
};
