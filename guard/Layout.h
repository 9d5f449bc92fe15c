#pragma once
// The guard's windows as tables: every control with its kind, its rectangle in pixels of the
// client area at 96 DPI (children of a group box or panel relative to it), its text, hint,
// style (with the marks of a dialog's closing buttons) and tab order. The Win32 views create the
// controls from these tables, scaling the rectangles with the system font size; the Wine test
// reads the real windows back against them.
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
    Edit
};

enum TControlStyle : uint32_t {
    csNone = 0,
    csBold = 1 << 0,
    csHandCursor = 1 << 1,
    csReadOnly = 1 << 2,
    csSorted = 1 << 3,
    csHidden = 1 << 4,
    csWordWrap = 1 << 5,
    csBlueCaption = 1 << 6,  // group box captions
    csTransparent = 1 << 7,
    csNoBevel = 1 << 8,
    csDefaultButton = 1 << 9,
    csTabStop = 1 << 10,
    // A dialog's two closing buttons: Enter, the dialog manager's IDOK and the default button
    // go to the one, Escape, IDCANCEL and the system menu's Close to the other.
    csAccept = 1 << 11,
    csCancel = 1 << 12,
};

// Control identifiers, also the Win32 control IDs (kControlIdBase + value).
enum TControlId : int {
    // Main window.
    idImage,
    idAppTitle,
    idMemo,
    idConfiguration,
    idAutoStart,
    idCheckAllowedNumbers,
    idAutoDeleteDialUp,
    idAutoDeleteDialers,
    idAskBeforeDeleteDialUp,
    idAllowedNumbers,
    idNumbers,
    idAddNumber,
    idEditNumber,
    idDeleteNumber,
    idReportPanel,
    idReport,
    idStatusBar,
    // Number editor.
    idNumberGroup,
    idNumberImage,
    idNumberInfo,
    idNumberLabel,
    idNumberEdit,
    idNumberComments,
    idNumberAccept,
    idNumberCancel,
    // Detection dialog.
    idQuestionImage,
    idQuestionInfo,
    idQuestionDesc,
    idQuestionLab1,
    idQuestionValue1,
    idQuestionLab2,
    idQuestionValue2,
    idQuestionQuest,
    idQuestionAccept,
    idQuestionCancel,
};
constexpr int kNoParent = -1;
constexpr int kControlIdBase = 1000;

struct TControlLayout {
    TControlId Id;
    const char* Name;  // the component's name
    TControlKind Kind;
    int Parent;  // kNoParent or the TControlId of the group box or panel
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

const TWindowLayout& MainWindowLayout();
const TWindowLayout& NumberFormLayout();
const TWindowLayout& QuestionFormLayout();
// The control's row; an identifier the table does not hold is an internal error.
const TControlLayout& FindControl(const TWindowLayout& layout, TControlId id);
// The row that carries a mark such as csAccept; a table without one is an internal error.
const TControlLayout& FindMarked(const TWindowLayout& layout, TControlStyle mark);

// Colours as 0x00BBGGRR, the way Windows stores them.
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r | (g << 8) | (b << 16);
}
constexpr uint32_t kMainBackground = Rgb(239, 235, 222);
constexpr uint32_t kGroupCaptionColour = Rgb(0, 70, 213);
constexpr const char kMainFontName[] = "Tahoma";
constexpr int kMainFontPoints = 8;
constexpr int kStatusBarHeight = 19;

// Report columns (their captions are in GuardTexts.h).
constexpr int kReportTimeWidth = 65;
constexpr int kReportTextWidth = 310;

// A length laid out at 96 DPI, at another: rounded like MulDiv.
int ScaleForDpi(int pixels, int dpi);

// Popup menu captions, in TMenuItem order.
const char* MenuCaption(int item);
