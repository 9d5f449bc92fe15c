// The C library's local time. Linux keeps no per-user time separator that matches the Windows
// one, so it is the colon, as in the Polish locale.
#include "platform/LocalTime.h"

#include <time.h>

namespace {

class TPosixLocalTime : public ILocalTime {
public:
    TLocalTime Now() override
    {
        const time_t now = time(nullptr);
        struct tm local = {};
        TLocalTime t;
        if (!localtime_r(&now, &local)) return t;
        t.Year = local.tm_year + 1900;
        t.Month = local.tm_mon + 1;
        t.Day = local.tm_mday;
        t.Hour = local.tm_hour;
        t.Minute = local.tm_min;
        t.Second = local.tm_sec;
        t.UtcOffsetMinutes = static_cast<int>(local.tm_gmtoff / 60);
        return t;
    }
    std::string TimeSeparator() override { return ":"; }
};

}  // namespace

ILocalTime& SystemLocalTime()
{
    static TPosixLocalTime localTime;
    return localTime;
}
