#pragma once
// Port: modal message boxes, through which the programs ask the user and report errors. The
// uninstaller has no window of its own, so every word it says to the user goes through one.
// Tests substitute a scripted box; the Win32 layer shows the real one.
#include <string>

enum class TMsgButtons { Ok, YesNo, RetryCancel };
enum class TMsgIcon { None, Error, Question };
// Which button a press of Enter chooses: the first (Ok, Yes, Retry) or the second (No, Cancel).
enum class TMsgDefault { First, Second };
enum class TMsgResult { Ok, Yes, No, Retry, Cancel, Closed };

class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    // Shows a modal box and returns the button pressed.
    virtual TMsgResult Show(const std::string& text, const std::string& caption,
                            TMsgButtons buttons, TMsgIcon icon,
                            TMsgDefault defaultButton = TMsgDefault::First) = 0;
};

// The real message box; only the Windows build has one.
IMessageBox& SystemMessageBox();
