#include "guard/Layout.h"

#include "common/Errors.h"
#include "common/Product.h"
#include "guard/GuardViews.h"

namespace {

// The client area's height: the five options of old, and under them the one that looks at calls
// while they are dialled, 16 pixels lower each.
constexpr int kMainHeight = 359;

// clang-format off
const TControlLayout kMain[] = {
    {idImage, "Image", TControlKind::Picture, kNoParent, 8, 32, 32, 32, "", "", csTransparent, -1},
    {idAppTitle, "laAppTitle", TControlKind::Label, kNoParent, 48, 8, 313, 13, "", "", csBold | csHandCursor, -1},
    {idMemo, "Memo", TControlKind::Memo, kNoParent, 48, 24, 313, 61, "", "", csReadOnly | csWordWrap, -1},
    {idConfiguration, "gbConfiguration", TControlKind::GroupBox, kNoParent, 16, 96, 345, 129, "", "", csBlueCaption, -1},
    {idAutoStart, "cbAutoStart", TControlKind::CheckBox, idConfiguration, 16, 16, 321, 17, "", "", csTabStop, 0},
    {idCheckAllowedNumbers, "cbCheckAllowedNumbers", TControlKind::CheckBox, idConfiguration, 16, 32, 321, 17, "", "", csTabStop, 1},
    {idAutoDeleteDialUp, "cbAutoDeleteDialUp", TControlKind::CheckBox, idConfiguration, 16, 48, 321, 17, "", "", csTabStop, 2},
    {idAutoDeleteDialers, "cbAutoDeleteDialers", TControlKind::CheckBox, idConfiguration, 16, 64, 321, 17, "", "", csTabStop, 3},
    {idAskBeforeDeleteDialUp, "cbAskBeforeDeleteDialUp", TControlKind::CheckBox, idConfiguration, 16, 80, 321, 17, "", "", csTabStop, 4},
    {idCheckWhileDialling, "cbCheckWhileDialling", TControlKind::CheckBox, idConfiguration, 16, 96, 321, 17, "", "", csTabStop, 5},
    {idAllowedNumbers, "gbAllowedNumbers", TControlKind::GroupBox, kNoParent, 16, 232, 345, 105, "", "", csBlueCaption, -1},
    {idNumbers, "lbNumbers", TControlKind::ListBox, idAllowedNumbers, 16, 16, 185, 81, "", "", csSorted | csTabStop, 6},
    {idAddNumber, "btAddNumber", TControlKind::Button, idAllowedNumbers, 224, 16, 100, 22, "", "", csTabStop, 7},
    {idEditNumber, "btEditNumber", TControlKind::Button, idAllowedNumbers, 224, 44, 100, 22, "", "", csTabStop, 8},
    {idDeleteNumber, "btDeleteNumber", TControlKind::Button, idAllowedNumbers, 224, 72, 100, 22, "", "", csTabStop, 9},
    {idReportPanel, "paReport", TControlKind::Panel, kNoParent, 1, 88, 382, 252, "", "", csNoBevel | csHidden, -1},
    {idReport, "lvReport", TControlKind::ListView, idReportPanel, 0, 0, 382, 252, "", "", csReadOnly | csTabStop, 10},
    {idStatusBar, "StatusBar", TControlKind::StatusBar, kNoParent, 0, kMainHeight - kStatusBarHeight, 381, kStatusBarHeight, "", "", csNone, -1},
};

const TControlLayout kNumber[] = {
    {idNumberGroup, "gbNumber", TControlKind::GroupBox, kNoParent, 8, 8, 300, 122, "", "", csNone, -1},
    {idNumberImage, "Image", TControlKind::Picture, idNumberGroup, 12, 20, 32, 32, "", "", csTransparent, -1},
    {idNumberInfo, "laInfo", TControlKind::Label, idNumberGroup, 56, 20, 232, 28, "", "", csWordWrap, -1},
    {idNumberLabel, "laNumber", TControlKind::Label, idNumberGroup, 56, 52, 232, 13, "", "", csNone, -1},
    {idNumberEdit, "edNumber", TControlKind::Edit, idNumberGroup, 56, 67, 232, 21, "", "", csTabStop, 0},
    {idNumberComments, "laComments", TControlKind::Label, idNumberGroup, 56, 92, 232, 26, "", "", csWordWrap, -1},
    {idNumberAccept, "btAccept", TControlKind::Button, kNoParent, 128, 134, 88, 24, "", "", csDefaultButton | csAccept | csTabStop, 1},
    {idNumberCancel, "btCancel", TControlKind::Button, kNoParent, 220, 134, 88, 24, "", "", csCancel | csTabStop, 2},
};

// The detection dialog's question and buttons are placed at run time to fit the question.
const TControlLayout kQuestion[] = {
    {idQuestionImage, "Image", TControlKind::Picture, kNoParent, 12, 12, 32, 32, "", "", csTransparent, -1},
    {idQuestionInfo, "laInfo", TControlKind::Label, kNoParent, 56, 12, 348, 16, "", "", csBold, -1},
    {idQuestionDesc, "laDesc", TControlKind::Label, kNoParent, 56, 32, 348, 28, "", "", csWordWrap, -1},
    {idQuestionLab1, "laLab1", TControlKind::Label, kNoParent, 56, 68, 96, 13, "", "", csNone, -1},
    {idQuestionValue1, "laValue1", TControlKind::Label, kNoParent, 156, 68, 248, 13, "", "", csBold, -1},
    {idQuestionLab2, "laLab2", TControlKind::Label, kNoParent, 56, 86, 96, 13, "", "", csNone, -1},
    {idQuestionValue2, "laValue2", TControlKind::Label, kNoParent, 156, 86, 248, 26, "", "", csBold | csWordWrap, -1},
    {idQuestionQuest, "laQuest", TControlKind::Label, kNoParent, 56, 120, 348, 30, "", "", csWordWrap, -1},
    {idQuestionAccept, "btAccept", TControlKind::Button, kNoParent, 128, 162, 88, 24, "", "", csDefaultButton | csAccept | csTabStop, 0},
    {idQuestionCancel, "btCancel", TControlKind::Button, kNoParent, 224, 162, 88, 24, "", "", csCancel | csTabStop, 1},
};

// The texts of the controls above that show one from the start, and the hints of the options.
const struct {
    TControlId Control;
    TGuardText Text;
} kTexts[] = {
    {idMemo, TGuardText::Description},
    {idConfiguration, TGuardText::ConfigurationCaption},
    {idAutoStart, TGuardText::AutoStartOption},
    {idCheckAllowedNumbers, TGuardText::CheckAllowedNumbersOption},
    {idAutoDeleteDialUp, TGuardText::AutoDeleteDialUpOption},
    {idAutoDeleteDialers, TGuardText::AutoDeleteDialersOption},
    {idAskBeforeDeleteDialUp, TGuardText::AskBeforeDeleteDialUpOption},
    {idCheckWhileDialling, TGuardText::CheckWhileDiallingOption},
    {idAllowedNumbers, TGuardText::AllowedNumbersCaption},
    {idAddNumber, TGuardText::AddNumberButton},
    {idEditNumber, TGuardText::EditNumberButton},
    {idDeleteNumber, TGuardText::DeleteNumberButton},
    {idNumberGroup, TGuardText::NumberGroupCaption},
    {idNumberLabel, TGuardText::NumberLabel},
    {idNumberComments, TGuardText::NumberComments},
    {idNumberAccept, TGuardText::NumberAccept},
    {idNumberCancel, TGuardText::NumberCancel},
    {idQuestionAccept, TGuardText::QuestionAccept},
    {idQuestionCancel, TGuardText::QuestionCancel},
}, kHints[] = {
    {idAutoStart, TGuardText::AutoStartHint},
    {idCheckAllowedNumbers, TGuardText::CheckAllowedNumbersHint},
    {idAutoDeleteDialUp, TGuardText::AutoDeleteDialUpHint},
    {idAutoDeleteDialers, TGuardText::AutoDeleteDialersHint},
    {idAskBeforeDeleteDialUp, TGuardText::AskBeforeDeleteDialUpHint},
    {idCheckWhileDialling, TGuardText::CheckWhileDiallingHint},
};

// The popup menu's captions, in TMenuItem order.
const TGuardText kMenuCaptions[] = {
    TGuardText::MenuConfiguration,
    TGuardText::MenuReport,
    TGuardText::MenuAbout,
    TGuardText::MenuDisconnectUnknownConnection,
    TGuardText::MenuDeleteUnknownDialUps,
    TGuardText::MenuCheckActiveDialers,
    TGuardText::MenuTestDialers,
    TGuardText::MenuExit,
    TGuardText::MenuActivityLog,
};
// clang-format on

template <typename TRow, size_t N>
bool Find(const TRow (&rows)[N], int control, TGuardText& text)
{
    for (const TRow& row : rows)
        if (row.Control == control) {
            text = row.Text;
            return true;
        }
    return false;
}

template <size_t N>
constexpr int CountOf(const TControlLayout (&)[N])
{
    return static_cast<int>(N);
}

// The main window's caption names the product (common/Product.h); the number editor's is set in
// the guard's language.
const TWindowLayout kMainLayout{kGuardCaption, 381, kMainHeight, kMain, CountOf(kMain)};
const TWindowLayout kNumberLayout{"", 316, 166, kNumber, CountOf(kNumber)};
const TWindowLayout kQuestionLayout{"", 416, 196, kQuestion, CountOf(kQuestion)};

}  // namespace

const TWindowLayout& MainWindowLayout()
{
    return kMainLayout;
}
const TWindowLayout& NumberFormLayout()
{
    return kNumberLayout;
}
const TWindowLayout& QuestionFormLayout()
{
    return kQuestionLayout;
}

bool GuardControlText(int control, TGuardText& text)
{
    return Find(kTexts, control, text);
}

bool GuardControlHint(int control, TGuardText& hint)
{
    return Find(kHints, control, hint);
}

constexpr int kMenuCaptionCount = static_cast<int>(sizeof kMenuCaptions / sizeof kMenuCaptions[0]);
static_assert(kMenuCaptionCount == kMenuItemCount, "one caption per menu item");

TGuardText MenuCaption(int item)
{
    LW_ASSERT(item >= 0 && item < kMenuCaptionCount);
    return kMenuCaptions[item];
}
