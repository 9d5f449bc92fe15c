// The local time and the user's time separator from the system.
#include "platform/LocalTime.h"
#include "platform/win32/WinTextSystem.h"

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
        // An empty separator would run the stamp's fields together: it counts as a failure.
        const std::string separator = GetLocaleInfoU(LOCALE_USER_DEFAULT, LOCALE_STIME);
        return separator.empty() ? kDefaultSeparator : separator;
    }
};

}  // namespace

ILocalTime& SystemLocalTime()
{
    static TWin32LocalTime localTime;
    return localTime;
}
