#pragma once
// The activity report: every action of the guard becomes one row, stamped with the local time.
#include <string>

#include "common/Format.h"
#include "guard/GuardViews.h"
#include "platform/LocalTime.h"

// A report stamp: "hh:mm:ss dd:mm:yy" with the locale's time separator in place of each colon.
std::string FormatReportTime(const TLocalTime& time, const std::string& separator);

class TActivityReport {
public:
    TActivityReport(IReportView& view, ILocalTime& time) : FView(view), FTime(time) {}

    void Add(const std::string& text);
    template <typename... Args>
    void AddFmt(const std::string& format, const Args&... args)
    {
        Add(Format(format, args...));
    }

private:
    IReportView& FView;
    ILocalTime& FTime;
};
