// Enter, Tab and Escape on the keyboard in the guard's two dialogs. The dialogs are opened
// through their port in this process; xdotool presses the keys on the X server, so they reach
// the dialog as a user's keys do, through Wine's keyboard input and the dialog's message loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/Format.h"
#include "guard/GuardTexts.h"
#include "guard/NumberQuestion.h"
#include "guard/win32/Dialogs.h"
#include "guard/win32/GuardIds.h"
#include "platform/Threads.h"
#include "platform/win32/WindowKit.h"
#include "wine/guard/GuardReading.h"

namespace {

// Runs xdotool with these arguments; its exit code, or -1 when it did not end in time. Wine
// starts a Linux program but gives no handle to wait on, so a shell leaves the exit code in a
// file (through drive Z:, the Linux root) and the test waits for that file.
int Xdotool(const std::string& arguments)
{
    static int runs = 0;
    const std::string done =
            Format("/tmp/lw-dialog-keys-%d-%d-%d", static_cast<int>(GetCurrentProcessId()),
                   static_cast<int>(GetTickCount()), ++runs);
    std::wstring command = Wide("/bin/sh -c \"xdotool " + arguments + "; echo $? >" + done +
                                ".part && mv " + done + ".part " + done + "\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(L"Z:\\bin\\sh", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return -1;
    if (info.hProcess) CloseHandle(info.hProcess);
    if (info.hThread) CloseHandle(info.hThread);
    std::string path = "Z:" + done;
    for (char& c : path)
        if (c == '/') c = '\\';
    std::string code;
    const bool ended = WaitFor(10000, [&] {
        HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        char text[16] = {};
        DWORD read = 0;
        ReadFile(file, text, sizeof text - 1, &read, nullptr);
        CloseHandle(file);
        code.assign(text, read);
        return true;
    });
    DeleteFileW(Wide(path).c_str());
    return ended ? std::atoi(code.c_str()) : -1;
}

bool LooksDefault(HWND button)
{
    return (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

struct TKeysCase {
    const char* Name;
    bool Editor;         // the number editor, else the question
    const char* Before;  // keys pressed first, then the dialog is read
    TControlId Focus;    // where the focus is then
    const char* Typed;   // the number field's text then
    const char* Last;    // the keys that end the dialog
    bool Accepted;
    const char* Number;  // the editor's number afterwards; it starts empty
};

// The user's side: waits for the dialog, presses the keys, reads the dialog between them and
// sees it end. What went wrong is in Failure; a dialog the keys did not end is closed, so that
// the test goes on.
struct TUser {
    const TKeysCase& Case;
    DWORD DialogThread;
    std::string Failure;

    void Fail(const std::string& what)
    {
        if (Failure.empty()) Failure = what;
    }

    void Run()
    {
        const std::string caption =
                Case.Editor ? GuardText(TGuardText::NumberFormCaption, TLanguage::Polish)
                            : QuestionTexts(qmActiveConnection, TLanguage::Polish).Caption;
        Press(caption);
        if (Failure.empty()) return;
        WaitFor(10000, [&] {
            HWND open = FindTopLevel(GetCurrentProcessId(), kDialogClass, caption);
            if (open) PostMessageW(open, WM_CLOSE, 0, 0);
            return !open;
        });
    }

    void Press(const std::string& caption)
    {
        HWND dialog = nullptr;
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        auto focus = [&] { return GetGUIThreadInfo(DialogThread, &gui) ? gui.hwndFocus : nullptr; };
        if (!WaitFor(10000, [&] {
                dialog = FindTopLevel(GetCurrentProcessId(), kDialogClass, caption);
                return dialog && GetForegroundWindow() == dialog && focus();
            }))
            return Fail("the dialog did not come up with the focus");
        // The X window under the dialog: keys go where the X server's keyboard focus is.
        const auto xWindow =
                reinterpret_cast<UINT_PTR>(GetPropW(dialog, L"__wine_x11_whole_window"));
        if (!xWindow) return Fail("the dialog has no X window");
        const std::string press =
                Format("windowfocus --sync %d key --delay 20 ", static_cast<int>(xWindow));

        const TControlId accept = Case.Editor ? idNumberAccept : idQuestionAccept;
        const TControlId cancel = Case.Editor ? idNumberCancel : idQuestionCancel;
        HWND edit = GetDlgItem(dialog, ControlId(idNumberEdit));
        if (*Case.Before && Xdotool(press + Case.Before) != 0) return Fail("xdotool failed");
        if (!WaitFor(5000, [&] {
                return focus() == GetDlgItem(dialog, ControlId(Case.Focus)) &&
                       (!Case.Editor || TextOf(edit) == Case.Typed);
            }))
            return Fail(std::string("after ") + Case.Before + ": focus or text is not as expected");
        // The focused push button is drawn as the default one; elsewhere the accept button is.
        HWND shown = GetDlgItem(dialog, ControlId(Case.Focus == cancel ? cancel : accept));
        HWND other = GetDlgItem(dialog, ControlId(Case.Focus == cancel ? accept : cancel));
        if (!LooksDefault(shown) || LooksDefault(other)) Fail("the wrong button looks default");

        if (Xdotool(press + Case.Last) != 0) return Fail("xdotool failed");
        if (!WaitFor(5000, [&] { return !IsWindowVisible(dialog); }))
            Fail(std::string(Case.Last) + " did not end the dialog");
    }
};

// Enter presses the push button that has the focus and otherwise the accept button when it is
// enabled; Escape declines.
TEST(GuardDialogKeys, EnterPressesTheFocusedButton)
{
    const TKeysCase cases[] = {
            {"question: Enter on Tak", false, "", idQuestionAccept, "", "Return", true, ""},
            {"question: Tab to Nie, Enter", false, "Tab", idQuestionCancel, "", "Return", false,
             ""},
            {"question: Escape", false, "", idQuestionAccept, "", "Escape", false, ""},
            {"editor: Enter in the field", true, "1 2 3", idNumberEdit, "123", "Return", true,
             "123"},
            {"editor: Tab to Akceptuj, Enter", true, "4 4 Tab", idNumberAccept, "44", "Return",
             true, "44"},
            {"editor: Tab to Anuluj, Enter", true, "4 4 Tab Tab", idNumberCancel, "44", "Return",
             false, ""},
            {"editor: Tab round to the field, Enter", true, "4 4 Tab Tab Tab", idNumberEdit, "44",
             "Return", true, "44"},
            {"editor: Enter in the empty field does nothing", true, "Return 7", idNumberEdit, "7",
             "Return", true, "7"},
            {"editor: Escape", true, "4 4", idNumberEdit, "44", "Escape", false, ""},
    };
    TLook look(kGuardLook);
    TGuardDialogs dialogs(look, nullptr, TLanguage::Polish);
    for (const TKeysCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TUser user{c, GetCurrentThreadId(), ""};
        TWorkerThread keys([&] { user.Run(); });
        std::string number;
        const bool accepted =
                c.Editor ? dialogs.EditNumber(number)
                         : dialogs.AskQuestion(qmActiveConnection, "Dostawca", "0700123456");
        keys.Join();
        EXPECT_EQ(user.Failure, "");
        EXPECT_EQ(accepted, c.Accepted);
        EXPECT_EQ(number, c.Number);
    }
}

}  // namespace
