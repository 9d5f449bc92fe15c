#include "platform/AnsiText.h"

#include <vector>

#include "platform/win32/Win32Text.h"

namespace {

std::wstring CodePageToWide(UINT codePage, const std::string& text)
{
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                0);
    if (n <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

std::string WideToCodePage(UINT codePage, const std::wstring& text)
{
    if (text.empty()) return std::string();
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n,
                        nullptr, nullptr);
    return out;
}

}  // namespace

std::string Utf8ToAnsi(const std::string& text)
{
    return WideToCodePage(CP_ACP, Wide(text));
}

std::string AnsiToUtf8(const std::string& text)
{
    return Narrow(CodePageToWide(CP_ACP, text));
}
