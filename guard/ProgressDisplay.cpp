#include "guard/ProgressDisplay.h"

#include <algorithm>

#include "common/Errors.h"
#include "common/Trace.h"

std::string ProgressBar(int position, int maximum)
{
    int k = 0;
    if (maximum > 0 && position > 0) {
        const int64_t tenfold = static_cast<int64_t>(position) * 10;
        k = static_cast<int>((2 * tenfold + maximum) / (2 * static_cast<int64_t>(maximum)));
    }
    LW_ASSERT(k <= 10);
    return std::string(static_cast<size_t>(k), 'o') + std::string(static_cast<size_t>(10 - k), '.');
}

void TProgressDisplay::SetStatusText(const std::string& text, bool progressPanel)
{
    Trace(text);
    if (progressPanel)
        FView.SetProgressText(text);
    else
        FView.SetConnectionStatus(text);
}

void TProgressDisplay::BeginProgress(int steps, const std::string& caption)
{
    FActive = true;
    FCaption = caption;
    FMax = steps;
    FPosition = -1;
    SetProgressPosition(0);
    FView.SetHourglass(true);
    DrawProgress();
}

void TProgressDisplay::SetProgressPosition(int position)
{
    position = std::min(position, FMax);
    if (position == FPosition) return;
    FPosition = position;
    DrawProgress();
}

void TProgressDisplay::EndProgress()
{
    DrawProgress();
    FActive = false;
    FView.SetHourglass(false);
    SetStatusText("", true);
}

std::string TProgressDisplay::ProgressText() const
{
    if (!FActive) return "";
    const std::string bar = ProgressBar(FPosition, FMax);
    return FCaption.empty() ? bar : FCaption + " " + bar;
}

void TProgressDisplay::DrawProgress()
{
    SetStatusText(ProgressText(), true);
}
