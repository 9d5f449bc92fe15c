// The dialogs' logic and tables, and the tray icon, over scripted views.
#include <gtest/gtest.h>

#include "common/Errors.h"
#include "guard/GuardFixture.h"
#include "guard/GuardTexts.h"
#include "guard/Layout.h"
#include "guard/NumberEdit.h"
#include "guard/NumberQuestion.h"

namespace {

class TNumberView : public INumberFormView {
public:
    std::string Info, Text;
    bool Accept = false;
    std::function<bool()> Modal;  // what the user does
    void SetInfo(const std::string& text) override { Info = text; }
    void SetNumber(const std::string& text) override { Text = text; }
    std::string Number() override { return Text; }
    void SetAcceptEnabled(bool enabled) override { Accept = enabled; }
    bool AcceptEnabled() override { return Accept; }
    bool ShowModal() override { return Modal(); }
};

TEST(NumberForm, AcceptsOnlyDigits)
{
    TNumberView view;
    view.Modal = [&] {
        EXPECT_FALSE(view.Accept);
        const struct {
            const char* Text;
            bool Enabled;
        } typed[] = {
                {"0221", true}, {"0221 ", false}, {"02-21", false}, {"", false}, {"12345", true}};
        for (const auto& t : typed) {
            view.Text = t.Text;
            TNumberForm::edNumberChange(view);
            EXPECT_EQ(view.Accept, t.Enabled) << t.Text;
        }
        return FormKeyPress('\r', view.Accept, false) == TDialogKey::Accept;
    };
    std::string number;
    EXPECT_TRUE(TNumberForm::Execute(view, number, TLanguage::Polish));
    EXPECT_EQ(view.Info, GuardText(TGuardText::NumberInfoAdd, TLanguage::Polish));
    EXPECT_EQ(number, "12345");

    view.Modal = [&] { return FormKeyPress(27, view.Accept, false) == TDialogKey::Accept; };
    EXPECT_FALSE(TNumberForm::Execute(view, number, TLanguage::Polish));
    EXPECT_EQ(view.Info, GuardText(TGuardText::NumberInfoEdit, TLanguage::Polish));
    EXPECT_EQ(number, "12345");
    // Enter presses a focused push button, else accepts when it can; Escape cancels anywhere.
    const struct {
        char Key;
        bool AcceptEnabled, OnButton;
        TDialogKey Does;
    } keys[] = {{'\r', false, false, TDialogKey::PassOn},
                {'\r', true, true, TDialogKey::PressFocused},
                {27, true, true, TDialogKey::Cancel},
                {'a', true, false, TDialogKey::PassOn}};
    for (const auto& k : keys)
        EXPECT_EQ(FormKeyPress(k.Key, k.AcceptEnabled, k.OnButton), k.Does) << int{k.Key};
}

class TQuestionView : public IDialQuestionView {
public:
    TQuestionTexts Texts;
    TQuestionLayout Layout{};
    int Image = -1, TextHeight = 13;
    std::string Value1, Value2;
    void SetTexts(const TQuestionTexts& texts) override { Texts = texts; }
    int WrappedQuestionHeight() override { return TextHeight; }
    int QuestionTop() override { return 120; }
    int ButtonHeight() override { return 25; }
    void ApplyLayout(const TQuestionLayout& layout) override { Layout = layout; }
    void SetImage(int mode) override { Image = mode; }
    void SetValues(const std::string& value1, const std::string& value2) override
    {
        Value1 = value1;
        Value2 = value2;
    }
    void SetAcceptEnabled(bool) override {}
    bool ShowModal() override { return false; }
};

TEST(DialQuestionForm, EachModeHasItsTextsImageAndFittedButtons)
{
    TQuestionView view;
    view.TextHeight = 7 * 13;
    TDialQuestionForm form(view, TLanguage::Polish);
    EXPECT_EQ(view.Texts.Caption, "Wykryty Dialer");
    EXPECT_EQ(view.Layout.QuestionHeight, 91);
    EXPECT_EQ(view.Layout.ClientHeight, 120 + 91 + 50);
    EXPECT_EQ(view.Layout.ButtonTop, 120 + 91 + 12);

    view.TextHeight = 13;  // a short question keeps the label's first height
    EXPECT_FALSE(form.Execute(qmActiveConnection, "Dialer", "0700"));
    EXPECT_EQ(view.Texts.Lab2, "Numer telefonu");
    EXPECT_EQ(view.Layout.QuestionHeight, 30);
    EXPECT_EQ(view.Image, 1);
    EXPECT_EQ(view.Value2, "0700");

    const std::string quest = QuestionTexts(qmDialer, TLanguage::Polish).Quest;
    EXPECT_EQ(std::count(quest.begin(), quest.end(), '\n'), 6);
    EXPECT_EQ(QuestionTexts(qmPhonebookEntry, TLanguage::Polish).Caption,
              "Niedozwolone połączenie");
}

// The Win32 dialog ends through the buttons its table marks; the accepting one is also the
// default button, which Enter presses while no push button has the focus.
TEST(DialogLayouts, MarkOneAcceptAndOneCancelButton)
{
    for (const TWindowLayout* layout : {&NumberFormLayout(), &QuestionFormLayout()}) {
        const TControlLayout& accept = FindMarked(*layout, csAccept);
        SCOPED_TRACE(accept.Id);
        const TControlLayout& cancel = FindMarked(*layout, csCancel);
        EXPECT_EQ(accept.Kind, TControlKind::Button);
        EXPECT_EQ(cancel.Kind, TControlKind::Button);
        EXPECT_TRUE(accept.Style & csDefaultButton);
        EXPECT_FALSE(cancel.Style & (csAccept | csDefaultButton));
    }
    EXPECT_THROW(FindMarked(MainWindowLayout(), csAccept), EAssertionFailed);
}

TEST(TrayIcon, FollowsItsPropertiesAndRoutesTheMouse)
{
    TFakeNotificationArea area;
    TTrayIcon tray(area, TLanguage::Polish);
    EXPECT_TRUE(area.Calls.empty());  // invisible until told
    tray.SetVisible(true);
    tray.SetVisible(true);
    tray.SetTip(std::string(70, 'x'));
    EXPECT_EQ(area.Calls,
              (std::vector<std::string>{"add TTrayIcon", "modify " + std::string(63, 'x')}));
    tray.SetTip(std::string(62, 'x') + "łą");  // cut by characters, never inside one
    EXPECT_EQ(tray.Tip(), std::string(62, 'x') + "ł");

    std::vector<std::string> events;
    tray.OnClick = [&](TTrayIcon&) { events.push_back("click"); };
    tray.OnMouseDown = [&](TTrayIcon&) { events.push_back("down"); };
    EXPECT_TRUE(tray.WndProc(kLeftButtonDown));
    EXPECT_TRUE(tray.WndProc(kRightButtonDown));
    tray.OnMouseDown = nullptr;
    EXPECT_FALSE(tray.WndProc(kRightButtonDown));  // to the default window procedure
    EXPECT_FALSE(tray.WndProc(kMouseMove));
    EXPECT_EQ(events, (std::vector<std::string>{"click", "down"}));

    tray.SetVisible(false);
    EXPECT_EQ(area.Calls.back(), "delete");
    area.AddSucceeds = false;
    tray.SetVisible(true);
    EXPECT_FALSE(tray.ActiveTrayIcon());
    area.AddSucceeds = true;
    tray.UpdateTrayIcon();  // a failed add is tried again
    EXPECT_TRUE(tray.ActiveTrayIcon());
}

}  // namespace
