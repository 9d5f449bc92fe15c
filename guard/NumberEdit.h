#pragma once
// TNumberForm: the small modal dialog in which the user types a new allowed number or corrects
// one. Only a non-empty string of digits can be accepted. Its texts are in GuardTexts.h.
#include <string>

#include "common/TextTable.h"

// What a key pressed in a dialog does. PressFocused: the push button that has the focus is
// pressed, whichever it is.
enum class TDialogKey { PassOn, Accept, Cancel, PressFocused };

class INumberFormView {
public:
    virtual ~INumberFormView() = default;
    virtual void SetInfo(const std::string& text) = 0;
    virtual void SetNumber(const std::string& text) = 0;
    virtual std::string Number() = 0;
    virtual void SetAcceptEnabled(bool enabled) = 0;
    virtual bool AcceptEnabled() = 0;
    // Shows the dialog modally; true when it closed with the result OK.
    virtual bool ShowModal() = 0;
};

class TNumberForm {
public:
    // Fills the view in the language, shows it and, when the user accepted, returns true with
    // the edited number.
    static bool Execute(INumberFormView& view, std::string& number, TLanguage language);
    // The edit's change event.
    static void edNumberChange(INumberFormView& view) { UpdateButtons(view); }
    static void UpdateButtons(INumberFormView& view);
};

// Enter presses the push button that has the focus, as everywhere in Windows, so that a user who
// moved to "Nie" is not answered "Tak"; elsewhere it accepts when the accept button is enabled.
// Escape cancels; other keys go to the control.
TDialogKey FormKeyPress(char key, bool acceptEnabled, bool focusOnButton);
