#include "guard/NumberQuestion.h"

#include "common/Errors.h"

namespace {

const TQuestionTexts kTexts[kQuestionModeCount] = {
        {"Wykryty Dialer", "Niebezpieczny program (dialer)",
         "Wykryty został niebezpieczny  program, który jest dialerem.", "Program", "Ścieżka",
         "Program może podjąć następujące kroki w celu całkowitego usunięcia go z systemu:\r\n"
         " - znalezienie i zabicie procesu wykrytego dialera;\r\n"
         " - usunięcie pliku dialera;\r\n"
         " - znalezienie i usunięcie skrótów dialera;\r\n"
         " - usunięcie wpisu w rejestrze powodującego automatyczne uruchomienie dialera przy "
         "starcie "
         "systemu.\r\n"
         "\r\n"
         "Czy chcesz aby program automatycznie podjął niezbędne kroki celem usunięcia wykrytego "
         "dialera?"},
        {"Niedozwolone aktywne połączenie", "Niedozwolone aktywne połączenie telefoniczne",
         "Wykryto próbę nawiązania połączenia telefonicznego z niedozwolonym numerem.",
         "Połączenie", "Numer telefonu",
         "Czy chcesz je przerwać aby nie korzystać z połączenia o podwyższonej opłacie?"},
        {"Niedozwolone połączenie", "Niedozwolone połączenie telefoniczne",
         "Wykryte zostało nieaktywne połączenie telefoniczne z niedozwolonym numerem.",
         "Połączenie", "Numer telefonu",
         "Czy chcesz je usunąć aby w przyszłości nie korzystać z połączenia o podwyższonej "
         "opłacie?"},
};

constexpr int kInitialQuestionHeight = 30;

}  // namespace

const TQuestionTexts& QuestionTexts(int mode)
{
    LW_ASSERT(mode >= 0 && mode < kQuestionModeCount, "NumberQuestion");
    return kTexts[mode];
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
