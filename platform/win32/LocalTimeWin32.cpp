// The local time and the user's time separator from the system.
#include "platform/LocalTime.h"
#include "platform/win32/WinTextSystem.h"

namespace {

// Where the locale cannot say, the colon the Polish locale uses.
const char kDefaultSeparator[] = ":";

// The bias the system applies now, as minutes ahead of UTC. The zone's bias counts the other
// way (UTC = local + bias), and its daylight or standard part applies as the system says.
int UtcOffsetMinutes()
{
    TIME_ZONE_INFORMATION zone = {};
    const DWORD which = GetTimeZoneInformation(&zone);
    if (which == TIME_ZONE_ID_INVALID) return 0;
    LONG bias = zone.Bias;
    if (which == TIME_ZONE_ID_DAYLIGHT) bias += zone.DaylightBias;
    else if (which == TIME_ZONE_ID_STANDARD) bias += zone.StandardBias;
    return static_cast<int>(-bias);
}

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
        t.UtcOffsetMinutes = UtcOffsetMinutes();
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
