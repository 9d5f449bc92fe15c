// The list box, the list view, the status bar and the tooltips. The records of a message's two
// forms have the same layout but for the type their text points to, so one record serves both.
#include "platform/win32/WinTextControls.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

// The longest text read back from a control; a longer one is cut.
constexpr size_t kMaxControlText = 32768;

UINT Form(UINT ansi, UINT wide)
{
    return AnsiWindows() ? ansi : wide;
}

// The text in the chosen form, as a message's parameter or a record's text member.
LPARAM TextParam(const TSysText& text)
{
    return AnsiWindows() ? reinterpret_cast<LPARAM>(text.A()) : reinterpret_cast<LPARAM>(text.W());
}

LPWSTR TextMember(const TSysText& text)
{
    return reinterpret_cast<LPWSTR>(TextParam(text));
}

// A buffer for a text that a control copies out in the chosen form: room for the length given,
// in units of either form, and its terminating NUL.
class TTextBuffer {
public:
    explicit TTextBuffer(LRESULT length)
    {
        if (length >= 0 && static_cast<size_t>(length) < kMaxControlText)
            FUnits.resize(static_cast<size_t>(length) + 1);
    }
    bool Empty() const { return FUnits.empty(); }
    int Capacity() const { return static_cast<int>(FUnits.size()); }
    LPARAM Param() { return reinterpret_cast<LPARAM>(FUnits.data()); }
    LPWSTR Member() { return FUnits.data(); }
    // The text the control copied, trusting its count only as far as the buffer goes.
    std::string Text(LRESULT copied) const
    {
        if (FUnits.empty() || copied <= 0) return "";
        const size_t length = std::min(static_cast<size_t>(copied), FUnits.size() - 1);
        if (AnsiWindows()) return FromSystemA(reinterpret_cast<const char*>(FUnits.data()), length);
        return FromSystemW(FUnits.data(), length);
    }

private:
    // Wide units: room for the same count of ANSI bytes too.
    std::vector<wchar_t> FUnits;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// List box

int ListBoxAddU(HWND list, const std::string& text)
{
    const TSysText sys(text);
    return static_cast<int>(SendMessageU(list, LB_ADDSTRING, 0, TextParam(sys)));
}

int ListBoxFindExactU(HWND list, const std::string& text)
{
    const TSysText sys(text);
    return static_cast<int>(
            SendMessageU(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), TextParam(sys)));
}

std::string ListBoxTextU(HWND list, int index)
{
    // The length may count more than the text holds (an ANSI list on a double-byte system),
    // never less.
    TTextBuffer buffer(SendMessageU(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0));
    if (buffer.Empty()) return "";
    return buffer.Text(SendMessageU(list, LB_GETTEXT, static_cast<WPARAM>(index), buffer.Param()));
}

// ---------------------------------------------------------------------------------------------
// List view

bool ListViewInsertColumnU(HWND view, int column, const std::string& caption, int width)
{
    const TSysText sys(caption);
    LVCOLUMNW record{};
    record.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    record.pszText = TextMember(sys);
    record.cx = width;
    record.iSubItem = column;
    return SendMessageU(view, Form(LVM_INSERTCOLUMNA, LVM_INSERTCOLUMNW),
                        static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&record)) >= 0;
}

int ListViewInsertItemU(HWND view, int row, const std::string& text)
{
    const TSysText sys(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = TextMember(sys);
    return static_cast<int>(SendMessageU(view, Form(LVM_INSERTITEMA, LVM_INSERTITEMW), 0,
                                         reinterpret_cast<LPARAM>(&item)));
}

bool ListViewSetItemTextU(HWND view, int row, int column, const std::string& text)
{
    const TSysText sys(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = TextMember(sys);
    return SendMessageU(view, Form(LVM_SETITEMTEXTA, LVM_SETITEMTEXTW), static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(&item)) != FALSE;
}

std::string ListViewItemTextU(HWND view, int row, int column)
{
    // A list view tells no length: the buffer grows until the text fits with room to spare.
    for (LRESULT length = 255; static_cast<size_t>(length) < kMaxControlText; length *= 2) {
        TTextBuffer buffer(length);
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.Member();
        item.cchTextMax = buffer.Capacity();
        const LRESULT copied =
                SendMessageU(view, Form(LVM_GETITEMTEXTA, LVM_GETITEMTEXTW),
                             static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        if (copied < length) return buffer.Text(copied);
    }
    return "";
}

// ---------------------------------------------------------------------------------------------
// Status bar and tooltips

void StatusBarSetTextU(HWND bar, int part, const std::string& text)
{
    const TSysText sys(text);
    SendMessageU(bar, Form(SB_SETTEXTA, SB_SETTEXTW), static_cast<WPARAM>(part), TextParam(sys));
}

std::string StatusBarTextU(HWND bar, int part)
{
    TTextBuffer buffer(LOWORD(SendMessageU(bar, Form(SB_GETTEXTLENGTHA, SB_GETTEXTLENGTHW),
                                           static_cast<WPARAM>(part), 0)));
    if (buffer.Empty()) return "";
    return buffer.Text(LOWORD(SendMessageU(bar, Form(SB_GETTEXTA, SB_GETTEXTW),
                                           static_cast<WPARAM>(part), buffer.Param())));
}

bool TooltipAddToolU(HWND tooltips, HWND owner, HWND tool, const std::string& text)
{
    const TSysText sys(text);
    // The first version's size is the same in either form.
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = TextMember(sys);
    return SendMessageU(tooltips, Form(TTM_ADDTOOLA, TTM_ADDTOOLW), 0,
                        reinterpret_cast<LPARAM>(&info)) != FALSE;
}
