#pragma once
// Port: the local date and time and the locale's time separator (the guard stamps its report
// lines "hh:mm:ss dd:mm:yy" with them; tests use a fixed clock).
#include <string>
struct TLocalTime {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
    // How far this local time is ahead of UTC, daylight saving included (+60 in a Polish
    // winter): a log read later, or in another zone, still tells when things happened.
    int UtcOffsetMinutes = 0;
};
class ILocalTime {
public:
    virtual ~ILocalTime() = default;
    virtual TLocalTime Now() = 0;  // the local wall-clock time
    virtual std::string
    TimeSeparator() = 0;  // the user's locale time separator, UTF-8 (":" in Polish)
};
ILocalTime& SystemLocalTime();
