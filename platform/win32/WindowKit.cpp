#include "platform/win32/WindowKit.h"

#include <commctrl.h>

#include <memory>

#include "common/Errors.h"
#include "platform/win32/WinTextControls.h"

namespace {

// The class of the kit's panels, which hold other controls.
constexpr char kPanelClass[] = "LinewardenPanel";
// The program's icon: its first, which the shell shows for the file.
constexpr int kProgramIcon = 1;

std::string gErrorCaption;

int SystemDpi()
{
    TWindowDc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

COLORREF ColourOf(uint32_t colour)
{
    return colour == kSystemFaceColour ? GetSysColor(COLOR_BTNFACE) : colour;
}

// Group boxes paint themselves: a themed group box ignores the colour its parent asks for, and
// the captions are blue. The caption's blanks, part of its text, keep the frame line off it.
void PaintGroupBox(HWND box, const TLook& look, bool blue)
{
    TPaint paint(box);
    const HDC dc = paint.get();
    if (!dc) return;
    RECT client;
    GetClientRect(box, &client);
    FillRect(dc, &client, look.Background());
    TSelection font(dc, look.Font(false));
    const int lineHeight = TextHeightU(dc);
    RECT frame = client;
    frame.top += lineHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    const std::string caption = GetWindowTextU(box);
    if (!caption.empty()) {
        RECT text{look.Scale(8), 0, client.right - look.Scale(8), lineHeight};
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, look.BackgroundColour());
        SetTextColor(dc, blue ? look.GroupCaptionColour() : GetSysColor(COLOR_WINDOWTEXT));
        DrawTextU(dc, caption, text, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP | DT_NOCLIP);
    }
}

// What a group box's own procedure needs, kept in a property of the box from its subclassing
// to its last message. The subclassing is the classic one, which every system has.
struct TGroupBox {
    WNDPROC Previous;
    const TLook* Look;
    bool Blue;
};
constexpr char kGroupBoxProperty[] = "LinewardenGroupBox";

LRESULT CALLBACK GroupBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* data = static_cast<TGroupBox*>(GetPropA(box, kGroupBoxProperty));
    if (!data) return DefWindowProcU(box, message, wParam, lParam);
    const WNDPROC previous = data->Previous;
    switch (message) {
    case WM_PAINT:
        return GuardedAnswer(box, [&] {
            PaintGroupBox(box, *data->Look, data->Blue);
            return LRESULT(0);
        });
    case WM_ERASEBKGND: return 1;
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_UPDATEUISTATE: {
        // The button paints these changes at once, in its own way; ours follows.
        const LRESULT result = CallWindowProcU(previous, box, message, wParam, lParam);
        InvalidateRect(box, nullptr, TRUE);
        return result;
    }
    case WM_NCDESTROY:
        SubclassWindowU(box, previous);
        RemovePropA(box, kGroupBoxProperty);
        delete data;
        break;
    }
    return CallWindowProcU(previous, box, message, wParam, lParam);
}

// Puts GroupBoxProc in front of the box's own procedure; throws Exception when it cannot.
void SubclassGroupBox(HWND box, const TLook& look, bool blue)
{
    auto data = std::make_unique<TGroupBox>(TGroupBox{nullptr, &look, blue});
    if (SetPropA(box, kGroupBoxProperty, data.get())) {
        data->Previous = SubclassWindowU(box, GroupBoxProc);
        // From here the box owns its data and frees it on WM_NCDESTROY.
        if (data->Previous) {
            data.release();
            return;
        }
        RemovePropA(box, kGroupBoxProperty);
    }
    throw Exception("Error creating a group box");
}

struct TControlClass {
    const char* ClassName;
    DWORD Style;
    DWORD ExStyle;
};

TControlClass ClassOf(const TControlLayout& control)
{
    const bool wrap = (control.Style & csWordWrap) != 0;
    switch (control.Kind) {
    case TControlKind::Picture: return {"STATIC", SS_ICON | SS_CENTERIMAGE | SS_REALSIZECONTROL, 0};
    case TControlKind::Label:
        // Values such as file paths must show as they are: no '&' becomes an underline, and a
        // wrapped one breaks inside a long word rather than losing its end.
        // A one-line label too short for its text shows that it is cut.
        return {"STATIC",
                static_cast<DWORD>(
                        SS_NOPREFIX |
                        (wrap ? SS_LEFT | SS_EDITCONTROL : SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS) |
                        ((control.Style & csHandCursor) ? SS_NOTIFY : 0)),
                0};
    case TControlKind::Memo: return {"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0};
    case TControlKind::GroupBox: return {"BUTTON", BS_GROUPBOX, 0};
    case TControlKind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX, 0};
    case TControlKind::ListBox:
        // The exact height of the layout, not a whole number of lines.
        return {"LISTBOX",
                static_cast<DWORD>(LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                                   ((control.Style & csSorted) ? LBS_SORT : 0)),
                WS_EX_CLIENTEDGE};
    case TControlKind::Button:
        return {"BUTTON",
                static_cast<DWORD>((control.Style & csDefaultButton) ? BS_DEFPUSHBUTTON
                                                                     : BS_PUSHBUTTON),
                0};
    case TControlKind::Panel: return {kPanelClass, 0, WS_EX_CONTROLPARENT};
    case TControlKind::ListView:
        return {WC_LISTVIEWA, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                WS_EX_CLIENTEDGE};
    case TControlKind::StatusBar:
        // At the layout's place and height, whatever height the font would give it.
        return {STATUSCLASSNAMEA, CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0};
    case TControlKind::Edit: return {"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case TControlKind::ProgressBar: return {PROGRESS_CLASSA, 0, 0};
    }
    return {"STATIC", 0, 0};
}

LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND) {
        RECT client;
        GetClientRect(panel, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client,
                 reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        return 1;
    }
    return DefWindowProcU(panel, message, wParam, lParam);
}

}  // namespace

TLook::TLook(const TWindowLook& look)
    : FDpi(SystemDpi()),
      FBackgroundColour(ColourOf(look.Background)),
      FGroupCaption(ColourOf(look.GroupCaption))
{
    if (look.FontName) {
        const int height = -MulDiv(look.FontPoints, FDpi, 72);
        FNormal.reset(CreateFontU(height, FW_NORMAL, look.FontName));
        FBold.reset(CreateFontU(height, FW_BOLD, look.FontName));
        if (!FNormal || !FBold) throw Exception("Error creating the window's font");
    }
    FBackground.reset(CreateSolidBrush(FBackgroundColour));
    if (!FBackground) throw Exception("Error creating the window's colours");
}

HFONT TLook::Font(bool bold) const
{
    if (!FNormal) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return bold ? FBold.get() : FNormal.get();
}

RECT ControlRect(const TWindowLayout& layout, const TControlLayout& control, const TLook& look)
{
    int left = look.Scale(control.Left);
    int top = look.Scale(control.Top);
    if (control.Kind == TControlKind::StatusBar) {
        // Along the bottom edge, whatever the rounding of the lengths above it.
        const int height = look.Scale(control.Height);
        return RECT{0, look.Scale(layout.ClientHeight) - height, look.Scale(layout.ClientWidth),
                    look.Scale(layout.ClientHeight)};
    }
    if (control.Parent != kNoParent) {
        const TControlLayout& parent = FindControl(layout, control.Parent);
        if (parent.Kind == TControlKind::GroupBox) {
            left += look.Scale(parent.Left);
            top += look.Scale(parent.Top);
        }
    }
    return RECT{left, top, left + look.Scale(control.Width), top + look.Scale(control.Height)};
}

std::vector<HWND> CreateLayoutControls(HWND window, const TWindowLayout& layout, const TLook& look)
{
    RegisterKitClass(kPanelClass, PanelProc);
    std::vector<HWND> controls;
    for (int i = 0; i < layout.Count; ++i) {
        const TControlLayout& control = layout.Controls[i];
        LW_ASSERT(control.Id >= 0);
        if (controls.size() <= static_cast<size_t>(control.Id))
            controls.resize(static_cast<size_t>(control.Id) + 1);

        HWND parent = window;
        if (control.Parent != kNoParent &&
            FindControl(layout, control.Parent).Kind == TControlKind::Panel)
            parent = controls.at(static_cast<size_t>(control.Parent));
        const TControlClass kind = ClassOf(control);
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.Style;
        if (!(control.Style & csHidden)) style |= WS_VISIBLE;
        if (control.Style & csTabStop) style |= WS_TABSTOP;
        const RECT r = ControlRect(layout, control, look);
        HWND created = CreateWindowExU(
                kind.ExStyle, kind.ClassName, control.Text, style, r.left, r.top, r.right - r.left,
                r.bottom - r.top, parent,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlIdBase + control.Id)),
                nullptr);
        if (!created) throw Exception(std::string("Error creating the control ") + control.Name);
        SendMessageU(created, WM_SETFONT,
                     reinterpret_cast<WPARAM>(look.Font((control.Style & csBold) != 0)), FALSE);
        if (control.Kind == TControlKind::GroupBox)
            SubclassGroupBox(created, look, (control.Style & csBlueCaption) != 0);
        controls[static_cast<size_t>(control.Id)] = created;
    }
    // Each new child went below the ones before it, so only now can the group boxes go to the
    // bottom, under the controls they frame.
    for (int i = 0; i < layout.Count; ++i)
        if (layout.Controls[i].Kind == TControlKind::GroupBox)
            SetWindowPos(controls[static_cast<size_t>(layout.Controls[i].Id)], HWND_BOTTOM, 0, 0, 0,
                         0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return controls;
}

HWND CreateLayoutWindow(const char* className, const TWindowLayout& layout, const TLook& look,
                        DWORD style, DWORD exStyle, HWND owner, void* param)
{
    RECT frame{0, 0, look.Scale(layout.ClientWidth), look.Scale(layout.ClientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const HWND window = CreateWindowExU(exStyle, className, layout.Caption, style, CW_USEDEFAULT,
                                        CW_USEDEFAULT, frame.right - frame.left,
                                        frame.bottom - frame.top, owner, nullptr, param);
    if (!window) throw Exception("Error creating a window");
    return window;
}

bool BackgroundMessage(HWND window, UINT message, WPARAM wParam, const TLook& look, LRESULT& result)
{
    const HDC dc = reinterpret_cast<HDC>(wParam);
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, look.Background());
        result = 1;
        return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkColor(dc, look.BackgroundColour());
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        result = reinterpret_cast<LRESULT>(look.Background());
        return true;
    }
    return false;
}

void RegisterKitClass(const char* name, WNDPROC procedure)
{
    TWindowClassU wc;
    wc.Name = name;
    wc.Procedure = procedure;
    wc.Cursor = SystemCursorU(IDC_ARROW);
    wc.Icon = ProgramIconU(kProgramIcon, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                           LR_SHARED);
    // The windows paint their own background (WM_ERASEBKGND), so the class owns no brush.
    wc.Background = nullptr;
    if (!RegisterClassU(wc)) throw Exception("Error registering a window class");
}

RECT WorkArea()
{
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

void CentreWindow(HWND window, const RECT& on)
{
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const RECT area = WorkArea();
    int left = on.left + (on.right - on.left - width) / 2;
    int top = on.top + (on.bottom - on.top - height) / 2;
    if (left + width > area.right) left = area.right - width;
    if (top + height > area.bottom) top = area.bottom - height;
    if (left < area.left) left = area.left;
    if (top < area.top) top = area.top;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TIconHandle LoadProgramIcon(int resourceId, int size)
{
    return TIconHandle(ProgramIconU(resourceId, size, size, 0));
}

void SetErrorCaption(const std::string& caption)
{
    gErrorCaption = caption;
}

void ShowErrorBox(HWND owner, const std::string& message)
{
    MessageBoxU(owner && IsWindow(owner) ? owner : nullptr, message, gErrorCaption,
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}
