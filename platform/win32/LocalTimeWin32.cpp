// The local time and the user's time separator from the system.
#include <windows.h>

#include <vector>

#include "platform/LocalTime.h"
#include "platform/win32/Win32Text.h"

namespace {

// Where the locale cannot say, the colon the Polish locale uses.
const char kDefaultSeparator[] = ":";

class TWin32LocalTime : public ILocalTime {
public:
    TLocalTime Now() override
    {
        SYSTEMTIME st = {};
        GetLocalTime(&st);
        TLocalTime t;
        t.Year = st.wYear;
        t.Month = st.wMonth;
        t.Day = st.wDay;
        t.Hour = st.wHour;
        t.Minute = st.wMinute;
        t.Second = st.wSecond;
        return t;
    }

    std::string TimeSeparator() override
    {
        // The size is asked first, so a separator of any length fits; a setting changed between
        // the two calls makes the second one fail, which falls back like any other failure.
        const int size = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, nullptr, 0);
        if (size <= 1) return kDefaultSeparator;
        std::vector<wchar_t> buffer(static_cast<size_t>(size), L'\0');
        const int copied = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, buffer.data(), size);
        // The count includes the terminator. An empty separator would run the stamp's fields
        // together, so it counts as a failure too.
        if (copied <= 1 || copied > size) return kDefaultSeparator;
        return Narrow(buffer.data(), static_cast<size_t>(copied - 1));
    }
};

}  // namespace

ILocalTime& SystemLocalTime()
{
    static TWin32LocalTime localTime;
    return localTime;
}
