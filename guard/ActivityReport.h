#pragma once
// The activity report: every action of the guard becomes one row, stamped with the local time,
// and one line of the lasting log where the guard keeps one.
#include <functional>
#include <string>

#include "common/Format.h"
#include "guard/ActivityLog.h"
#include "guard/GuardViews.h"
#include "platform/LocalTime.h"

// A report stamp: "hh:mm:ss dd:mm:yy" with the locale's time separator in place of each colon.
std::string FormatReportTime(const TLocalTime& time, const std::string& separator);

class TActivityReport {
public:
    TActivityReport(IReportView& view, ILocalTime& time) : FView(view), FTime(time) {}

    // From now on every row also goes to the log. The first line the log cannot take calls
    // onFailure with the log's file, once a run: the user is told once, and the guard goes on.
    void SetLog(TActivityLog* log, std::function<void(const std::string& file)> onFailure);

    // One row. The log's line may say more than the row: detail follows the text there, in
    // brackets (which entry, whether the user was asked), where the row keeps its fixed words.
    void Add(const std::string& text, const std::string& detail = std::string());
    template <typename... Args>
    void AddFmt(const std::string& format, const Args&... args)
    {
        Add(Format(format, args...));
    }
    // A line for the log alone (the guard's end, when the window is going).
    void Log(const std::string& text) { Log(FTime.Now(), text); }

private:
    void Log(const TLocalTime& time, const std::string& text);

    IReportView& FView;
    ILocalTime& FTime;
    TActivityLog* FLog = nullptr;
    std::function<void(const std::string&)> FOnLogFailure;
    bool FLogFailureTold = false;
};
