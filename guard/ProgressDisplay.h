#pragma once
// The status bar while the guard works: panel 0 shows the connection status, panel 1 the caption
// of the running check with a text progress bar, and the cursor is an hourglass meanwhile.
#include <cstdint>
#include <string>

#include "guard/GuardViews.h"

// The text progress bar: k of ten letters 'o' then full stops, k = position * 10 / maximum
// rounded half away from zero.
std::string ProgressBar(int position, int maximum);

class TProgressDisplay {
public:
    explicit TProgressDisplay(IStatusView& view) : FView(view) {}

    // The progress panel when progressPanel, else the connection status; painted now.
    void SetStatusText(const std::string& text, bool progressPanel);

    void BeginProgress(int steps, const std::string& caption);
    // Never beyond the maximum; a position already shown is not drawn again.
    void SetProgressPosition(int position);
    void StepProgress() { SetProgressPosition(FPosition + 1); }
    int ProgressMax() const { return FMax; }
    void SetProgressMax(int maximum) { FMax = maximum; }
    void EndProgress();
    // The text the progress panel shows for the current state ("" when no check runs).
    std::string ProgressText() const;
    void DrawProgress();

private:
    IStatusView& FView;
    bool FActive = false;
    std::string FCaption;
    int32_t FPosition = 0;
    int32_t FMax = 0;
};

// Ends the progress display when a check is left by an exception; the normal way out ends it
// itself (Done), in its place among the check's steps.
class TProgressScope {
public:
    explicit TProgressScope(TProgressDisplay& progress) : FProgress(progress) {}
    ~TProgressScope()
    {
        if (FArmed) FProgress.EndProgress();
    }
    TProgressScope(const TProgressScope&) = delete;
    TProgressScope& operator=(const TProgressScope&) = delete;
    void Done()
    {
        FArmed = false;
        FProgress.EndProgress();
    }

private:
    TProgressDisplay& FProgress;
    bool FArmed = true;
};
