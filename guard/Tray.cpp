#include "guard/Tray.h"

#include "common/Format.h"
#include "guard/GuardTexts.h"

TTrayIcon::TTrayIcon(INotificationArea& area, TLanguage language) : FArea(area), FLanguage(language)
{
    FIcon = FArea.ApplicationIcon();
    FWindow = FArea.CreateHiddenWindow(*this);
    BindWindow(true);
}

TTrayIcon::~TTrayIcon()
{
    BindWindow(false);
    FArea.DestroyHiddenWindow(FWindow);
}

void TTrayIcon::BindWindow(bool attach)
{
    if (attach) {
        if (FRecord.Window) return;
        FRecord.Window = FWindow;
    } else {
        FRecord.Window = nullptr;
    }
    UpdateTrayIcon();
}

void TTrayIcon::UpdateTrayIcon()
{
    FRecord.Icon = FIcon;
    FRecord.Tip = FTip;
    if (FVisible && FRecord.Window) {
        if (FActiveTrayIcon)
            FArea.Notify(TTrayOperation::Modify, FRecord);
        else if (FArea.Notify(TTrayOperation::Add, FRecord)) {
            FActiveTrayIcon = true;
            if (OnAdded) OnAdded(*this);
        }
    } else if (FActiveTrayIcon) {
        // The record may have lost its window (unbinding); the icon was added with it.
        TNotifyIconRecord record = FRecord;
        record.Window = FWindow;
        FArea.Notify(TTrayOperation::Delete, record);
        FActiveTrayIcon = false;
    }
}

void TTrayIcon::RetryAdd()
{
    if (FVisible && !FActiveTrayIcon) UpdateTrayIcon();
}

void TTrayIcon::SetIcon(void* icon)
{
    FIcon = icon;
    UpdateTrayIcon();
}

void TTrayIcon::SetTip(const std::string& text)
{
    if (FAnnouncing) {
        FOwnTip = text;
        return;
    }
    if (text == FTip) return;
    FTip = FirstCharacters(text, kTrayTipLength);
    UpdateTrayIcon();
}

void TTrayIcon::SetVisible(bool visible)
{
    if (visible == FVisible) return;
    FVisible = visible;
    UpdateTrayIcon();
}

void TTrayIcon::Announce(const std::string& title, const std::string& text, uint32_t tickMs)
{
    // Unsigned arithmetic: right across the clock's wrap as well.
    const bool showing = FBurst > 0 && tickMs - FBalloonTick < kBalloonTimeoutMs;
    FBurst = showing ? FBurst + 1 : 1;
    FBalloonTick = tickMs;
    const std::string said = BalloonText(text, FBurst, FLanguage);
    if (!FArea.HasBalloons()) {
        // The first shells have no balloons: the tip says it until the window is seen.
        if (!FAnnouncing) FOwnTip = FTip;
        FAnnouncing = false;
        SetTip(said);
        FAnnouncing = true;
        return;
    }
    if (!FVisible || !FActiveTrayIcon) return;
    TNotifyIconRecord record = FRecord;
    record.Flags |= kBalloonFlag;
    record.BalloonTitle = title;
    record.BalloonText = said;
    record.BalloonTimeoutMs = kBalloonTimeoutMs;
    FArea.Notify(TTrayOperation::Modify, record);
}

void TTrayIcon::EndAnnouncement()
{
    FBurst = 0;
    if (!FAnnouncing) return;
    FAnnouncing = false;
    SetTip(FOwnTip);
}

std::string BalloonText(const std::string& text, int count, TLanguage language)
{
    return count > 1 ? text + "\r\n" + Format(GuardText(TGuardText::BalloonBurst, language), count)
                     : text;
}

bool TTrayIcon::Fire(const TNotifyEvent& event)
{
    if (!event) return false;
    event(*this);
    return true;
}

bool TTrayIcon::WndProc(uint32_t mouseMessage)
{
    switch (mouseMessage) {
    case kMouseMove: return Fire(OnMouseMove);
    case kLeftButtonDown: return OnClick ? Fire(OnClick) : Fire(OnMouseDown);
    case kLeftButtonUp:
    case kRightButtonUp:
    case kMiddleButtonUp: return Fire(OnMouseUp);
    case kLeftDoubleClick:
    case kRightDoubleClick:
    case kMiddleDoubleClick: return Fire(OnDblClick);
    case kRightButtonDown:
        if (PopupMenu) {
            PopupMenu->PopupAtCursor();
            return true;
        }
        return Fire(OnMouseDown);
    case kMiddleButtonDown: return Fire(OnMouseDown);
    case kMouseWheel: return Fire(OnMouseWheel);
    default: return false;
    }
}

std::string FirstCharacters(const std::string& text, size_t count)
{
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        // A byte that does not continue a sequence starts a character.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (characters == count) return text.substr(0, i);
            ++characters;
        }
    }
    return text;
}
