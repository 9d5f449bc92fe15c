#pragma once
// TDialQuestionForm: the modal question the guard asks before it acts on what it found: a dialer
// program (mode 0), an active connection to a forbidden number (mode 1) or a phonebook entry
// with a forbidden number (mode 2).
#include <string>

#include "guard/GuardTexts.h"

enum TQuestionMode { qmDialer = 0, qmActiveConnection = 1, qmPhonebookEntry = 2 };
constexpr int kQuestionModeCount = 3;

// What the dialog says in one of its modes.
struct TQuestionTexts {
    std::string Caption;
    std::string Info;
    std::string Desc;
    std::string Lab1;
    std::string Lab2;
    std::string Quest;
};

// The texts of a mode in the language; modes outside 0..2 are an internal error.
TQuestionTexts QuestionTexts(int mode, TLanguage language);

// Where the question's bottom leaves the buttons and the client area's bottom.
struct TQuestionLayout {
    int QuestionHeight;
    int ClientHeight;
    int ButtonTop;
};
// The question label starts 30 pixels high and grows to its word-wrapped text; the buttons sit
// half a button's height below it and the client area ends one more button height lower.
TQuestionLayout FitQuestion(int questionTop, int wrappedTextHeight, int buttonHeight);

class IDialQuestionView {
public:
    virtual ~IDialQuestionView() = default;
    virtual void SetTexts(const TQuestionTexts& texts) = 0;
    // Height of the question's text word-wrapped to the label's width.
    virtual int WrappedQuestionHeight() = 0;
    virtual int QuestionTop() = 0;
    virtual int ButtonHeight() = 0;
    virtual void ApplyLayout(const TQuestionLayout& layout) = 0;
    virtual void SetImage(int mode) = 0;
    virtual void SetValues(const std::string& value1, const std::string& value2) = 0;
    virtual void SetAcceptEnabled(bool enabled) = 0;
    virtual bool ShowModal() = 0;
};

class TDialQuestionForm {
public:
    // Construction applies the texts of mode 0, in the language.
    TDialQuestionForm(IDialQuestionView& view, TLanguage language);
    int Mode() const { return FMode; }
    // Shows the question modally; true when the user answered "Tak".
    bool Execute(int mode, const std::string& value1, const std::string& value2);
    void UpdateTexts();

private:
    IDialQuestionView& FView;
    TLanguage FLanguage;
    int FMode = qmDialer;
};
