// The allowed-number list box: sorted like the box, one selection, and what its buttons do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guard/NumbersPanel.h"

namespace {

struct TBox : INumbersView, IGuardDialogs {
    std::vector<std::string> Items;
    int Selected = -2;
    bool Enabled[3] = {};
    std::vector<std::string> Answers;  // the number editor's answers in turn; "" declines
    std::vector<std::string> Offered;  // what the editor was opened with

    void SetNumbers(const std::vector<std::string>& items, int selected) override
    {
        Items = items;
        Selected = selected;
    }
    void SetButtonEnabled(TNumberButton button, bool enabled) override
    {
        Enabled[static_cast<int>(button)] = enabled;
    }
    bool EditNumber(std::string& number) override
    {
        Offered.push_back(number);
        if (Answers.empty()) return false;
        const std::string answer = Answers.front();
        Answers.erase(Answers.begin());
        if (answer.empty()) return false;
        number = answer;
        return true;
    }
    bool AskQuestion(int, const std::string&, const std::string&) override { return false; }
    void CancelDialogs() override {}
};

TEST(NumbersPanel, ButtonsEditTheSortedListAndMoveTheSelection)
{
    TBox box;
    TNumbersPanel panel(box, box);
    panel.Load({"300", "100"});
    EXPECT_EQ(box.Items, (std::vector<std::string>{"100", "300"}));
    EXPECT_EQ(box.Selected, -1);
    panel.UpdateNumberButtons();
    EXPECT_TRUE(box.Enabled[0]);
    EXPECT_FALSE(box.Enabled[1] || box.Enabled[2]);

    enum TStep { Add, Edit, Delete, Click };
    const struct {
        TStep Step;
        int Click;
        const char* Answer;
        bool Changed;
        std::vector<std::string> Items;
        int Selected;
    } steps[] = {
            {Add, 0, "200", true, {"100", "200", "300"}, 1},
            {Add, 0, "300", false, {"100", "200", "300"}, 1},  // already listed
            {Add, 0, "", false, {"100", "200", "300"}, 1},     // declined
            {Click, 0, "", false, {"100", "200", "300"}, 0},
            {Edit, 0, "400", true, {"200", "300", "400"}, 2},
            {Edit, 0, "300", false, {"200", "300", "400"}, 2},  // into a listed number
            {Delete, 0, "", true, {"200", "300"}, 1},           // the new last one
            {Click, 0, "", false, {"200", "300"}, 0},
            {Delete, 0, "", true, {"300"}, 0},  // the one that took its place
            {Delete, 0, "", true, {}, -1},
            {Delete, 0, "", false, {}, -1},  // nothing selected
            {Edit, 0, "500", false, {}, -1},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        const auto& s = steps[i];
        box.Answers = {s.Answer};
        bool changed = false;
        switch (s.Step) {
        case Add: changed = panel.AddNumber(); break;
        case Edit: changed = panel.EditNumber(); break;
        case Delete: changed = panel.DeleteNumber(); break;
        case Click: panel.lbNumbersClick(s.Click); break;
        }
        EXPECT_EQ(changed, s.Changed) << "step " << i;
        EXPECT_EQ(panel.Numbers(), s.Items) << "step " << i;
        EXPECT_EQ(panel.Selected(), s.Selected) << "step " << i;
        if (s.Changed) {
            EXPECT_EQ(box.Items, s.Items) << "step " << i;
        }
    }
    // The editor opens empty for a new number and with the selected one for an edit.
    EXPECT_EQ(box.Offered, (std::vector<std::string>{"", "", "", "100", "400"}));
    // A click out of range selects nothing and greys Edit and Delete.
    panel.Load({"1"});
    panel.lbNumbersClick(5);
    EXPECT_EQ(panel.Selected(), -1);
    EXPECT_FALSE(box.Enabled[1] || box.Enabled[2]);
}

}  // namespace
