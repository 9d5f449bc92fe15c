// The shipped MLinewarden.exe under Wine, driven and read from outside as another program sees
// it: its window against the layout table, the tray icon, the end of a session, a second start,
// the dialogs, Exit with the configuration file and the Run value, and a quiet resident guard.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "wine/LayoutCheck.h"
#include "wine/WineTestSupport.h"
#include "wine/guard/GuardReading.h"
#include "guard/GuardTexts.h"
#include "guard/Layout.h"
#include "guard/NumberEdit.h"
#include "guard/win32/GuardIds.h"
#include "platform/win32/WindowOwners.h"

namespace {

void RemoveFolder(const std::string& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::u8path(folder), ignored);
}

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string HereFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::string text = Narrow(path, n);
    return text.substr(0, text.find_last_of('\\'));
}

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The DPI that the guard under test started with.
int gGuardDpi = 0;
int Dpi()
{
    return gGuardDpi ? gGuardDpi : ScreenDpi();
}
int Px(int pixels)
{
    return ScaleForDpi(pixels, Dpi());
}

// Each control of the table that shows a text from the start shows the guard's text for it (the
// tables hold ids, not texts, so ExpectWindowMatchesLayout leaves them to this).
void ExpectControlTexts(HWND window, const TWindowLayout& layout)
{
    for (int i = 0; i < layout.Count; ++i) {
        TGuardText text;
        if (!GuardControlText(layout.Controls[i].Id, text)) continue;
        SCOPED_TRACE(layout.Controls[i].Name);
        EXPECT_EQ(TextOf(layout_check::FindControlWindow(window, layout.Controls[i].Id)),
                  GuardText(text, TLanguage::Polish));
    }
}

// The system DPI that processes started from now on read (Wine takes it from the user's desktop
// settings when a process starts); the setting before is put back when this goes.
class TStartDpi {
public:
    explicit TStartDpi(int dpi)
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                        KEY_READ | KEY_WRITE, nullptr, &FKey, nullptr);
        DWORD size = sizeof FOld;
        FHadOld = RegQueryValueExW(FKey, L"LogPixels", nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&FOld), &size) == ERROR_SUCCESS;
        const DWORD value = static_cast<DWORD>(dpi);
        RegSetValueExW(FKey, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
    }
    ~TStartDpi()
    {
        if (FHadOld)
            RegSetValueExW(FKey, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&FOld),
                           sizeof FOld);
        else
            RegDeleteValueW(FKey, L"LogPixels");
        RegCloseKey(FKey);
    }

private:
    HKEY FKey = nullptr;
    DWORD FOld = 0;
    bool FHadOld = false;
};

bool ReadRunValue(const std::string& name, std::string& value, HKEY root = HKEY_LOCAL_MACHINE)
{
    HKEY key;
    if (RegOpenKeyExW(root, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    const LONG result = RegQueryValueExW(key, Wide(name).c_str(), nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    value = Narrow(data, wcsnlen(data, 1023));
    return result == ERROR_SUCCESS;
}

void SetRunValue(const std::string& name, const std::string& value)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    const std::wstring data = Wide(value);
    RegSetValueExW(key, Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void DeleteRunValue(const std::string& name, HKEY root = HKEY_LOCAL_MACHINE)
{
    HKEY key;
    if (RegOpenKeyExW(root, kRunKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, Wide(name).c_str());
    RegCloseKey(key);
}

std::string ProfileValue(const std::string& file, const char* key)
{
    wchar_t value[256] = {};
    GetPrivateProfileStringW(L"Main", Wide(key).c_str(), L"", value, 256, Wide(file).c_str());
    return Narrow(value, wcsnlen(value, 255));
}

// One guard, started from its own copy in a folder of its own (with a Polish letter in its name,
// as users' folders have), with the configuration file given.
class TGuard {
public:
    TGuard(const std::string& name, const std::string& config)
        : Folder(HereFolder() + "\\Strażnik-" + name), Program(Folder + "\\MLinewarden.exe")
    {
        RemoveFolder(Folder);
        CreateDirectoryW(Wide(Folder).c_str(), nullptr);
        CopyFileW(Wide(HereFolder() + "\\MLinewarden.exe").c_str(), Wide(Program).c_str(), FALSE);
        if (!config.empty()) {
            HANDLE file = CreateFileW(Wide(Config()).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            WriteFile(file, config.data(), static_cast<DWORD>(config.size()), &written, nullptr);
            CloseHandle(file);
        }
        Process = Start();
    }
    ~TGuard()
    {
        if (Process.hProcess) {
            if (WaitForSingleObject(Process.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(Process.hProcess, 99);
            WaitForSingleObject(Process.hProcess, 5000);
            CloseHandle(Process.hProcess);
            CloseHandle(Process.hThread);
        }
        RemoveFolder(Folder);
    }
    std::string Config() const { return Folder + "\\MLinewarden.cfg"; }

    PROCESS_INFORMATION Start() const
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        std::wstring command = L"\"" + Wide(Program) + L"\"";
        CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                       Wide(Folder).c_str(), &startup, &info);
        return info;
    }

    // The main window, once it has shown and the start-up tick has hidden it into the tray.
    HWND WaitResident()
    {
        HWND window = nullptr;
        EXPECT_TRUE(WaitFor(20000, [&] {
            return (window = FindWindowW(Wide(kMainWindowClass).c_str(), nullptr)) &&
                   IsWindowVisible(window);
        })) << "the guard's window did not show";
        EXPECT_TRUE(WaitFor(20000, [&] { return !IsWindowVisible(window); }))
                << "the guard did not go into the tray";
        return window;
    }

    // Ends the guard through its menu; its exit code.
    DWORD Exit(HWND window)
    {
        PostMessageW(window, WM_COMMAND, MenuCommandId(TMenuItem::Exit), 0);
        EXPECT_EQ(WaitForSingleObject(Process.hProcess, 20000), WAIT_OBJECT_0)
                << "the guard did not end on Exit";
        DWORD code = 0;
        GetExitCodeProcess(Process.hProcess, &code);
        return code;
    }

    const std::string Folder, Program;
    PROCESS_INFORMATION Process{};
};

const char kQuietConfig[] = "[Main]\r\nFirstRun=0\r\nAutoStart=0\r\nIdentAutoDeleteDialers=0\r\n";

}  // namespace

// The window at the screen's DPI and at 120 DPI, where every length of the layout scales.
void CheckWindowAt(int dpi)
{
    gGuardDpi = dpi;
    TStartDpi startDpi(dpi);
    TGuard guard("layout", kQuietConfig);
    HWND main = guard.WaitResident();
    ASSERT_NE(main, nullptr);
    auto command = [&](TMenuItem item) { PostMessageW(main, WM_COMMAND, MenuCommandId(item), 0); };
    command(TMenuItem::Configuration);
    ASSERT_TRUE(WaitFor(5000, [&] { return IsWindowVisible(main) && !IsIconic(main); }))
            << "the options did not come up";

    EXPECT_EQ(TextOf(main), kGuardCaption);
    const LONG style = GetWindowLongW(main, GWL_STYLE);
    // The small caption of a tool window, yet a taskbar button while the window is up.
    const LONG exStyle = GetWindowLongW(main, GWL_EXSTYLE);
    EXPECT_TRUE((exStyle & WS_EX_TOOLWINDOW) && (exStyle & WS_EX_APPWINDOW));
    EXPECT_TRUE((style & WS_SYSMENU) && (style & WS_CAPTION));
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    ExpectWindowMatchesLayout(main, MainWindowLayout(), Dpi());
    ExpectControlTexts(main, MainWindowLayout());
    HWND panel = GetDlgItem(main, ControlId(idReportPanel));
    EXPECT_FALSE(IsWindowVisible(panel)) << "the report shows before it is asked for";
    HWND title = GetDlgItem(main, ControlId(idAppTitle));
    EXPECT_EQ(TextOf(title), std::string(kGuardCaption) + " - " + kHomePage);
    // ... and the whole of it fits the label in the label's bold Tahoma, with no ellipsis.
    const TFontHandle bold(CreateFontW(-MulDiv(8, Dpi(), 72), 0, 0, 0, FW_BOLD, 0, 0, 0,
                                       DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    const std::wstring titleText = Wide(TextOf(title));
    SIZE extent{};
    {
        TWindowDc screen(nullptr);
        TSelection font(screen.get(), bold.get());
        GetTextExtentPoint32W(screen.get(), titleText.c_str(), static_cast<int>(titleText.size()),
                              &extent);
    }
    RECT titleRect;
    GetClientRect(title, &titleRect);
    EXPECT_LE(extent.cx, titleRect.right) << "the title line is cut";

    // The option check boxes, in tab order.
    std::vector<std::string> options;
    for (HWND w = GetWindow(main, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        if ((GetWindowLongW(w, GWL_STYLE) & WS_TABSTOP) &&
            (GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX &&
            ClassOf(w) == "Button")
            options.push_back(TextOf(w));
    std::vector<std::string> expected;
    for (TGuardText option :
         {TGuardText::AutoStartOption, TGuardText::CheckAllowedNumbersOption,
          TGuardText::AutoDeleteDialUpOption, TGuardText::AutoDeleteDialersOption,
          TGuardText::AskBeforeDeleteDialUpOption, TGuardText::CheckWhileDiallingOption})
        expected.push_back(GuardText(option, TLanguage::Polish));
    EXPECT_EQ(options, expected);

    HWND report = GetDlgItem(panel, ControlId(idReport));
    const TColumn time = ReportColumn(report, 0), text = ReportColumn(report, 1);
    EXPECT_EQ(time.Text, GuardText(TGuardText::ReportTimeColumn, TLanguage::Polish));
    EXPECT_EQ(time.Width, Px(kReportTimeWidth));
    EXPECT_EQ(text.Text, GuardText(TGuardText::ReportTextColumn, TLanguage::Polish));
    EXPECT_EQ(text.Width, Px(kReportTextWidth));
    ASSERT_GE(SendMessageW(report, LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(ReportCell(report, 0, 1),
              GuardText(TGuardText::ReportStart, TLanguage::Polish) + kGuardCaption);
    EXPECT_EQ(ReportCell(report, 0, 0).size(), 17u);

    // A check appends the progress panel; the first one is as wide as the window less 160
    // pixels.
    HWND status = GetDlgItem(main, ControlId(idStatusBar));
    EXPECT_EQ(StatusParts(status).size(), 1u);
    command(TMenuItem::CheckActiveDialers);
    std::vector<int> parts;
    EXPECT_TRUE(WaitFor(20000, [&] { return (parts = StatusParts(status)).size() == 2; }));
    ASSERT_EQ(parts.size(), 2u);
    RECT frame;
    GetWindowRect(main, &frame);
    EXPECT_EQ(parts[0], Px(MulDiv(frame.right - frame.left, 96, Dpi()) - 160));
    EXPECT_EQ(parts[1], -1);

    command(TMenuItem::Report);
    EXPECT_TRUE(WaitFor(5000, [&] { return IsWindowVisible(panel) != FALSE; }));
    EXPECT_EQ(GetWindow(main, GW_CHILD), panel) << "the report is not in front of the options";

    // The tray icon: the shell changes an icon only when it holds one for that window and id.
    HWND tray = FindWindowW(Wide(kTrayWindowClass).c_str(), nullptr);
    ASSERT_NE(tray, nullptr);
    NOTIFYICONDATAW probe{};
    probe.cbSize = NOTIFYICONDATAW_V1_SIZE;
    probe.hWnd = tray;
    probe.uID = 100;
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &probe)) << "no tray icon registered";

    DWORD_PTR answer = 0;
    ASSERT_TRUE(
            SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    EXPECT_EQ(guard.Exit(main), 0u);
}

TEST(GuardWindow, ReadsBackAsLaidOutAndLivesInTheTray)
{
    for (const int dpi : {ScreenDpi(), 120}) {
        SCOPED_TRACE(std::to_string(dpi) + " DPI");
        CheckWindowAt(dpi);
    }
    gGuardDpi = 0;
}

// A second start brings the first guard up and leaves at once; the close box hides the guard and
// saves its options; Exit ends it and sets the Run value to match AutoStart: the user's, since
// on NT the guard is installed for its user.
TEST(GuardLifecycle, SecondStartAndExitFollowTheOptions)
{
    for (const bool autoStart : {true, false}) {
        SCOPED_TRACE(autoStart ? "AutoStart=1" : "AutoStart=0");
        // A Run value left from before must go when the option is off.
        SetRunValue(kAutoStartValueName, "C:\\stale\\MLinewarden.exe");
        TGuard guard("exit",
                     std::string("[Main]\r\nFirstRun=0\r\nIdentAutoDeleteDialers=0\r\nAutoStart=") +
                             (autoStart ? "1" : "0") + "\r\n");
        HWND main = guard.WaitResident();
        ASSERT_NE(main, nullptr);

        PROCESS_INFORMATION second = guard.Start();
        ASSERT_NE(second.hProcess, nullptr);
        EXPECT_EQ(WaitForSingleObject(second.hProcess, 10000), WAIT_OBJECT_0)
                << "the second guard stayed";
        DWORD code = 1;
        GetExitCodeProcess(second.hProcess, &code);
        CloseHandle(second.hProcess);
        CloseHandle(second.hThread);
        EXPECT_EQ(code, 0u);
        EXPECT_EQ(CountGuardWindows(), 1);
        EXPECT_TRUE(WaitFor(5000, [&] { return IsWindowVisible(main) != FALSE; }))
                << "the first guard did not come up";

        // The close box only hides the guard into the tray, saving the options on the way.
        DeleteFileW(Wide(guard.Config()).c_str());
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitFor(5000, [&] { return !IsWindowVisible(main); }))
                << "closing did not hide the guard";
        EXPECT_EQ(WaitForSingleObject(guard.Process.hProcess, 500),
                  static_cast<DWORD>(WAIT_TIMEOUT));
        EXPECT_EQ(ProfileValue(guard.Config(), "AutoStart"), autoStart ? "1" : "0")
                << "closing did not save";

        EXPECT_EQ(guard.Exit(main), 0u);
        EXPECT_EQ(ProfileValue(guard.Config(), "AutoStart"), autoStart ? "1" : "0");
        EXPECT_EQ(ProfileValue(guard.Config(), "FirstRun"), "0");
        std::string run;
        EXPECT_EQ(ReadRunValue(kAutoStartValueName, run, HKEY_CURRENT_USER), autoStart);
        if (autoStart) {
            EXPECT_EQ(run, guard.Program);
        }
        // The machine's value is not written, only deleted with the option off.
        EXPECT_EQ(ReadRunValue(kAutoStartValueName, run), autoStart);
    }
    DeleteRunValue(kAutoStartValueName);
    DeleteRunValue(kAutoStartValueName, HKEY_CURRENT_USER);
}

// The number editor as a user meets it: the add button opens it over a disabled main window, a
// blank keeps it from being accepted, the accepted number lands in the list and the file, and
// Escape leaves without a change.
TEST(GuardDialogs, NumberEditorAcceptsDigitsOnly)
{
    TGuard guard("number", kQuietConfig);
    HWND main = guard.WaitResident();
    ASSERT_NE(main, nullptr);
    HWND list = GetDlgItem(main, ControlId(idNumbers));
    const DWORD process = guard.Process.dwProcessId;

    auto openEditor = [&] {
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(ControlId(idAddNumber), BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(main, ControlId(idAddNumber))));
        HWND dialog = nullptr;
        EXPECT_TRUE(WaitFor(10000, [&] {
            return (dialog = FindTopLevel(process, kDialogClass,
                                          GuardText(TGuardText::NumberFormCaption,
                                                    TLanguage::Polish))) != nullptr;
        }));
        return dialog;
    };

    HWND dialog = openEditor();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main));
    HWND edit = GetDlgItem(dialog, ControlId(idNumberEdit));
    HWND accept = GetDlgItem(dialog, ControlId(idNumberAccept));
    EXPECT_EQ(TextOf(GetDlgItem(dialog, ControlId(idNumberInfo))),
              GuardText(TGuardText::NumberInfoAdd, TLanguage::Polish));
    ExpectControlTexts(dialog, NumberFormLayout());
    const struct {
        const wchar_t* Text;
        bool Acceptable;
    } typed[] = {{L"", false}, {L"0202 122", false}, {L"0-202", false}, {L"0202122", true}};
    for (const auto& t : typed) {
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(t.Text));
        EXPECT_EQ(IsWindowEnabled(accept) != FALSE, t.Acceptable) << Narrow(t.Text, wcslen(t.Text));
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(ControlId(idNumberAccept), BN_CLICKED),
                 reinterpret_cast<LPARAM>(accept));
    EXPECT_TRUE(WaitFor(5000, [&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
    // The first allowed number switches the protection on.
    EXPECT_EQ(SendMessageW(GetDlgItem(main, ControlId(idCheckAllowedNumbers)), BM_GETCHECK, 0, 0),
              BST_CHECKED);

    dialog = openEditor();
    ASSERT_NE(dialog, nullptr);
    edit = GetDlgItem(dialog, ControlId(idNumberEdit));
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"111"));
    PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor(5000, [&] { return !IsWindow(dialog); }));
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);

    EXPECT_EQ(guard.Exit(main), 0u);
    EXPECT_EQ(ProfileValue(guard.Config(), "IdentNumberCount"), "1");
    EXPECT_EQ(ProfileValue(guard.Config(), "IdentNumberFmt_0"), "0202122");
    EXPECT_EQ(ProfileValue(guard.Config(), "CheckAllowedNumbers"), "1");
}

// A program registered to start with Windows that looks up the dial function is a dialer: the
// start-up check asks about it, with the question fitted and the buttons below it; declining
// keeps it and says so in the report, and Exit while the question is open ends the guard.
TEST(GuardDialogs, DetectionDialogAsksAboutADialer)
{
    const std::string sample = HereFolder() + "\\lw-dialer-sample.exe";
    SetRunValue("LwGuardSample", sample);
    TGuard guard("question", "[Main]\r\nFirstRun=0\r\nAutoStart=0\r\nIdentAutoDeleteDialers=1\r\n");
    HWND dialog = nullptr;
    EXPECT_TRUE(WaitFor(30000, [&] {
        return (dialog = FindTopLevel(guard.Process.dwProcessId, kDialogClass, "Wykryty Dialer")) !=
               nullptr;
    })) << "no question about the dialer";
    if (dialog != nullptr) {
        EXPECT_EQ(TextOf(GetDlgItem(dialog, ControlId(idQuestionValue1))), "LwGuardSample");
        EXPECT_EQ(TextOf(GetDlgItem(dialog, ControlId(idQuestionValue2))), sample);
        ExpectControlTexts(dialog, QuestionFormLayout());
        const RECT quest = RectIn(GetDlgItem(dialog, ControlId(idQuestionQuest)), dialog);
        const RECT yes = RectIn(GetDlgItem(dialog, ControlId(idQuestionAccept)), dialog);
        const RECT no = RectIn(GetDlgItem(dialog, ControlId(idQuestionCancel)), dialog);
        const int h = yes.bottom - yes.top;
        // The seven-line question grows its label beyond the first 30 pixels.
        EXPECT_GT(quest.bottom - quest.top, Px(30) * 3);
        EXPECT_EQ(yes.top, quest.bottom + 2 * h / 4);
        EXPECT_EQ(no.top, yes.top);
        RECT client;
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.bottom, quest.bottom + 2 * h);
        PostMessageW(GetDlgItem(dialog, ControlId(idQuestionAccept)), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(WaitFor(5000, [&] { return !IsWindow(dialog); }));
    }
    HWND main = FindWindowW(Wide(kMainWindowClass).c_str(), nullptr);
    ASSERT_NE(main, nullptr);
    HWND report = GetDlgItem(GetDlgItem(main, ControlId(idReportPanel)), ControlId(idReport));
    EXPECT_TRUE(WaitFor(10000, [&] { return SendMessageW(report, LVM_GETITEMCOUNT, 0, 0) >= 2; }));
    EXPECT_EQ(ReportCell(report, 1, 1).rfind("Uwaga! Nie został usunięty", 0), 0u)
            << ReportCell(report, 1, 1);
    // Asked again from the menu, the user picks Exit from the tray while the question is open:
    // the question goes as declined and the guard ends.
    PostMessageW(main, WM_COMMAND, MenuCommandId(TMenuItem::CheckActiveDialers), 0);
    EXPECT_TRUE(WaitFor(30000, [&] {
        return (dialog = FindTopLevel(guard.Process.dwProcessId, kDialogClass, "Wykryty Dialer")) !=
               nullptr;
    })) << "no second question";
    EXPECT_EQ(guard.Exit(main), 0u);
    std::string kept;
    EXPECT_TRUE(ReadRunValue("LwGuardSample", kept)) << "a declined dialer was removed";
    DeleteRunValue("LwGuardSample");
}

// Resident, the guard waits for notifications and does nothing else: no polling.
TEST(GuardIdle, UsesNoProcessorTimeWhileResident)
{
    TGuard guard("idle", kQuietConfig);
    HWND main = guard.WaitResident();
    ASSERT_NE(main, nullptr);
    Sleep(2000);
    auto cpu = [&] {
        FILETIME created, exited, kernel, user;
        GetProcessTimes(guard.Process.hProcess, &created, &exited, &kernel, &user);
        auto value = [](const FILETIME& t) {
            return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
        };
        return value(kernel) + value(user);
    };
    const ULONGLONG before = cpu();
    ASSERT_GT(before, 0u) << "the guard's processor time cannot be read";
    Sleep(30000);
    const ULONGLONG used = cpu() - before;
    EXPECT_LT(used, 20 * 10000ull) << used / 10000 << " ms in 30 s";
    EXPECT_EQ(guard.Exit(main), 0u);
}
