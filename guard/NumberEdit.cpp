#include "guard/NumberEdit.h"

#include "common/StrUtils.h"
#include "guard/GuardTexts.h"

bool TNumberForm::Execute(INumberFormView& view, std::string& number, TLanguage language)
{
    view.SetNumber(number);
    view.SetInfo(GuardText(number.empty() ? TGuardText::NumberInfoAdd : TGuardText::NumberInfoEdit,
                           language));
    UpdateButtons(view);
    if (!view.ShowModal()) return false;
    number = view.Number();
    return true;
}

void TNumberForm::UpdateButtons(INumberFormView& view)
{
    view.SetAcceptEnabled(IsDigits(view.Number()));
}

TDialogKey FormKeyPress(char key, bool acceptEnabled, bool focusOnButton)
{
    if (key == '\r' && focusOnButton) return TDialogKey::PressFocused;
    if (key == '\r') return acceptEnabled ? TDialogKey::Accept : TDialogKey::PassOn;
    if (key == 27) return TDialogKey::Cancel;
    return TDialogKey::PassOn;
}
