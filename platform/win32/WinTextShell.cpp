// The notification area's icon and the shell's folder dialog.
#include "platform/win32/WinTextControls.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <iterator>

namespace {

// The first count bytes of an ANSI text at most, never half of a double-byte character.
size_t AnsiPrefix(const std::string& text, size_t count)
{
    size_t end = 0;
    while (end < text.size()) {
        const size_t next = end + (IsDBCSLeadByte(static_cast<BYTE>(text[end])) ? 2 : 1);
        if (next > count || next > text.size()) break;
        end = next;
    }
    return end;
}

// The same for UTF-16: never between the two halves of a surrogate pair.
size_t WidePrefix(const std::wstring& text, size_t count)
{
    size_t length = std::min(text.size(), count);
    if (length > 0 && length < text.size() && text[length - 1] >= 0xD800 &&
        text[length - 1] <= 0xDBFF)
        --length;
    return length;
}

// Everything but the tip, which differs between the forms.
template <typename Record>
void FillNotifyRecord(Record& data, DWORD size, const TNotifyIconU& icon)
{
    data.cbSize = size;
    data.hWnd = icon.Window;
    data.uID = icon.Id;
    data.uFlags = icon.Flags;
    data.uCallbackMessage = icon.CallbackMessage;
    data.hIcon = icon.Icon;
}

// The balloon's part of the second record: texts cut to their fields, never inside a character,
// and an information icon.
template <typename Record, typename Text, typename Prefix>
void FillBalloon(Record& data, const Text& info, const Text& title, UINT timeoutMs, Prefix prefix)
{
    std::copy_n(info.begin(), prefix(info, std::size(data.szInfo) - 1), data.szInfo);
    std::copy_n(title.begin(), prefix(title, std::size(data.szInfoTitle) - 1), data.szInfoTitle);
    data.uTimeout = timeoutMs;
    data.dwInfoFlags = NIIF_INFO;
}

// The item list the folder dialog hands back, freed with COM's allocator.
struct TItemList {
    LPITEMIDLIST Items;
    ~TItemList()
    {
        if (Items) CoTaskMemFree(Items);
    }
};

}  // namespace

bool ShellNotifyIconU(DWORD operation, const TNotifyIconU& icon)
{
    const TSysText tip(icon.Tip), info(icon.Info), title(icon.InfoTitle);
    const bool balloon = (icon.Flags & NIF_INFO) != 0;
    if (AnsiWindows()) {
        NOTIFYICONDATAA data{};
        FillNotifyRecord(data, balloon ? NOTIFYICONDATAA_V2_SIZE : NOTIFYICONDATAA_V1_SIZE, icon);
        const std::string text = tip.A();
        std::copy_n(text.begin(), AnsiPrefix(text, 63), data.szTip);
        if (balloon)
            FillBalloon(data, std::string(info.A()), std::string(title.A()), icon.InfoTimeoutMs,
                        AnsiPrefix);
        return Shell_NotifyIconA(operation, &data) != FALSE;
    }
    NOTIFYICONDATAW data{};
    FillNotifyRecord(data, balloon ? NOTIFYICONDATAW_V2_SIZE : NOTIFYICONDATAW_V1_SIZE, icon);
    const std::wstring text = tip.W();
    std::copy_n(text.begin(), WidePrefix(text, 63), data.szTip);
    if (balloon)
        FillBalloon(data, std::wstring(info.W()), std::wstring(title.W()), icon.InfoTimeoutMs,
                    WidePrefix);
    static const auto notify = ShellWideFunction<decltype(&Shell_NotifyIconW)>("Shell_NotifyIconW");
    return notify && notify(operation, &data) != FALSE;
}

DWORD ShellMajorVersion()
{
    // Exported from shell version 4.71 on; an older shell has no balloons either way.
    struct TVersionInfo {
        DWORD Size, Major, Minor, Build, Platform;
    };
    using TGetVersion = HRESULT(CALLBACK*)(TVersionInfo*);
    static const auto get = ShellWideFunction<TGetVersion>("DllGetVersion");
    TVersionInfo version{sizeof(TVersionInfo), 0, 0, 0, 0};
    return get && SUCCEEDED(get(&version)) ? version.Major : 4;
}

std::string BrowseForFolderU(HWND owner, const std::string& title)
{
    const TSysText sys(title);
    const bool ansi = AnsiWindows();
    // The two forms of the record differ only in the type their texts point to.
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = ansi ? reinterpret_cast<LPCWSTR>(sys.A()) : sys.W();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    static const auto browseW =
            ShellWideFunction<decltype(&SHBrowseForFolderW)>("SHBrowseForFolderW");
    static const auto pathW =
            ShellWideFunction<decltype(&SHGetPathFromIDListW)>("SHGetPathFromIDListW");
    if (!ansi && (!browseW || !pathW)) return "";
    const TItemList chosen{ansi ? SHBrowseForFolderA(reinterpret_cast<BROWSEINFOA*>(&info))
                                : browseW(&info)};
    // Room for a path of either form, and a NUL beyond it whatever the dialog wrote.
    wchar_t path[MAX_PATH + 1] = {};
    if (!chosen.Items) return "";
    if (ansi)
        return SHGetPathFromIDListA(chosen.Items, reinterpret_cast<char*>(path))
                       ? FromSystemA(reinterpret_cast<const char*>(path))
                       : "";
    return pathW(chosen.Items, path) ? FromSystemW(path) : "";
}
