#pragma once
// TTrayIcon: one icon with a tool tip in the desktop's notification area, kept in step with its
// properties, turning mouse activity on the icon into events or into the popup menu.
#include <cstdint>
#include <functional>
#include <string>

#include "common/TextTable.h"

// What is handed to the notification area for one icon. The wide record of the shell's first
// version (its tip field holds 64 UTF-16 units) replaces the 88-byte ANSI one, so that a Polish
// tip shows on any Windows; the tip is still cut to 63 characters.
struct TNotifyIconRecord {
    void* Window = nullptr;  // the hidden window while bound
    uint32_t Id = 100;
    uint32_t Flags = 7;               // callback message, icon and tip are valid
    uint32_t CallbackMessage = 1025;  // the first user message number plus one
    void* Icon = nullptr;
    std::string Tip;
    // A balloon, shown when Flags holds kBalloonFlag: its title, its text and how long it
    // stays. Only shells from version 5.0 on have balloons.
    std::string BalloonTitle;
    std::string BalloonText;
    uint32_t BalloonTimeoutMs = 0;
};

constexpr uint32_t kBalloonFlag = 0x10;  // NIF_INFO
// A balloon stays about this long; one shown meanwhile replaces it.
constexpr uint32_t kBalloonTimeoutMs = 10000;

enum class TTrayOperation { Add, Modify, Delete };

// The desktop's notification area and the tray icon's hidden window.
class INotificationArea {
public:
    virtual ~INotificationArea() = default;
    // Shell_NotifyIcon: true when the operation succeeded.
    virtual bool Notify(TTrayOperation operation, const TNotifyIconRecord& record) = 0;
    // Whether the shell shows balloons (its version is 5.0 or later).
    virtual bool HasBalloons() = 0;
    // The application's icon, shared (never destroyed through the tray).
    virtual void* ApplicationIcon() = 0;
    // A hidden window whose callback messages reach owner.WndProc; destroyed by DestroyWindow.
    virtual void* CreateHiddenWindow(class TTrayIcon& owner) = 0;
    virtual void DestroyHiddenWindow(void* window) = 0;
};

// A menu that can be opened at the cursor (the main window's popup menu).
class IPopupMenu {
public:
    virtual ~IPopupMenu() = default;
    virtual void PopupAtCursor() = 0;
};

// Mouse messages that the notification area reports with the callback message.
enum : uint32_t {
    kMouseMove = 512,
    kLeftButtonDown = 513,
    kLeftButtonUp = 514,
    kLeftDoubleClick = 515,
    kRightButtonDown = 516,
    kRightButtonUp = 517,
    kRightDoubleClick = 518,
    kMiddleButtonDown = 519,
    kMiddleButtonUp = 520,
    kMiddleDoubleClick = 521,
    kMouseWheel = 522,
};

constexpr size_t kTrayTipLength = 63;

class TTrayIcon {
public:
    using TNotifyEvent = std::function<void(TTrayIcon& sender)>;

    // language: that of the count a burst of announcements adds.
    TTrayIcon(INotificationArea& area, TLanguage language);
    ~TTrayIcon();
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    void* Icon() const { return FIcon; }
    void SetIcon(void* icon);
    const std::string& Tip() const { return FTip; }
    void SetTip(const std::string& text);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    bool ActiveTrayIcon() const { return FActiveTrayIcon; }
    IPopupMenu* PopupMenu = nullptr;

    TNotifyEvent OnClick, OnDblClick, OnMouseDown, OnMouseMove, OnMouseUp, OnMouseWheel;
    // Runs each time the notification area took the icon after it held none of ours.
    TNotifyEvent OnAdded;

    // Tells the user of something the guard did by itself, while its window may be hidden:
    // a balloon over the icon for about ten seconds, or, where the shell has no balloons, the
    // tip until EndAnnouncement. At most one balloon at a time: one that comes while another
    // shows replaces it with the newest text and the count of the burst. tickMs: the clock's
    // milliseconds now.
    void Announce(const std::string& title, const std::string& text, uint32_t tickMs);
    // The user has seen the window: the tip is the program's own again.
    void EndAnnouncement();

    void UpdateTrayIcon();
    // An icon that is to be shown but is not registered is offered to the notification area
    // again; at logon the guard may start before the shell has one. Nothing happens otherwise.
    void RetryAdd();
    // The hidden window's callback message: true when the mouse message was handled (an
    // assigned event ran or the menu was shown).
    bool WndProc(uint32_t mouseMessage);
    const TNotifyIconRecord& Record() const { return FRecord; }

private:
    void BindWindow(bool attach);
    bool Fire(const TNotifyEvent& event);

    INotificationArea& FArea;
    TLanguage FLanguage;
    void* FIcon = nullptr;
    std::string FTip = "TTrayIcon";
    bool FVisible = false;
    bool FActiveTrayIcon = false;
    void* FWindow = nullptr;
    TNotifyIconRecord FRecord;
    // The tip the program set, while an announcement stands in its place.
    std::string FOwnTip;
    bool FAnnouncing = false;
    uint32_t FBalloonTick = 0;
    int FBurst = 0;
};

// The balloon's text for the count-th event of a burst, in the language.
std::string BalloonText(const std::string& text, int count, TLanguage language);

// The first count characters of UTF-8 text, never cutting one in two.
std::string FirstCharacters(const std::string& text, size_t count);
