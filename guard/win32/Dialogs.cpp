#include "guard/win32/Dialogs.h"

#include <algorithm>

#include "common/Errors.h"
#include "guard/win32/ControlTexts.h"
#include "guard/win32/GuardIds.h"
#include "guard/win32/Resources.h"
#include "platform/win32/WinTextControls.h"

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

bool Inside(HWND window, HWND target)
{
    return target == window || IsChild(window, target);
}

// A push button tells the dialog manager what it is through its dialog code; check boxes and
// group boxes are buttons too, but not push buttons.
bool IsPushButton(HWND control)
{
    return (SendMessageU(control, WM_GETDLGCODE, 0, 0) &
            (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The modal window

TModalWindow::TModalWindow(const TLook& look, HWND owner, const TWindowLayout& layout,
                           TLanguage language, std::vector<TModalWindow*>& open)
    : FLook(look),
      FLayout(layout),
      FOwner(owner),
      FOpen(open),
      FAccept(FindMarked(layout, csAccept).Id),
      FCancel(FindMarked(layout, csCancel).Id)
{
    RegisterKitClass(kDialogClass, &TModalWindow::WindowProc);
    // The window procedure takes the window over on its first message.
    const HWND window = CreateLayoutWindow(kDialogClass, layout, look, kDialogStyle, kDialogExStyle,
                                           owner, this);
    FControls = CreateLayoutControls(window, layout, look);
    SetControlTexts(layout, FControls, language);
    // Only the system menu's Move and Close: the dialog has a fixed size.
    if (HMENU system = GetSystemMenu(window, FALSE)) {
        DeleteMenu(system, SC_SIZE, MF_BYCOMMAND);
        DeleteMenu(system, SC_MINIMIZE, MF_BYCOMMAND);
        DeleteMenu(system, SC_MAXIMIZE, MF_BYCOMMAND);
        DeleteMenu(system, SC_RESTORE, MF_BYCOMMAND);
    }
}

TModalWindow::~TModalWindow()
{
    if (FWindow) SetWindowLongPtrU(FWindow.get(), GWLP_USERDATA, 0);
}

HWND TModalWindow::Control(int id) const
{
    return static_cast<size_t>(id) < FControls.size() ? FControls[static_cast<size_t>(id)]
                                                      : nullptr;
}

void TModalWindow::SetClientHeight(int height)
{
    RECT client;
    GetClientRect(Window(), &client);
    RECT frame{0, 0, client.right, height};
    AdjustWindowRectEx(&frame, kDialogStyle, FALSE, kDialogExStyle);
    SetWindowPos(Window(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TModalWindow::ShowIcon(int resourceId)
{
    for (int i = 0; i < FLayout.Count; ++i) {
        if (FLayout.Controls[i].Kind != TControlKind::Picture) continue;
        TIconHandle icon = LoadProgramIcon(resourceId, FLook.Scale(32));
        SendMessageU(Control(FLayout.Controls[i].Id), STM_SETICON,
                     reinterpret_cast<WPARAM>(icon.get()), 0);
        // The old icon goes only now that the picture no longer shows it.
        FImage = std::move(icon);
        return;
    }
}

bool TModalWindow::AcceptEnabled() const
{
    return IsWindowEnabled(Control(FAccept)) != FALSE;
}

void TModalWindow::End(bool ok)
{
    FResult = ok;
    FDone = true;
    // Wakes the loop, which may be waiting for a message.
    PostMessageU(Window(), WM_NULL, 0, 0);
}

bool TModalWindow::RunModal()
{
    const HWND window = Window();
    FLastFocus = nullptr;
    RECT on = WorkArea();
    if (FOwner && IsWindowVisible(FOwner) && !IsIconic(FOwner)) GetWindowRect(FOwner, &on);
    CentreWindow(window, on);

    // The owner, and any dialog already open beneath this one, take no input until it ends.
    std::vector<HWND> disabled;
    std::vector<HWND> blocked{FOwner};
    for (TModalWindow* other : FOpen) blocked.push_back(other->Window());
    for (HWND w : blocked)
        if (w && IsWindowEnabled(w)) {
            EnableWindow(w, FALSE);
            disabled.push_back(w);
        }
    FOpen.push_back(this);
    FDone = false;
    FResult = false;

    ::ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
    SetFocus(first ? first : window);

    MSG message;
    while (!FDone) {
        const BOOL got = GetMessageU(&message, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: the question counts as declined, and the main loop still
            // has to see the quit message.
            PostQuitMessage(static_cast<int>(message.wParam));
            FResult = false;
            break;
        }
        if (got < 0) break;
        if (!PreviewKey(message) && !IsDialogMessageU(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageU(&message);
        }
        FollowFocus();
    }

    FOpen.erase(std::remove(FOpen.begin(), FOpen.end(), this), FOpen.end());
    // Enabled again before the dialog hides, so that the activation goes back to the owner.
    for (auto w = disabled.rbegin(); w != disabled.rend(); ++w) EnableWindow(*w, TRUE);
    ::ShowWindow(window, SW_HIDE);
    return FResult;
}

bool TModalWindow::PreviewKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN || !Inside(Window(), message.hwnd)) return false;
    if (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE) return false;
    const HWND button = FocusedButton();
    switch (FormKeyPress(message.wParam == VK_RETURN ? '\r' : 27, AcceptEnabled(),
                         button != nullptr)) {
    case TDialogKey::Accept: End(true); return true;
    case TDialogKey::Cancel: End(false); return true;
    case TDialogKey::PressFocused:
        // What a click on the button sends.
        SendMessageU(Window(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        return true;
    case TDialogKey::PassOn: break;
    }
    // Straight to the focused control, past the dialog manager, which would press a button.
    TranslateMessage(&message);
    DispatchMessageU(&message);
    return true;
}

HWND TModalWindow::FocusedButton() const
{
    const HWND focus = GetFocus();
    return focus && IsChild(Window(), focus) && IsPushButton(focus) ? focus : nullptr;
}

// The look the dialog manager keeps: while a push button has the focus it is drawn as the
// default one, since Enter presses it; elsewhere the accept button is. The focus moves by Tab,
// by the mouse and by mnemonics, so the loop looks after every message; styles change only when
// the focus did. Wine's own Tab handling takes the default look from every button when the focus
// leaves them for the number field, which this puts right.
void TModalWindow::FollowFocus()
{
    const HWND focus = GetFocus();
    if (focus == FLastFocus) return;
    FLastFocus = focus;
    const HWND focused = FocusedButton();
    const HWND shown = focused ? focused : Control(FAccept);
    for (HWND control : FControls) {
        if (!control || !IsPushButton(control)) continue;
        const bool isDefault =
                (GetWindowLongPtrU(control, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        if (isDefault != (control == shown))
            SendMessageU(control, BM_SETSTYLE, control == shown ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                         TRUE);
    }
}

LRESULT CALLBACK TModalWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc(window, message, wParam, lParam, &TModalWindow::FWindow,
                            &TModalWindow::HandleMessage);
}

LRESULT TModalWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (BackgroundMessage(Window(), message, wParam, FLook, result)) return result;
    switch (message) {
    case DM_GETDEFID: return MAKELRESULT(ControlId(FAccept), DC_HASDEFID);
    case WM_CLOSE:
        // The system menu's Close: not accepted.
        End(false);
        return 0;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if ((id == ControlId(FAccept) && code == BN_CLICKED) || id == IDOK) {
            // A disabled button sends nothing, but the dialog manager's IDOK may come anyway.
            if (AcceptEnabled()) End(true);
        } else if ((id == ControlId(FCancel) && code == BN_CLICKED) || id == IDCANCEL) {
            End(false);
        } else {
            Command(id, code);
        }
        return 0;
    }
    }
    return DefWindowProcU(Window(), message, wParam, lParam);
}

void TModalWindow::Command(int, int) {}

// ---------------------------------------------------------------------------------------------
// The number editor

TNumberDialog::TNumberDialog(const TLook& look, HWND owner, TLanguage language,
                             std::vector<TModalWindow*>& open)
    : TModalWindow(look, owner, NumberFormLayout(), language, open)
{
    SetWindowTextU(Window(), GuardText(TGuardText::NumberFormCaption, language));
    ShowIcon(IDI_NUMBER);
}

void TNumberDialog::SetInfo(const std::string& text)
{
    SetWindowTextU(Control(idNumberInfo), text);
}

void TNumberDialog::SetNumber(const std::string& text)
{
    SetWindowTextU(Control(idNumberEdit), text);
}

std::string TNumberDialog::Number()
{
    return GetWindowTextU(Control(idNumberEdit));
}

void TNumberDialog::SetAcceptEnabled(bool enabled)
{
    EnableWindow(Control(idNumberAccept), enabled ? TRUE : FALSE);
}

void TNumberDialog::Command(int id, int code)
{
    if (id == ControlId(idNumberEdit) && code == EN_CHANGE) TNumberForm::edNumberChange(*this);
}

// ---------------------------------------------------------------------------------------------
// The detection dialog

TQuestionDialog::TQuestionDialog(const TLook& look, HWND owner, TLanguage language,
                                 std::vector<TModalWindow*>& open)
    : TModalWindow(look, owner, QuestionFormLayout(), language, open)
{
}

void TQuestionDialog::SetTexts(const TQuestionTexts& texts)
{
    SetWindowTextU(Window(), texts.Caption);
    SetWindowTextU(Control(idQuestionInfo), texts.Info);
    SetWindowTextU(Control(idQuestionDesc), texts.Desc);
    SetWindowTextU(Control(idQuestionLab1), texts.Lab1);
    SetWindowTextU(Control(idQuestionLab2), texts.Lab2);
    FQuestion = texts.Quest;
    SetWindowTextU(Control(idQuestionQuest), FQuestion);
}

// Measured as the label draws it: the dialog's font, the label's width, breaking at blanks and
// inside words too long for a line.
int TQuestionDialog::WrappedQuestionHeight()
{
    HWND label = Control(idQuestionQuest);
    RECT bounds;
    GetClientRect(label, &bounds);
    bounds.bottom = 0;
    TWindowDc dc(label);
    if (!dc.get()) return 0;
    TSelection font(dc.get(), Look().Font(false));
    DrawTextU(dc.get(), FQuestion, bounds,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_LEFT);
    return bounds.bottom - bounds.top;
}

int TQuestionDialog::QuestionTop()
{
    return Look().Scale(FindControl(QuestionFormLayout(), idQuestionQuest).Top);
}

int TQuestionDialog::ButtonHeight()
{
    return Look().Scale(FindControl(QuestionFormLayout(), idQuestionAccept).Height);
}

void TQuestionDialog::ApplyLayout(const TQuestionLayout& layout)
{
    const TWindowLayout& table = QuestionFormLayout();
    const TControlLayout& quest = FindControl(table, idQuestionQuest);
    MoveWindow(Control(idQuestionQuest), Look().Scale(quest.Left), QuestionTop(),
               Look().Scale(quest.Width), layout.QuestionHeight, TRUE);
    for (TControlId id : {idQuestionAccept, idQuestionCancel}) {
        const TControlLayout& button = FindControl(table, id);
        MoveWindow(Control(id), Look().Scale(button.Left), layout.ButtonTop,
                   Look().Scale(button.Width), ButtonHeight(), TRUE);
    }
    SetClientHeight(layout.ClientHeight);
}

void TQuestionDialog::SetImage(int mode)
{
    ShowIcon(IDI_QUESTION0 + mode);
}

void TQuestionDialog::SetValues(const std::string& value1, const std::string& value2)
{
    SetWindowTextU(Control(idQuestionValue1), value1);
    SetWindowTextU(Control(idQuestionValue2), value2);
}

void TQuestionDialog::SetAcceptEnabled(bool enabled)
{
    EnableWindow(Control(idQuestionAccept), enabled ? TRUE : FALSE);
}

// ---------------------------------------------------------------------------------------------
// The port

bool TGuardDialogs::EditNumber(std::string& number)
{
    TNumberDialog view(FLook, FOwner, FLanguage, FOpen);
    return TNumberForm::Execute(view, number, FLanguage);
}

bool TGuardDialogs::AskQuestion(int mode, const std::string& value1, const std::string& value2)
{
    TQuestionDialog view(FLook, FOwner, FLanguage, FOpen);
    TDialQuestionForm form(view, FLanguage);
    return form.Execute(mode, value1, value2);
}

void TGuardDialogs::CancelDialogs()
{
    for (TModalWindow* dialog : FOpen) dialog->End(false);
}
