#pragma once
// Windows as tables: every control with its kind, its rectangle in pixels of the client area at
// 96 DPI (children of a group box or panel relative to it), its text, hint, style (with the
// marks of a dialog's closing buttons) and tab order, and the look the window is drawn in. The
// programs' Win32 views create their windows from these tables through one kit
// (platform/win32/WindowKit.h), scaling the rectangles with the system font size; the Wine tests
// read the real windows back against them.
#include <cstdint>

enum class TControlKind {
    Picture,
    Label,
    Memo,
    GroupBox,
    CheckBox,
    ListBox,
    Button,
    Panel,
    ListView,
    StatusBar,
    Edit,
    ProgressBar
};

enum TControlStyle : uint32_t {
    csNone = 0,
    csBold = 1 << 0,
    csHandCursor = 1 << 1,
    csReadOnly = 1 << 2,
    csSorted = 1 << 3,
    csHidden = 1 << 4,
    csWordWrap = 1 << 5,
    csBlueCaption = 1 << 6,  // group box captions, in the look's caption colour
    csTransparent = 1 << 7,
    csNoBevel = 1 << 8,
    csDefaultButton = 1 << 9,
    csTabStop = 1 << 10,
    // A dialog's two closing buttons: Enter, the dialog manager's IDOK and the default button
    // go to the one, Escape, IDCANCEL and the system menu's Close to the other.
    csAccept = 1 << 11,
    csCancel = 1 << 12,
};

constexpr int kNoParent = -1;
// A control's Win32 identifier is kControlIdBase + its table identifier.
constexpr int kControlIdBase = 1000;

struct TControlLayout {
    int Id;            // the program's identifier of the control, from 0
    const char* Name;  // the component's name
    TControlKind Kind;
    int Parent;  // kNoParent or the Id of the group box or panel
    int Left, Top, Width, Height;
    const char* Text;
    const char* Hint;
    uint32_t Style;
    int TabOrder;  // -1: not a tab stop
};

struct TWindowLayout {
    const char* Caption;
    int ClientWidth, ClientHeight;
    const TControlLayout* Controls;
    int Count;
};

// Colours as 0x00BBGGRR, the way Windows stores them.
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r | (g << 8) | (b << 16);
}
// The system's colour of dialog faces, whatever the user chose.
constexpr uint32_t kSystemFaceColour = 0xFF000000;

// How a program's windows look: the font (none: the system's font of dialogs) and the colours.
struct TWindowLook {
    const char* FontName;
    int FontPoints;
    uint32_t Background;
    uint32_t GroupCaption;
};

// The control's row; an identifier the table does not hold is an internal error.
const TControlLayout& FindControl(const TWindowLayout& layout, int id);
// The row that carries a mark such as csAccept; a table without one is an internal error.
const TControlLayout& FindMarked(const TWindowLayout& layout, TControlStyle mark);

// A length laid out at 96 DPI, at another: rounded like MulDiv.
int ScaleForDpi(int pixels, int dpi);
