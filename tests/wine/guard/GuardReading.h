#pragma once
// Reading a running guard from another process, as the Wine tests and lw-guard-probe do: texts
// and classes of its windows, the cells of its report and columns, its status bar, and its
// top-level windows (the questions it asks). The common controls' messages that carry pointers
// need memory in the guard's own process.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "guard/win32/GuardIds.h"
#include "platform/win32/Win32Text.h"
#include "tests/wine/WindowReading.h"

template <typename Condition>
inline bool WaitFor(DWORD timeoutMs, Condition condition)
{
    for (const DWORD start = GetTickCount(); !condition(); Sleep(50))
        if (GetTickCount() - start > timeoutMs) return false;
    return true;
}

// A window's rectangle in the client pixels of another.
inline RECT RectIn(HWND window, HWND reference)
{
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Memory in the guard's process, for the common controls' messages that carry pointers.
class TRemoteMemory {
public:
    explicit TRemoteMemory(HWND window)
    {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        FProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               process);
        FBase = static_cast<char*>(
                VirtualAllocEx(FProcess, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE));
    }
    ~TRemoteMemory()
    {
        if (FBase) VirtualFreeEx(FProcess, FBase, 0, MEM_RELEASE);
        if (FProcess) CloseHandle(FProcess);
    }
    char* At(size_t offset) const { return FBase + offset; }
    void Write(size_t offset, const void* data, size_t size)
    {
        WriteProcessMemory(FProcess, At(offset), data, size, nullptr);
    }
    void Read(size_t offset, void* data, size_t size) const
    {
        ReadProcessMemory(FProcess, At(offset), data, size, nullptr);
    }
    std::string ReadText(size_t offset) const
    {
        wchar_t text[512] = {};
        Read(offset, text, sizeof text - sizeof(wchar_t));
        return Narrow(text, wcsnlen(text, 511));
    }
    static constexpr size_t kSize = 4096;
    static constexpr size_t kTextOffset = 1024;

private:
    HANDLE FProcess = nullptr;
    char* FBase = nullptr;
};

inline std::string ReportCell(HWND report, int row, int column)
{
    TRemoteMemory memory(report);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(memory.At(TRemoteMemory::kTextOffset));
    item.cchTextMax = 256;
    memory.Write(0, &item, sizeof item);
    SendMessageW(report, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(memory.At(0)));
    return memory.ReadText(TRemoteMemory::kTextOffset);
}

struct TColumn {
    std::string Text;
    int Width;
};

inline TColumn ReportColumn(HWND report, int index)
{
    TRemoteMemory memory(report);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = reinterpret_cast<wchar_t*>(memory.At(TRemoteMemory::kTextOffset));
    column.cchTextMax = 256;
    memory.Write(0, &column, sizeof column);
    SendMessageW(report, LVM_GETCOLUMNW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(memory.At(0)));
    memory.Read(0, &column, sizeof column);
    return {memory.ReadText(TRemoteMemory::kTextOffset), column.cx};
}

inline std::vector<int> StatusParts(HWND status)
{
    TRemoteMemory memory(status);
    const int count = static_cast<int>(
            SendMessageW(status, SB_GETPARTS, 16, reinterpret_cast<LPARAM>(memory.At(0))));
    std::vector<int> parts(static_cast<size_t>(count > 0 && count <= 16 ? count : 0));
    if (!parts.empty()) memory.Read(0, parts.data(), parts.size() * sizeof(int));
    return parts;
}

// The visible top-level windows of a process that pass the test, in the system's order.
template <typename Test>
std::vector<HWND> TopLevelWindows(DWORD process, Test test)
{
    struct TSearch {
        DWORD Process;
        Test& Passes;
        std::vector<HWND> Found;
        static BOOL CALLBACK Visit(HWND window, LPARAM data)
        {
            auto& s = *reinterpret_cast<TSearch*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s.Process && IsWindowVisible(window) && s.Passes(window))
                s.Found.push_back(window);
            return TRUE;
        }
    } search{process, test, {}};
    EnumWindows(TSearch::Visit, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// The child windows of a window that pass the test, in the system's order.
template <typename Test>
std::vector<HWND> ChildWindows(HWND parent, Test test)
{
    struct TSearch {
        Test& Passes;
        std::vector<HWND> Found;
        static BOOL CALLBACK Visit(HWND window, LPARAM data)
        {
            auto& s = *reinterpret_cast<TSearch*>(data);
            if (s.Passes(window)) s.Found.push_back(window);
            return TRUE;
        }
    } search{test, {}};
    EnumChildWindows(parent, TSearch::Visit, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// A visible top-level window of a process with this class and caption.
inline HWND FindTopLevel(DWORD process, const char* className, const std::string& caption)
{
    const std::vector<HWND> found = TopLevelWindows(process, [&](HWND window) {
        return ClassOf(window) == className && TextOf(window) == caption;
    });
    return found.empty() ? nullptr : found.front();
}

// How many guard windows there are, in any process.
inline int CountGuardWindows()
{
    int count = 0;
    const std::wstring name = Wide(kMainWindowClass);
    for (HWND w = FindWindowW(name.c_str(), nullptr); w;
         w = FindWindowExW(nullptr, w, name.c_str(), nullptr))
        ++count;
    return count;
}
