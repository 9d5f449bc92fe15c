// Drives and reads the running guard from outside, for the end-to-end runs, scripts/run.sh and
// by hand:
//
//   lw-guard-probe wait-window <timeout-ms>    waits until the guard's main window exists
//   lw-guard-probe wait-shown <timeout-ms>     ... until it is visible
//   lw-guard-probe wait-hidden <timeout-ms>    ... until it is hidden (the start-up tick ran)
//   lw-guard-probe wait-gone <timeout-ms>      ... until no guard window is left
//   lw-guard-probe menu <item>                 posts a menu command: configuration, report,
//                                              log, check-connections, check-dialers, exit
//   lw-guard-probe geometry <margin> [question] prints the rectangle of the window (or of the
//                                              open question), widened by the margin, as
//                                              ImageMagick's WxH+X+Y
//   lw-guard-probe wait-question <timeout-ms>  waits for a question and prints it, unanswered
//   lw-guard-probe answer yes|no <count>|all <timeout-ms>
//                                              answers count questions (all: until none comes
//                                              within the time-out), printing each as
//                                              caption|value1|value2; fails when two questions
//                                              are open at once
//   lw-guard-probe questions                   prints how many questions are open
//   lw-guard-probe guards                      prints how many guard windows there are
//   lw-guard-probe report                      prints the report's rows as time|text
//   lw-guard-probe wait-report <timeout-ms> <text>  waits until a row contains the text
//   lw-guard-probe alive                       fails unless the guard answers within 5 s
//   lw-guard-probe messagebox <timeout-ms> <caption>
//                                              waits for the guard's message box with that
//                                              caption, prints its text and presses OK
//   lw-guard-probe wait-tray <timeout-ms>      waits until the guard's tray icon is registered
//   lw-guard-probe wait-balloon <timeout-ms> <text>
//                                              waits until the notification area shows a
//                                              balloon whose text contains the text
//   lw-guard-probe windows                     prints every top-level window as
//                                              class|visible or hidden|text
//   lw-guard-probe memory                      prints the guard process's private bytes and
//                                              working set (and their peaks) in bytes
//
// Output is UTF-8. Exit code 0 on success, 2 on a time-out or an unknown command, 3 when two
// questions were open at once, 4 when a message box was not the guard's main window's or had
// a button other than OK. With LW_DESKTOP set in the environment it looks into that desktop
// (a Wine virtual desktop) rather than its own.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "guard/win32/GuardIds.h"
#include "wine/guard/GuardReading.h"

namespace {

HWND Guard()
{
    return FindWindowW(Wide(kMainWindowClass).c_str(), nullptr);
}

HWND Report()
{
    return GetDlgItem(GetDlgItem(Guard(), ControlId(idReportPanel)), ControlId(idReport));
}

void Print(const std::string& line)
{
    const std::string text = line + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

// The guard's open questions: its visible dialogs that carry the question's two values.
std::vector<HWND> OpenQuestions()
{
    DWORD process = 0;
    if (!Guard() || !GetWindowThreadProcessId(Guard(), &process)) return {};
    const std::string dialogClass = kDialogClass;
    return TopLevelWindows(process, [&](HWND window) {
        return ClassOf(window) == dialogClass &&
               GetDlgItem(window, ControlId(idQuestionValue1)) != nullptr;
    });
}

std::string Describe(HWND question)
{
    return TextOf(question) + "|" + TextOf(GetDlgItem(question, ControlId(idQuestionValue1))) +
           "|" + TextOf(GetDlgItem(question, ControlId(idQuestionValue2)));
}

// Waits for one open question; sets twoAtOnce when more than one was open at any time.
HWND WaitQuestion(DWORD timeout, bool& twoAtOnce)
{
    HWND found = nullptr;
    WaitFor(timeout, [&] {
        const std::vector<HWND> open = OpenQuestions();
        if (open.size() > 1) twoAtOnce = true;
        found = open.empty() ? nullptr : open.front();
        return found != nullptr;
    });
    return found;
}

int Answer(bool yes, const std::string& count, DWORD timeout)
{
    const bool all = count == "all";
    const long wanted = all ? -1 : std::strtol(count.c_str(), nullptr, 10);
    bool twoAtOnce = false;
    for (long answered = 0; all || answered < wanted; ++answered) {
        HWND question = WaitQuestion(timeout, twoAtOnce);
        if (!question) return all ? (twoAtOnce ? 3 : 0) : 2;
        Print(Describe(question));
        const TControlId button = yes ? idQuestionAccept : idQuestionCancel;
        PostMessageW(question, WM_COMMAND, MAKEWPARAM(ControlId(button), BN_CLICKED), 0);
        if (!WaitFor(10000, [&] {
                if (OpenQuestions().size() > 1) twoAtOnce = true;
                return !IsWindow(question) || !IsWindowVisible(question);
            }))
            return 2;
    }
    return twoAtOnce ? 3 : 0;
}

// A message box of the guard with this caption, whichever window owns it: the system's dialog
// class, which the guard's own dialogs do not use.
HWND FindMessageBox(const std::string& caption)
{
    DWORD process = 0;
    if (!Guard() || !GetWindowThreadProcessId(Guard(), &process)) return nullptr;
    const std::vector<HWND> found = TopLevelWindows(process, [&](HWND window) {
        return ClassOf(window) == "#32770" && TextOf(window) == caption;
    });
    return found.empty() ? nullptr : found.front();
}

// The box may still be filling in its controls when it first shows: it is read once its text
// (the one static control with text; the icon is a static without) is there.
int DismissMessageBox(const std::string& caption, DWORD timeout)
{
    HWND box = nullptr;
    std::vector<HWND> texts;
    if (!WaitFor(timeout, [&] {
            box = FindMessageBox(caption);
            texts.clear();
            if (box)
                texts = ChildWindows(box, [](HWND child) {
                    return ClassOf(child) == "Static" && !TextOf(child).empty();
                });
            return !texts.empty();
        }))
        return 2;
    Print(TextOf(texts.front()));
    const std::vector<HWND> buttons = ChildWindows(
            box, [](HWND child) { return IsWindowVisible(child) && ClassOf(child) == "Button"; });
    const bool plain = GetWindow(box, GW_OWNER) == Guard() && buttons.size() == 1 &&
                       GetDlgCtrlID(buttons.front()) == IDOK;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (!WaitFor(10000, [&] { return !IsWindow(box) || !IsWindowVisible(box); })) return 2;
    return plain ? 0 : 4;
}

bool ReportContains(const std::string& text)
{
    HWND report = Report();
    const int rows = static_cast<int>(SendMessageW(report, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row)
        if (ReportCell(report, row, 1).find(text) != std::string::npos) return true;
    return false;
}

int PrintGeometry(HWND window, long margin)
{
    RECT r;
    if (!window || !GetWindowRect(window, &r)) return 2;
    const long left = r.left > margin ? r.left - margin : 0,
               top = r.top > margin ? r.top - margin : 0;
    Print(std::to_string(r.right + margin - left) + "x" + std::to_string(r.bottom + margin - top) +
          "+" + std::to_string(left) + "+" + std::to_string(top));
    return 0;
}

int PostMenu(const std::string& name)
{
    const struct {
        const char* Name;
        TMenuItem Item;
    } items[] = {{"configuration", TMenuItem::Configuration},
                 {"report", TMenuItem::Report},
                 {"log", TMenuItem::ActivityLog},
                 {"check-connections", TMenuItem::DisconnectUnknownConnection},
                 {"check-dialers", TMenuItem::CheckActiveDialers},
                 {"exit", TMenuItem::Exit}};
    for (const auto& item : items)
        if (name == item.Name)
            return PostMessageW(Guard(), WM_COMMAND, MenuCommandId(item.Item), 0) ? 0 : 2;
    return 2;
}

// Whether the shell holds the guard's tray icon: it changes an icon only when it holds one for
// that window and id.
bool TrayIconRegistered()
{
    NOTIFYICONDATAW probe{};
    probe.cbSize = NOTIFYICONDATAW_V1_SIZE;
    probe.hWnd = FindWindowW(Wide(kTrayWindowClass).c_str(), nullptr);
    probe.uID = 100;
    return probe.hWnd && Shell_NotifyIconW(NIM_MODIFY, &probe);
}

// A balloon of the notification area that shows the text. The shell shows a balloon as a tool
// tip window of its own, which answers WM_GETTEXT with the balloon's text.
struct TBalloonSearch {
    std::wstring Text;
    bool Found;
};

BOOL CALLBACK FindBalloon(HWND window, LPARAM data)
{
    auto& search = *reinterpret_cast<TBalloonSearch*>(data);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (!IsWindowVisible(window) || std::wstring(name) != TOOLTIPS_CLASSW) return TRUE;
    // Sent rather than read: for another process's window GetWindowText gives only the title it
    // was made with, and a tool tip keeps its text to itself.
    wchar_t shown[512] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(shown), SMTO_ABORTIFHUNG,
                        2000, &ignored);
    shown[511] = 0;
    search.Found = std::wstring(shown).find(search.Text) != std::wstring::npos;
    return !search.Found;
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM)
{
    wchar_t name[64] = {}, text[256] = {};
    GetClassNameW(window, name, 64);
    GetWindowTextW(window, text, 256);
    Print(Narrow(name, wcslen(name)) + (IsWindowVisible(window) ? "|visible|" : "|hidden|") +
          Narrow(text, wcslen(text)));
    return TRUE;
}

bool BalloonShows(const std::string& text)
{
    TBalloonSearch search{Wide(text), false};
    EnumWindows(FindBalloon, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// The guard's memory as the system counts it. K32GetProcessMemoryInfo is looked up in kernel32
// rather than linked from PSAPI.DLL, as the guard itself binds that library by name.
int PrintMemory()
{
    using TQuery = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
    const auto query = reinterpret_cast<TQuery>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "K32GetProcessMemoryInfo")));
    DWORD id = 0;
    if (!query || !Guard() || !GetWindowThreadProcessId(Guard(), &id)) return 2;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
    if (!process) return 2;
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    const bool ok =
            query(process, reinterpret_cast<PPROCESS_MEMORY_COUNTERS>(&counters), sizeof counters);
    CloseHandle(process);
    if (!ok) return 2;
    // Private bytes are the commit charge (PagefileUsage), as Windows counts them; Wine leaves
    // PrivateUsage at 0.
    Print("private " + std::to_string(counters.PagefileUsage) + "\nworking-set " +
          std::to_string(counters.WorkingSetSize) + "\npeak-private " +
          std::to_string(counters.PeakPagefileUsage) + "\npeak-working-set " +
          std::to_string(counters.PeakWorkingSetSize));
    return 0;
}

// The arguments as the user typed them, Polish letters included, in UTF-8.
std::vector<std::string> Arguments()
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide && i < count; ++i) arguments.push_back(Narrow(wide[i], wcslen(wide[i])));
    LocalFree(wide);
    return arguments;
}

}  // namespace

int main()
{
    const std::vector<std::string> args = Arguments();
    if (args.size() < 2) return 2;
    wchar_t desktopName[64];
    if (GetEnvironmentVariableW(L"LW_DESKTOP", desktopName, 64) - 1u < 63u) {
        // The desktop comes with the program started in it; it may not be there yet.
        HDESK desktop = nullptr;
        WaitFor(30000, [&] {
            return (desktop = OpenDesktopW(desktopName, 0, FALSE, GENERIC_ALL)) != nullptr;
        });
        if (!desktop || !SetThreadDesktop(desktop)) return 2;
    }
    const std::string& command = args[1];
    const std::string first = args.size() > 2 ? args[2] : "";
    const DWORD timeout = static_cast<DWORD>(std::strtoul(first.c_str(), nullptr, 10));
    const auto result = [](bool ok) { return ok ? 0 : 2; };
    if (command == "wait-window")
        return result(WaitFor(timeout, [] { return Guard() != nullptr; }));
    if (command == "wait-shown")
        return result(WaitFor(timeout, [] { return Guard() && IsWindowVisible(Guard()); }));
    if (command == "wait-hidden")
        return result(WaitFor(timeout, [] { return Guard() && !IsWindowVisible(Guard()); }));
    if (command == "wait-gone") return result(WaitFor(timeout, [] { return Guard() == nullptr; }));
    if (command == "menu") return PostMenu(first);
    if (command == "geometry") {
        const bool question = args.size() > 3 && args[3] == "question";
        const std::vector<HWND> open = question ? OpenQuestions() : std::vector<HWND>{Guard()};
        return PrintGeometry(open.empty() ? nullptr : open.front(), static_cast<long>(timeout));
    }
    if (command == "wait-question") {
        bool twoAtOnce = false;
        HWND question = WaitQuestion(timeout, twoAtOnce);
        if (question) Print(Describe(question));
        return question ? (twoAtOnce ? 3 : 0) : 2;
    }
    if (command == "answer" && args.size() > 4 && (first == "yes" || first == "no"))
        return Answer(first == "yes", args[3],
                      static_cast<DWORD>(std::strtoul(args[4].c_str(), nullptr, 10)));
    if (command == "questions") {
        Print(std::to_string(OpenQuestions().size()));
        return 0;
    }
    if (command == "guards") {
        Print(std::to_string(CountGuardWindows()));
        return 0;
    }
    if (command == "report") {
        HWND report = Report();
        if (!report) return 2;
        const int rows = static_cast<int>(SendMessageW(report, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < rows; ++row)
            Print(ReportCell(report, row, 0) + "|" + ReportCell(report, row, 1));
        return 0;
    }
    if (command == "wait-report" && args.size() > 3)
        return result(WaitFor(timeout, [&] { return Guard() && ReportContains(args[3]); }));
    if (command == "messagebox" && args.size() > 3) return DismissMessageBox(args[3], timeout);
    if (command == "alive") {
        DWORD_PTR ignored = 0;
        return result(Guard() && SendMessageTimeoutW(Guard(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000,
                                                     &ignored));
    }
    if (command == "wait-tray") return result(WaitFor(timeout, TrayIconRegistered));
    if (command == "wait-balloon" && args.size() > 3)
        return result(WaitFor(timeout, [&] { return BalloonShows(args[3]); }));
    if (command == "windows") return EnumWindows(PrintWindow, 0) ? 0 : 2;
    if (command == "memory") return PrintMemory();
    return 2;
}
