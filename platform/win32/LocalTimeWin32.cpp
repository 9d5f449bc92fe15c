#include <windows.h>

#include "common/TextConv.h"
#include "platform/LocalTime.h"

namespace {

class TLocalTimeWin32 : public ILocalTime {
public:
    TLocalTime Now() override
    {
        SYSTEMTIME st;
        GetLocalTime(&st);
        return TLocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
    }
    std::string TimeSeparator() override
    {
        wchar_t buffer[8] = {};
        const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, buffer, 8);
        if (length <= 1) return ":";
        return Utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(buffer), static_cast<size_t>(length - 1)));
    }
};

}  // namespace

ILocalTime& SystemLocalTime()
{
    static TLocalTimeWin32 instance;
    return instance;
}
