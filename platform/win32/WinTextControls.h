#pragma once
// The control messages, menus, GDI calls and shell dialogs that carry text, in the form that
// AnsiWindows() chose (platform/win32/WinText.h). Callers pass and receive UTF-8.
//
// The common controls' records go out at the size of their first version, which every
// comctl32 takes: the oldest one a Windows 98 may have rejects a larger cbSize, and the members
// added later are not used here. The functions are written in three units (controls, GDI and
// resources, shell) so that a program links only the ones it needs.
#include <windows.h>

#include <string>

#include "platform/win32/WinText.h"

// --- Windows that only receive messages ---------------------------------------------------

// The parent of a window that is never shown and only receives messages: a message-only window
// where the system has them (Windows 2000 and later), else a hidden top-level one.
HWND MessageWindowParent();

// --- List box ---------------------------------------------------------------------------

// Adds an item (sorted in if the list sorts); its index, or LB_ERR.
int ListBoxAddU(HWND list, const std::string& text);
// The index of the item whose whole text is this (the list's own comparison), or LB_ERR.
int ListBoxFindExactU(HWND list, const std::string& text);
// An item's text; empty for an index the list does not hold.
std::string ListBoxTextU(HWND list, int index);

// --- List view in report view -------------------------------------------------------------

bool ListViewInsertColumnU(HWND view, int column, const std::string& caption, int width);
// Inserts a row with the text of its first column; the row's index, or -1.
int ListViewInsertItemU(HWND view, int row, const std::string& text);
bool ListViewSetItemTextU(HWND view, int row, int column, const std::string& text);
std::string ListViewItemTextU(HWND view, int row, int column);

// --- Status bar and tooltips ------------------------------------------------------------

void StatusBarSetTextU(HWND bar, int part, const std::string& text);
std::string StatusBarTextU(HWND bar, int part);
// Adds the window tool as a tool of tooltips, whose messages come through owner (TTF_SUBCLASS,
// TTF_IDISHWND).
bool TooltipAddToolU(HWND tooltips, HWND owner, HWND tool, const std::string& text);

// --- Menus, fonts, drawing --------------------------------------------------------------

bool AppendMenuU(HMENU menu, UINT flags, UINT_PTR id, const std::string& text);
// A font of this face, height (negative: of the characters, as LOGFONT) and weight; the caller
// owns it.
HFONT CreateFontU(int height, int weight, const std::string& face);
int DrawTextU(HDC dc, const std::string& text, RECT& rect, UINT format);
// The height of a line in the font selected into dc, or 0.
int TextHeightU(HDC dc);

// --- Resources by number ------------------------------------------------------------------
// A resource named by number carries no text, so the A form serves every system.

// One of the system's cursors (IDC_ARROW, IDC_WAIT, ...); shared, never destroyed.
HCURSOR SystemCursorU(LPCWSTR id);
// One of the program's icons at the given size; flags as LoadImage's (LR_SHARED: the system
// keeps it, else the caller destroys it).
HICON ProgramIconU(int resourceId, int width, int height, UINT flags);

// --- The notification area ------------------------------------------------------------

struct TNotifyIconU {
    HWND Window = nullptr;
    UINT Id = 0;
    UINT Flags = 0;  // NIF_MESSAGE, NIF_ICON, NIF_TIP, NIF_INFO
    UINT CallbackMessage = 0;
    HICON Icon = nullptr;
    std::string Tip;
    // The balloon, with NIF_INFO: title, text and how long it stays.
    std::string InfoTitle;
    std::string Info;
    UINT InfoTimeoutMs = 0;
};
// Shell_NotifyIcon with the shell's first record, which every shell takes: the tip is cut to
// the 63 units that record holds, never inside a character. A balloon (NIF_INFO) goes in the
// record of shell version 5.0, which only such a shell takes (ShellMajorVersion).
bool ShellNotifyIconU(DWORD operation, const TNotifyIconU& icon);
// The shell's major version as its DllGetVersion tells; 4 for a shell without that call.
DWORD ShellMajorVersion();

// --- The shell's folder dialog ------------------------------------------------------------

// Asks the user for a file-system folder; empty when they cancel. COM must be initialised on
// the calling thread.
std::string BrowseForFolderU(HWND owner, const std::string& title);
