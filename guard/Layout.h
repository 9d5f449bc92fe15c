#pragma once
// The guard's windows as tables (common/WindowLayout.h), and the guard's look. The tables hold
// no texts: the guard's texts are in its language, so each control's text and hint are held as
// ids beside the tables, as the setup's are, and the views set them.
#include "common/WindowLayout.h"
#include "guard/GuardTexts.h"

// Control identifiers of the guard's tables (Win32 control IDs: kControlIdBase + value).
enum TControlId : int {
    // Main window.
    idImage,
    idAppTitle,
    idMemo,
    idConfiguration,
    idAutoStart,
    idCheckAllowedNumbers,
    idAutoDeleteDialUp,
    idAutoDeleteDialers,
    idAskBeforeDeleteDialUp,
    idCheckWhileDialling,
    idAllowedNumbers,
    idNumbers,
    idAddNumber,
    idEditNumber,
    idDeleteNumber,
    idReportPanel,
    idReport,
    idStatusBar,
    // Number editor.
    idNumberGroup,
    idNumberImage,
    idNumberInfo,
    idNumberLabel,
    idNumberEdit,
    idNumberComments,
    idNumberAccept,
    idNumberCancel,
    // Detection dialog.
    idQuestionImage,
    idQuestionInfo,
    idQuestionDesc,
    idQuestionLab1,
    idQuestionValue1,
    idQuestionLab2,
    idQuestionValue2,
    idQuestionQuest,
    idQuestionAccept,
    idQuestionCancel,
};
const TWindowLayout& MainWindowLayout();
const TWindowLayout& NumberFormLayout();
const TWindowLayout& QuestionFormLayout();
// The text a control of these tables shows from the start; false for those that start empty or
// are filled at run time.
bool GuardControlText(int control, TGuardText& text);
// The hint of a control (the main window's options have one); false for the others.
bool GuardControlHint(int control, TGuardText& hint);
constexpr uint32_t kMainBackground = Rgb(239, 235, 222);
constexpr uint32_t kGroupCaptionColour = Rgb(0, 70, 213);
constexpr const char kMainFontName[] = "Tahoma";
constexpr int kMainFontPoints = 8;
constexpr int kStatusBarHeight = 19;

// Report columns (their captions are TGuardText::ReportTimeColumn and ReportTextColumn).
constexpr int kReportTimeWidth = 65;
constexpr int kReportTextWidth = 310;

// Tahoma 8 on the guard's beige, with blue group captions.
constexpr TWindowLook kGuardLook{kMainFontName, kMainFontPoints, kMainBackground,
                                 kGroupCaptionColour};

// The popup menu's caption of an item, by its TMenuItem number.
TGuardText MenuCaption(int item);
