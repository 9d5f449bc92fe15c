#include "guard/ActivityReport.h"

std::string FormatReportTime(const TLocalTime& time, const std::string& separator)
{
    return Format("%.2d%s%.2d%s%.2d %.2d%s%.2d%s%.2d", time.Hour, separator, time.Minute, separator,
                  time.Second, time.Day, separator, time.Month, separator, time.Year % 100);
}

void TActivityReport::SetLog(TActivityLog* log,
                             std::function<void(const std::string& file)> onFailure)
{
    FLog = log;
    FOnLogFailure = std::move(onFailure);
}

void TActivityReport::Add(const std::string& text, const std::string& detail)
{
    const TLocalTime now = FTime.Now();
    FView.AddReportRow(FormatReportTime(now, FTime.TimeSeparator()), text);
    Log(now, detail.empty() ? text : text + " [" + detail + "]");
}

void TActivityReport::Log(const TLocalTime& time, const std::string& text)
{
    if (!FLog || FLog->Write(time, text) || FLogFailureTold) return;
    // Told before the call: what it reports goes through here again and must not be told twice.
    FLogFailureTold = true;
    if (FOnLogFailure) FOnLogFailure(FLog->FileName());
}
