#pragma once
// The guard's windows as tables (common/WindowLayout.h), and the guard's look.
#include "common/WindowLayout.h"

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
constexpr uint32_t kMainBackground = Rgb(239, 235, 222);
constexpr uint32_t kGroupCaptionColour = Rgb(0, 70, 213);
constexpr const char kMainFontName[] = "Tahoma";
constexpr int kMainFontPoints = 8;
constexpr int kStatusBarHeight = 19;

// Report columns (their captions are in GuardTexts.h).
constexpr int kReportTimeWidth = 65;
constexpr int kReportTextWidth = 310;

// Tahoma 8 on the guard's beige, with blue group captions.
constexpr TWindowLook kGuardLook{kMainFontName, kMainFontPoints, kMainBackground,
                                 kGroupCaptionColour};

// Popup menu captions, in TMenuItem order.
const char* MenuCaption(int item);
