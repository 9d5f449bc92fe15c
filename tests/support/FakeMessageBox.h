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
        return Answer;
    }

    std::vector<TShown> Shown;
    TMsgResult Answer = TMsgResult::Ok;
};
