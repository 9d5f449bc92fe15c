#include "guard/NumberQuestion.h"

#include "common/Errors.h"

namespace {

static_assert(sizeof kQuestionModeTexts / sizeof kQuestionModeTexts[0] == kQuestionModeCount,
              "one set of texts per question mode");

constexpr int kInitialQuestionHeight = 30;

}  // namespace

const TQuestionTexts& QuestionTexts(int mode)
{
    LW_ASSERT(mode >= 0 && mode < kQuestionModeCount);
    return kQuestionModeTexts[mode];
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

TDialQuestionForm::TDialQuestionForm(IDialQuestionView& view) : FView(view)
{
    UpdateTexts();
}

void TDialQuestionForm::UpdateTexts()
{
    FView.SetTexts(QuestionTexts(FMode));
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
