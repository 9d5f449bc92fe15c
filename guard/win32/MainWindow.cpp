#include "guard/win32/MainWindow.h"

#include <commctrl.h>

#include "common/Errors.h"
#include "common/Product.h"
#include "guard/GuardTexts.h"
#include "guard/win32/ControlTexts.h"
#include "guard/win32/Resources.h"
#include "platform/win32/WinTextControls.h"

namespace {

// A tool window with only the close button: no minimise or maximise box, no sizing border.
// A tool window alone gets no taskbar button; the guard is the application, so while it is up
// it keeps one (and a place in Alt+Tab), and only hiding it into the tray takes it away.
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
constexpr DWORD kMainExStyle = WS_EX_TOOLWINDOW | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

constexpr TControlId kOptionControls[kOptionCount] = {
        idAutoStart,         idCheckAllowedNumbers,   idAutoDeleteDialUp,
        idAutoDeleteDialers, idAskBeforeDeleteDialUp, idCheckWhileDialling};

bool IsKeyDown(int key)
{
    return GetKeyState(key) < 0;
}

// Which option a check box's identifier belongs to; false for any other control.
bool OptionOf(int controlId, TOption& option)
{
    for (int i = 0; i < kOptionCount; ++i)
        if (ControlId(kOptionControls[i]) == controlId) {
            option = static_cast<TOption>(i);
            return true;
        }
    return false;
}

}  // namespace

TMainWindowView::TMainWindowView(const TLook& look, TLanguage language)
    : FLook(look), FLanguage(language)
{
    FMenuVisible.fill(true);
    FMenuEnabled.fill(true);
    RegisterKitClass(kMainWindowClass, &TMainWindowView::WindowProc);
    FShowGuardMessage = RegisterWindowMessageU(kShowGuardMessage);

    HWND window = nullptr;
    try {
        window = CreateLayoutWindow(kMainWindowClass, MainWindowLayout(), FLook, kMainStyle,
                                    kMainExStyle, nullptr, this);
    } catch (const Exception&) {
        // An error while WM_CREATE built the controls destroyed the window; it is reported here.
        if (!FCreateError.empty()) throw Exception(FCreateError);
        throw;
    }
    CentreWindow(window, WorkArea());
}

TMainWindowView::~TMainWindowView()
{
    OnDestroy = nullptr;
    FLogic = nullptr;
}

HWND TMainWindowView::Control(int id) const
{
    return static_cast<size_t>(id) < FControls.size() ? FControls[static_cast<size_t>(id)]
                                                      : nullptr;
}

template <typename Handler>
void TMainWindowView::Forward(Handler&& handler)
{
    if (!FLogic) return;
    IMainWindowEvents& logic = *FLogic;
    Guarded(FWindow.get(), [&] { handler(logic); });
}

// ---------------------------------------------------------------------------------------------
// Creation

void TMainWindowView::Created(HWND window)
{
    const TWindowLayout& layout = MainWindowLayout();
    std::vector<HWND> controls = CreateLayoutControls(window, layout, FLook);
    SetControlTexts(layout, controls, FLanguage);

    FImage = LoadProgramIcon(IDI_PROGRAM, FLook.Scale(32));
    SendMessageU(controls[idImage], STM_SETICON, reinterpret_cast<WPARAM>(FImage.get()), 0);

    HWND report = controls[idReport];
    SendMessageU(report, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const struct {
        TGuardText Caption;
        int Width;
    } columns[] = {{TGuardText::ReportTimeColumn, kReportTimeWidth},
                   {TGuardText::ReportTextColumn, kReportTextWidth}};
    for (int i = 0; i < 2; ++i)
        ListViewInsertColumnU(report, i, GuardText(columns[i].Caption, FLanguage),
                              FLook.Scale(columns[i].Width));

    FControls = std::move(controls);
    CreateTooltips();
    BuildMenu();
    ApplyStatusParts();
}

void TMainWindowView::CreateTooltips()
{
    FTooltips =
            CreateWindowExU(WS_EX_TOPMOST, TOOLTIPS_CLASSA, "",
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, FWindow.get(), nullptr, nullptr);
    if (!FTooltips) return;  // the hints are a help, not a condition of running
    SendMessageU(FTooltips, TTM_SETMAXTIPWIDTH, 0, FLook.Scale(300));
    const TWindowLayout& layout = MainWindowLayout();
    for (int i = 0; i < layout.Count; ++i) {
        TGuardText hint;
        const int id = layout.Controls[i].Id;
        if (GuardControlHint(id, hint))
            TooltipAddToolU(FTooltips, FWindow.get(), Control(id), GuardText(hint, FLanguage));
    }
}

void TMainWindowView::BuildMenu()
{
    if (!FMenu) FMenu.reset(CreatePopupMenu());
    if (!FMenu) throw Exception("Error creating the popup menu");
    while (GetMenuItemCount(FMenu.get()) > 0) DeleteMenu(FMenu.get(), 0, MF_BYPOSITION);
    for (const TMenuItem item : kMenuOrder) {
        const int i = static_cast<int>(item);
        if (FMenuVisible[static_cast<size_t>(i)]) {
            const UINT flags =
                    MF_STRING | (FMenuEnabled[static_cast<size_t>(i)] ? MF_ENABLED : MF_GRAYED);
            AppendMenuU(FMenu.get(), flags, static_cast<UINT_PTR>(MenuCommandId(item)),
                        GuardText(MenuCaption(i), FLanguage));
        }
        // The separators stand after "Pomoc" and after the developer's test command, which is
        // where they stay when that command is hidden.
        if (item == TMenuItem::About || item == TMenuItem::TestDialers)
            AppendMenuU(FMenu.get(), MF_SEPARATOR, 0, "");
    }
}

void TMainWindowView::Show()
{
    ::ShowWindow(FWindow.get(), SW_SHOW);
    UpdateWindow(FWindow.get());
    SetFocus(Control(idAutoStart));
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT CALLBACK TMainWindowView::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam)
{
    auto* self = WindowObject<TMainWindowView>(window, message, lParam);
    if (!self) return DefWindowProcU(window, message, wParam, lParam);
    switch (message) {
    case WM_NCCREATE: self->FWindow.reset(window); break;
    case WM_CREATE:
        try {
            self->Created(window);
            return 0;
        } catch (const std::exception& e) {
            self->FCreateError = e.what();
            return -1;
        }
    case WM_NCDESTROY:
        self->FWindow.release();
        self->FControls.clear();
        return DefWindowProcU(window, message, wParam, lParam);
    }
    return GuardedAnswer(window, [&] { return self->HandleMessage(message, wParam, lParam); });
}

LRESULT TMainWindowView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND window = FWindow.get();
    LRESULT result = 0;
    if (BackgroundMessage(window, message, wParam, FLook, result)) return result;
    switch (message) {
    case WM_COMMAND: Command(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CONTEXTMENU: {
        int x = static_cast<short>(LOWORD(lParam));
        int y = static_cast<short>(HIWORD(lParam));
        if (x == -1 && y == -1) {
            // From the keyboard: at the window's corner.
            POINT corner{0, 0};
            ClientToScreen(window, &corner);
            x = corner.x;
            y = corner.y;
        }
        Popup(x, y);
        return 0;
    }
    case WM_INITMENUPOPUP:
        if (reinterpret_cast<HMENU>(wParam) == FMenu.get())
            Forward([](IMainWindowEvents& logic) { logic.PopupMenuPopup(); });
        return 0;
    case WM_SETCURSOR:
        if (SetCursorFor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            MinimizeApplication();
            return 0;
        }
        break;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) PostMessageU(window, kMinimizedMessage, 0, 0);
        return 0;
    case kMinimizedMessage:
        if (IsIconic(window))
            Forward([](IMainWindowEvents& logic) { logic.ApplicationEventsMinimize(); });
        return 0;
    case WM_CLOSE: {
        bool canClose = FLogic == nullptr;
        Forward([&](IMainWindowEvents& logic) { canClose = logic.FormCloseQuery(); });
        if (canClose) DestroyWindow(window);
        return 0;
    }
    case WM_QUERYENDSESSION: {
        // Yes at once: the guard never holds up the end of a session.
        bool answer = true;
        if (FLogic) answer = FLogic->WMQueryEndSession();
        return answer ? TRUE : FALSE;
    }
    case WM_ENDSESSION:
        if (wParam && (lParam & ENDSESSION_CLOSEAPP))
            Forward([](IMainWindowEvents& logic) { logic.WMCloseApp(); });
        else
            Forward([&](IMainWindowEvents& logic) { logic.WMEndSession(wParam != 0); });
        return 0;
    case WM_DESTROY:
        // The logic's shut-down sequence runs while every control still exists.
        if (OnDestroy) Guarded(nullptr, [&] { OnDestroy(); });
        FLogic = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        if (message == FShowGuardMessage && FShowGuardMessage != 0) {
            Forward([](IMainWindowEvents& logic) { logic.ShowView(false); });
            return 0;
        }
        break;
    }
    return DefWindowProcU(window, message, wParam, lParam);
}

void TMainWindowView::Command(int id, int code)
{
    if (id >= kMenuCommandBase && id < kMenuCommandBase + kMenuItemCount) {
        // Only what the menu offers: a hidden or greyed item cannot be picked, and a command
        // for one can only come from another program.
        const auto index = static_cast<size_t>(id - kMenuCommandBase);
        const auto item = static_cast<TMenuItem>(index);
        if (FMenuVisible[index] && FMenuEnabled[index])
            Forward([item](IMainWindowEvents& logic) { logic.MenuClick(item); });
        return;
    }
    TOption option;
    if (OptionOf(id, option)) {
        if (code == BN_CLICKED)
            Forward([option](IMainWindowEvents& logic) { logic.cbParamsChangeClick(option); });
        return;
    }
    if (id == ControlId(idNumbers)) {
        if (code == LBN_SELCHANGE) NumberSelected();
    } else if (code == BN_CLICKED && id == ControlId(idAddNumber)) {
        Forward([](IMainWindowEvents& logic) { logic.btAddNumberClick(); });
    } else if (code == BN_CLICKED && id == ControlId(idEditNumber)) {
        Forward([](IMainWindowEvents& logic) { logic.btEditNumberClick(); });
    } else if (code == BN_CLICKED && id == ControlId(idDeleteNumber)) {
        Forward([](IMainWindowEvents& logic) { logic.btDeleteNumberClick(); });
    } else if (code == STN_CLICKED && id == ControlId(idAppTitle)) {
        Forward([](IMainWindowEvents& logic) { logic.laAppTitleClick(); });
    }
}

// The list box sorts by its own rules; the logic counts positions in its own sorted list, so
// the selection travels as the item's text.
void TMainWindowView::NumberSelected()
{
    HWND list = Control(idNumbers);
    int index = -1;
    const LRESULT selected = SendMessageU(list, LB_GETCURSEL, 0, 0);
    if (selected != LB_ERR) {
        const std::string number = ListBoxTextU(list, static_cast<int>(selected));
        for (size_t i = 0; i < FNumbers.size(); ++i)
            if (FNumbers[i] == number) index = static_cast<int>(i);
    }
    Forward([index](IMainWindowEvents& logic) { logic.lbNumbersClick(index); });
}

bool TMainWindowView::SetCursorFor(HWND target, int hitTest)
{
    if (FHourglass) {
        SetCursor(SystemCursorU(IDC_WAIT));
        return true;
    }
    if (target == Control(idAppTitle) && hitTest == HTCLIENT) {
        SetCursor(SystemCursorU(IDC_HAND));
        return true;
    }
    return false;
}

bool TMainWindowView::PreTranslate(MSG& message)
{
    const HWND window = FWindow.get();
    if (!window || (message.hwnd != window && !IsChild(window, message.hwnd))) return false;
    if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
        message.wParam == VK_F1 && FLogic) {
        bool taken = false;
        const bool shift = IsKeyDown(VK_SHIFT), alt = IsKeyDown(VK_MENU),
                   ctrl = IsKeyDown(VK_CONTROL);
        Forward([&](IMainWindowEvents& logic) {
            taken = logic.FormKeyDown(VK_F1, shift, alt, ctrl);
        });
        if (taken) return true;
    }
    return IsDialogMessageU(window, &message) != FALSE;
}

// ---------------------------------------------------------------------------------------------
// Menu

void TMainWindowView::Popup(int x, int y)
{
    // The tray's documented idiom: the menu's owner in the foreground, so that the menu closes
    // when the user clicks elsewhere, and a message after it, so that it closes at once. The
    // command arrives as WM_COMMAND to the window, as from the context menu.
    const HWND window = FWindow.get();
    SetForegroundWindow(window);
    TrackPopupMenu(FMenu.get(), TPM_RIGHTBUTTON | TPM_LEFTALIGN, x, y, 0, window, nullptr);
    PostMessageU(window, WM_NULL, 0, 0);
}

void TMainWindowView::PopupAtCursor()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    Popup(cursor.x, cursor.y);
}

void TMainWindowView::SetMenuItemEnabled(TMenuItem item, bool enabled)
{
    FMenuEnabled[static_cast<size_t>(item)] = enabled;
    EnableMenuItem(FMenu.get(), static_cast<UINT>(MenuCommandId(item)),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void TMainWindowView::SetMenuItemVisible(TMenuItem item, bool visible)
{
    if (FMenuVisible[static_cast<size_t>(item)] == visible) return;
    FMenuVisible[static_cast<size_t>(item)] = visible;
    BuildMenu();
}

// ---------------------------------------------------------------------------------------------
// Captions, status bar, report

void TMainWindowView::SetCaption(const std::string& caption)
{
    SetWindowTextU(FWindow.get(), caption);
}

void TMainWindowView::SetAppTitle(const std::string& text)
{
    SetWindowTextU(Control(idAppTitle), text);
}

// One panel, the connection status, until a check first shows its progress; from then on the
// status is as wide as the window less 160 pixels (the layout's 96-DPI pixels) and the progress
// takes the rest of the bar.
void TMainWindowView::ApplyStatusParts()
{
    RECT r;
    GetWindowRect(FWindow.get(), &r);
    const int edges[] = {FLook.Scale(FLook.Unscale(r.right - r.left) - 160), -1};
    SendMessageU(Control(idStatusBar), SB_SETPARTS, FProgressPanel ? 2 : 1,
                 reinterpret_cast<LPARAM>(FProgressPanel ? edges : edges + 1));
}

void TMainWindowView::SetConnectionStatus(const std::string& text)
{
    SetStatusText(0, text);
}

void TMainWindowView::SetProgressText(const std::string& text)
{
    if (!FProgressPanel) {
        FProgressPanel = true;
        ApplyStatusParts();
    }
    SetStatusText(1, text);
}

void TMainWindowView::SetStatusText(int panel, const std::string& text)
{
    StatusBarSetTextU(Control(idStatusBar), panel, text);
    UpdateWindow(Control(idStatusBar));
}

void TMainWindowView::SetHourglass(bool on)
{
    FHourglass = on;
    // Only while the mouse is over one of the guard's windows; elsewhere the cursor is not ours.
    POINT cursor{};
    GetCursorPos(&cursor);
    HWND under = WindowFromPoint(cursor);
    if (under && GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId())
        SetCursor(SystemCursorU(on ? IDC_WAIT : IDC_ARROW));
}

void TMainWindowView::AddReportRow(const std::string& time, const std::string& text)
{
    HWND report = Control(idReport);
    const int index = ListViewInsertItemU(
            report, static_cast<int>(SendMessageU(report, LVM_GETITEMCOUNT, 0, 0)), time);
    if (index < 0) return;
    ListViewSetItemTextU(report, index, 1, text);
    SendMessageU(report, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void TMainWindowView::SetReportVisible(bool visible)
{
    HWND panel = Control(idReportPanel);
    if (visible)
        SetWindowPos(panel, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    else
        ::ShowWindow(panel, SW_HIDE);
}

// ---------------------------------------------------------------------------------------------
// Options, numbers, buttons

bool TMainWindowView::Checked(TOption option)
{
    return SendMessageU(Control(kOptionControls[static_cast<int>(option)]), BM_GETCHECK, 0, 0) ==
           BST_CHECKED;
}

void TMainWindowView::SetChecked(TOption option, bool checked)
{
    SendMessageU(Control(kOptionControls[static_cast<int>(option)]), BM_SETCHECK,
                 checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TMainWindowView::SetNumbers(const std::vector<std::string>& items, int selected)
{
    HWND list = Control(idNumbers);
    FNumbers = items;
    SendMessageU(list, WM_SETREDRAW, FALSE, 0);
    SendMessageU(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) ListBoxAddU(list, item);
    int index = -1;
    if (selected >= 0 && static_cast<size_t>(selected) < items.size())
        index = ListBoxFindExactU(list, items[static_cast<size_t>(selected)]);
    SendMessageU(list, LB_SETCURSEL, static_cast<WPARAM>(index == LB_ERR ? -1 : index), 0);
    SendMessageU(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void TMainWindowView::SetButtonEnabled(TNumberButton button, bool enabled)
{
    const TControlId ids[] = {idAddNumber, idEditNumber, idDeleteNumber};
    EnableWindow(Control(ids[static_cast<int>(button)]), enabled ? TRUE : FALSE);
}

// ---------------------------------------------------------------------------------------------
// The window's life

bool TMainWindowView::IsApplicationMinimized()
{
    return IsIconic(FWindow.get()) || !IsWindowVisible(FWindow.get());
}

void TMainWindowView::BringUp()
{
    const HWND window = FWindow.get();
    if (IsApplicationMinimized()) {
        ::ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
        SetForegroundWindow(window);
    }
    if (!IsWindowVisible(window)) ::ShowWindow(window, SW_SHOW);
    // Only when another program is in front: the guard's own dialog may be.
    HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    if (foreground) GetWindowThreadProcessId(foreground, &process);
    if (!foreground || process != GetCurrentProcessId()) {
        SetForegroundWindow(window);
        BringWindowToTop(window);
    }
}

void TMainWindowView::MinimizeApplication()
{
    ::ShowWindow(FWindow.get(), SW_MINIMIZE);
}

void TMainWindowView::HideToTray()
{
    ::ShowWindow(FWindow.get(), SW_HIDE);
}

void TMainWindowView::Repaint()
{
    RedrawWindow(FWindow.get(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// Posted: the logic asks from inside its own handlers, and closing may destroy it.
void TMainWindowView::Close()
{
    PostMessageU(FWindow.get(), WM_CLOSE, 0, 0);
}

void TMainWindowView::EndProcess()
{
    // Called from inside a sent message, possibly within a dialog's message loop: no loop is
    // left to unwind to, so the process ends here.
    ExitProcess(0);
}

void TMainWindowView::ShowError(const std::string& message)
{
    ShowErrorBox(FWindow.get(), message);
}

void TMainWindowView::ShowWarning(const std::string& message)
{
    MessageBoxU(FWindow.get(), message, kGuardCaption, MB_OK | MB_ICONWARNING);
}
