#pragma once
// The number editor and the detection dialog as real modal windows built from their layout
// tables. Each lives for one question. While one is open its owner (the main window) is
// disabled, and the dialog's own loop dispatches every message of the thread, so that RAS
// notifications, timers and the tray icon's commands go on arriving.
#include <windows.h>

#include <string>
#include <vector>

#include "guard/GuardViews.h"
#include "guard/NumberEdit.h"
#include "guard/NumberQuestion.h"
#include "platform/win32/WindowKit.h"

// One dialog window over a layout: the fixed dialog border with only the system menu button,
// the controls with their texts in the language, and the modal loop.
class TModalWindow {
public:
    TModalWindow(const TLook& look, HWND owner, const TWindowLayout& layout, TLanguage language,
                 std::vector<TModalWindow*>& open);
    virtual ~TModalWindow();
    TModalWindow(const TModalWindow&) = delete;
    TModalWindow& operator=(const TModalWindow&) = delete;

    // Shows the window centred on its owner and returns when it ends; true for OK.
    bool RunModal();
    // Ends the modal loop with this result; ending it as declined is what closing does.
    void End(bool ok);

protected:
    HWND Window() const { return FWindow.get(); }
    HWND Control(int id) const;
    const TLook& Look() const { return FLook; }
    // Sets the client area's height, keeping the width.
    void SetClientHeight(int height);
    void ShowIcon(int resourceId);
    bool AcceptEnabled() const;
    virtual void Command(int id, int code);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Enter and Escape, seen before the focused control: true when the key was taken.
    bool PreviewKey(const MSG& message);
    // The push button of this dialog that has the focus, or null.
    HWND FocusedButton() const;
    // Draws the focused push button as the default one, else the accept button.
    void FollowFocus();

    const TLook& FLook;
    const TWindowLayout& FLayout;
    HWND FOwner;
    std::vector<TModalWindow*>& FOpen;
    TWindowHandle FWindow;
    std::vector<HWND> FControls;
    TIconHandle FImage;
    int FAccept, FCancel;
    HWND FLastFocus = nullptr;
    bool FDone = false;
    bool FResult = false;
};

class TNumberDialog : public TModalWindow, public INumberFormView {
public:
    TNumberDialog(const TLook& look, HWND owner, TLanguage language,
                  std::vector<TModalWindow*>& open);
    void SetInfo(const std::string& text) override;
    void SetNumber(const std::string& text) override;
    std::string Number() override;
    void SetAcceptEnabled(bool enabled) override;
    bool AcceptEnabled() override { return TModalWindow::AcceptEnabled(); }
    bool ShowModal() override { return RunModal(); }

private:
    void Command(int id, int code) override;
};

class TQuestionDialog : public TModalWindow, public IDialQuestionView {
public:
    TQuestionDialog(const TLook& look, HWND owner, TLanguage language,
                    std::vector<TModalWindow*>& open);
    void SetTexts(const TQuestionTexts& texts) override;
    int WrappedQuestionHeight() override;
    int QuestionTop() override;
    int ButtonHeight() override;
    void ApplyLayout(const TQuestionLayout& layout) override;
    void SetImage(int mode) override;
    void SetValues(const std::string& value1, const std::string& value2) override;
    void SetAcceptEnabled(bool enabled) override;
    bool ShowModal() override { return RunModal(); }

private:
    std::string FQuestion;
};

class TGuardDialogs : public IGuardDialogs {
public:
    TGuardDialogs(const TLook& look, HWND owner, TLanguage language)
        : FLook(look), FOwner(owner), FLanguage(language)
    {
    }
    bool EditNumber(std::string& number) override;
    bool AskQuestion(int mode, const std::string& value1, const std::string& value2) override;
    void CancelDialogs() override;

private:
    const TLook& FLook;
    HWND FOwner;
    TLanguage FLanguage;
    // The dialogs open now, innermost last: a tray command may open one while another waits.
    std::vector<TModalWindow*> FOpen;
};
