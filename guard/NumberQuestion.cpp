#include "guard/NumberQuestion.h"

#include "common/Errors.h"

namespace {

struct TQuestionTextIds {
    TGuardText Caption, Info, Desc, Lab1, Lab2, Quest;
};

// In TQuestionMode order: a dialer program, an active connection to a forbidden number, a
// phonebook entry with a forbidden number.
constexpr TQuestionTextIds kQuestionModeTexts[] = {
        {TGuardText::DialerCaption, TGuardText::DialerInfo, TGuardText::DialerDesc,
         TGuardText::DialerLab1, TGuardText::DialerLab2, TGuardText::DialerQuest},
        {TGuardText::ActiveConnectionCaption, TGuardText::ActiveConnectionInfo,
         TGuardText::ActiveConnectionDesc, TGuardText::ActiveConnectionLab1,
         TGuardText::ActiveConnectionLab2, TGuardText::ActiveConnectionQuest},
        {TGuardText::PhonebookEntryCaption, TGuardText::PhonebookEntryInfo,
         TGuardText::PhonebookEntryDesc, TGuardText::PhonebookEntryLab1,
         TGuardText::PhonebookEntryLab2, TGuardText::PhonebookEntryQuest},
};
static_assert(sizeof kQuestionModeTexts / sizeof kQuestionModeTexts[0] == kQuestionModeCount,
              "one set of texts per question mode");

constexpr int kInitialQuestionHeight = 30;

}  // namespace

TQuestionTexts QuestionTexts(int mode, TLanguage language)
{
    LW_ASSERT(mode >= 0 && mode < kQuestionModeCount);
    const TQuestionTextIds& ids = kQuestionModeTexts[mode];
    return {GuardText(ids.Caption, language), GuardText(ids.Info, language),
            GuardText(ids.Desc, language),    GuardText(ids.Lab1, language),
            GuardText(ids.Lab2, language),    GuardText(ids.Quest, language)};
}

TQuestionLayout FitQuestion(int questionTop, int wrappedTextHeight, int buttonHeight)
{
    TQuestionLayout layout{};
    layout.QuestionHeight =
            wrappedTextHeight > kInitialQuestionHeight ? wrappedTextHeight : kInitialQuestionHeight;
    const int bottom = questionTop + layout.QuestionHeight;
    layout.ClientHeight = bottom + 2 * buttonHeight;
    layout.ButtonTop = bottom + (2 * buttonHeight) / 4;
    return layout;
}

TDialQuestionForm::TDialQuestionForm(IDialQuestionView& view, TLanguage language)
    : FView(view), FLanguage(language)
{
    UpdateTexts();
}

void TDialQuestionForm::UpdateTexts()
{
    FView.SetTexts(QuestionTexts(FMode, FLanguage));
    FView.ApplyLayout(
            FitQuestion(FView.QuestionTop(), FView.WrappedQuestionHeight(), FView.ButtonHeight()));
    FView.SetImage(FMode);
}

bool TDialQuestionForm::Execute(int mode, const std::string& value1, const std::string& value2)
{
    if (mode != FMode) {
        FMode = mode;
        UpdateTexts();
    }
    FView.SetValues(value1, value2);
    FView.SetAcceptEnabled(true);
    return FView.ShowModal();
}
