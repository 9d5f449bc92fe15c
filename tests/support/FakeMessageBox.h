#pragma once
// A message box that records what it was asked to show and answers as told.
#include <string>
#include <vector>

#include "platform/MessageBox.h"

class TFakeMessageBox : public IMessageBox {
public:
    struct TShown {
        std::string Text, Caption;
        TMsgButtons Buttons;
        TMsgIcon Icon;
        TMsgDefault Default;
    };

    TMsgResult Show(const std::string& text, const std::string& caption, TMsgButtons buttons,
                    TMsgIcon icon, TMsgDefault defaultButton) override
    {
        Shown.push_back({text, caption, buttons, icon, defaultButton});
        if (Shown.size() <= Answers.size()) return Answers[Shown.size() - 1];
        return Answer;
    }

    std::vector<TShown> Shown;
    // The answers to the first boxes in order; Answer to every later one.
    std::vector<TMsgResult> Answers;
    TMsgResult Answer = TMsgResult::Ok;
};
