#include "guard/ActivityReport.h"

std::string FormatReportTime(const TLocalTime& time, const std::string& separator)
{
    return Format("%.2d%s%.2d%s%.2d %.2d%s%.2d%s%.2d", time.Hour, separator, time.Minute, separator,
                  time.Second, time.Day, separator, time.Month, separator, time.Year % 100);
}

void TActivityReport::Add(const std::string& text)
{
    FView.AddReportRow(FormatReportTime(FTime.Now(), FTime.TimeSeparator()), text);
}
