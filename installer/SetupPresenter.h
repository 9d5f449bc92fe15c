#pragma once
// What the setup's window does: Install, Browse and Cancel, which controls can be used, the
// progress, the last line, the questions and the result. The window itself is a view behind
// ISetupView, so all of this runs on fakes in the tests.
#include <string>

#include "installer/Install.h"
#include "installer/SetupRules.h"

struct TSetupWindowResult {
    int ExitCode;
    bool StartGuard;
};

class ISetupView {
public:
    virtual ~ISetupView() = default;
    virtual std::string Folder() = 0;
    virtual void SetFolder(const std::string& folder) = 0;
    virtual bool AutoStart() = 0;
    virtual void SetAutoStart(bool on) = 0;
    virtual bool StartGuard() = 0;
    virtual void SetStartGuard(bool on) = 0;
    // The folder, Browse, both options, Install and Cancel together.
    virtual void EnableInputs(bool enabled) = 0;
    // 0 to 100.
    virtual void SetProgress(int percent) = 0;
    virtual void SetStatus(const std::string& text) = 0;
    // Gives the Cancel button the text, enables it and puts the focus on it.
    virtual void TurnCancelInto(const std::string& text) = 0;
    // A Retry/Cancel box; true for Retry.
    virtual bool AskRetry(const std::string& text) = 0;
    virtual void ShowError(const std::string& text) = 0;
    // The folder the user picks; "" when the user gives up.
    virtual std::string ChooseFolder(const std::string& title) = 0;
    virtual void CloseWindow() = 0;
};

class TSetupPresenter {
public:
    // Its texts are in the language.
    TSetupPresenter(ISetupView& view, TSetupInstaller& setup, TLanguage language);

    // Fills the controls for an installation into the folder.
    void Start(const std::string& folder);
    void Browse();
    void Install();
    // Cancel, Close and the window's own close box.
    void Cancel();

    // Cancelled until an installation is done.
    const TSetupWindowResult& Result() const { return FResult; }

private:
    ISetupView& FView;
    TSetupInstaller& FSetup;
    const TLanguage FLanguage;
    TSetupWindowResult FResult{kSetupCancelled, true};
    // Message boxes shown during the installation run a message loop, in which the window's
    // buttons and its close box still reach us.
    bool FBusy = false;
    bool FInstalled = false;
};
