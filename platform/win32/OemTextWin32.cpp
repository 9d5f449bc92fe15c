#include "platform/OemText.h"

#include "platform/win32/Win32Text.h"

bool Utf8ToOem(const std::string& text, std::string& oem)
{
    oem.clear();
    if (text.empty()) return true;
    const std::wstring wide = Wide(text);
    BOOL substituted = FALSE;
    int n = WideCharToMultiByte(CP_OEMCP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, &substituted);
    if (n <= 0 || substituted) return false;
    oem.assign(static_cast<size_t>(n), '\0');
    n = WideCharToMultiByte(CP_OEMCP, 0, wide.data(), static_cast<int>(wide.size()), &oem[0], n,
                            nullptr, &substituted);
    if (n <= 0 || substituted) return false;
    oem.resize(static_cast<size_t>(n));
    // A "best fit" mapping (an accented letter turned plain) is no substitute the call reports,
    // but it names another file all the same: only a conversion that comes back whole counts.
    const int back = MultiByteToWideChar(CP_OEMCP, 0, oem.data(), n, nullptr, 0);
    std::wstring round(static_cast<size_t>(back > 0 ? back : 0), L'\0');
    if (back > 0) MultiByteToWideChar(CP_OEMCP, 0, oem.data(), n, &round[0], back);
    return round == wide;
}
