// The cursor over a parsed document and the element and attribute lists under it.
#include <gtest/gtest.h>

#include <memory>

#include "support/FakeMessageBox.h"
#include "tests/uninstall/ErrorMessage.h"
#include "uninstall/Xml.h"

namespace {

const char* const Log =
        "<?xml version=\"1.0\"?>\r\n"
        "<log>\r\n"
        "<files>\r\n"
        "<file action=\"add\" filename=\"a.exe\" />\r\n"
        "<note>skip me</note>\r\n"
        "<file action=\"add\" filename=\"b.dll\" />\r\n"
        "</files>\r\n"
        "<appname>Kalkulator</appname>\r\n"
        "<files><file filename=\"second section\" /></files>\r\n"
        "<dirs/>\r\n"
        "</log>\r\n";

class XmlCursor : public ::testing::Test {
protected:
    TFakeMessageBox Box;
    TXML Xml{Box};
};

}  // namespace

TEST_F(XmlCursor, StartsOnAnEmptyRootWithNothingSelected)
{
    EXPECT_EQ("BOGUSROOT", Xml.Root()->Name());
    EXPECT_EQ(nullptr, Xml.Root()->Parent());
    EXPECT_EQ(Xml.Root(), Xml.Level());
    EXPECT_EQ(nullptr, Xml.Selected());
    EXPECT_FALSE(Xml.Matched());
    EXPECT_FALSE(Xml.FindNext("log"));
    EXPECT_EQ("No child selected", ErrorMessage<EXMLException>([&] { Xml.CheckSelected(); }));
    EXPECT_EQ("No child selected", ErrorMessage<EXMLException>([&] { Xml.EnterSelected(); }));
    EXPECT_EQ("No child selected", ErrorMessage<EXMLException>([&] { Xml.SelectedText(); }));
    EXPECT_EQ("No child selected",
              ErrorMessage<EXMLException>([&] { Xml.SelectedAttribute("a"); }));
    EXPECT_EQ("Already at lowest level", ErrorMessage<EXMLException>([&] { Xml.LeaveLevel(); }));
}

TEST_F(XmlCursor, WalksASectionAsTheLogReaderDoes)
{
    Xml.ParseText(Log);
    Xml.LeaveToRoot();
    EXPECT_EQ("files", Xml.EnterSelected()->Name());
    EXPECT_EQ("log", Xml.Level()->Name());

    Xml.SelectFirst();
    ASSERT_TRUE(Xml.FindNext("appname"));
    EXPECT_EQ("Kalkulator", Xml.SelectedText());

    Xml.SelectFirst();
    ASSERT_TRUE(Xml.FindNext("files"));
    Xml.EnterSelected();
    std::vector<std::string> names;
    while (Xml.FindNext("file")) names.push_back(Xml.SelectedAttribute("filename"));
    EXPECT_EQ((std::vector<std::string>{"a.exe", "b.dll"}), names);
    // Once the children have run out, FindNext stays false until the selection moves.
    EXPECT_EQ(nullptr, Xml.Selected());
    EXPECT_FALSE(Xml.FindNext("file"));
    EXPECT_FALSE(Xml.FindNext("note"));

    // Leaving re-selects the section, and the next FindNext continues after it.
    Xml.LeaveLevel();
    EXPECT_EQ("log", Xml.Level()->Name());
    EXPECT_EQ("files", Xml.Selected()->Name());
    EXPECT_TRUE(Xml.Matched());
    ASSERT_TRUE(Xml.FindNext("files"));
    Xml.EnterSelected();
    ASSERT_TRUE(Xml.FindNext("file"));
    EXPECT_EQ("second section", Xml.SelectedAttribute("filename"));
    EXPECT_EQ("", Xml.SelectedAttribute("action"));
    EXPECT_EQ("", Xml.SelectedAttribute("FileName"));

    Xml.SelectFirst();
    EXPECT_TRUE(Xml.FindNext("file")) << "SelectFirst starts over";
    Xml.LeaveToRoot();
    EXPECT_EQ(Xml.Root(), Xml.Level());
    EXPECT_EQ("log", Xml.Selected()->Name());
    EXPECT_EQ("Already at lowest level", ErrorMessage<EXMLException>([&] { Xml.LeaveLevel(); }));
}

TEST_F(XmlCursor, EnteringAnEmptyElementSelectsNothing)
{
    Xml.ParseText(Log);
    Xml.EnterSelected();
    ASSERT_TRUE(Xml.FindNext("dirs"));
    EXPECT_EQ(nullptr, Xml.EnterSelected());
    EXPECT_FALSE(Xml.Matched());
    EXPECT_FALSE(Xml.FindNext("dir"));
    EXPECT_EQ("No child selected", ErrorMessage<EXMLException>([&] { Xml.SelectedText(); }));
    // LeaveLevel right after EnterSelected re-selects the element entered.
    Xml.LeaveLevel();
    EXPECT_EQ("dirs", Xml.Selected()->Name());
    EXPECT_FALSE(Xml.FindNext("files")) << "no files section after dirs";
}

TEST_F(XmlCursor, SiblingWalkOverALargeSectionVisitsEveryItemInOrder)
{
    std::string text = "<log><files>";
    const int items = 20000;
    for (int i = 0; i < items; ++i)
        text += "<file n=\"" + std::to_string(i) + "\"/>" + (i % 3 == 0 ? "<x/>" : "");
    text += "</files></log>\r\n";
    Xml.ParseText(text);
    Xml.EnterSelected();
    ASSERT_TRUE(Xml.FindNext("files"));
    Xml.EnterSelected();
    int seen = 0;
    while (Xml.FindNext("file")) {
        ASSERT_EQ(std::to_string(seen), Xml.SelectedAttribute("n"));
        ++seen;
    }
    EXPECT_EQ(items, seen);
}

TEST(XmlLists, TagListOwnsItsElementsOnce)
{
    TTag parent(nullptr, "", "p");
    TTag* a = parent.Children().Add(std::make_unique<TTag>(&parent, "ta", "a"));
    TTag* b = parent.Children().Add(std::make_unique<TTag>(&parent, "", "b"));
    EXPECT_EQ(2, parent.Children().Count());
    EXPECT_EQ(a, parent.Children().First());
    EXPECT_EQ(b, parent.Children().Items(1));
    EXPECT_EQ(nullptr, parent.Children().Items(2));
    EXPECT_EQ(nullptr, parent.Children().Items(-1));
    EXPECT_EQ(1, parent.Children().IndexOf(b));
    EXPECT_EQ(-1, parent.Children().IndexOf(&parent));
    EXPECT_EQ(b, a->NextSibling());
    EXPECT_EQ(nullptr, b->NextSibling());
    EXPECT_EQ("ta", a->Text());

    EXPECT_EQ("[TTagList.Add] Tag exists!",
              ErrorMessage<Exception>([&] { parent.Children().Add(std::unique_ptr<TTag>(a)); }));
    EXPECT_EQ(2, parent.Children().Count()) << "the list still owns the element, once";
    EXPECT_THROW(parent.NextSibling(), EAssertionFailed);

    parent.Children().Clear();
    EXPECT_EQ(0, parent.Children().Count());
    EXPECT_EQ(nullptr, parent.Children().First());
}

TEST(XmlLists, AttributeListFindsTheFirstOfAName)
{
    TTagAttribs attributes;
    EXPECT_EQ("", attributes.ValueOf("a"));
    attributes.SetValue("a", "1");
    attributes.SetValue("b", "2");
    attributes.SetValue("a", "3");
    ASSERT_EQ(2, attributes.Count());
    EXPECT_EQ("3", attributes.ValueOf("a"));
    EXPECT_EQ("", attributes.ValueOf("A"));
    TAttribute* again = attributes.Add(std::make_unique<TAttribute>("b", "later"));
    EXPECT_EQ("2", attributes.ValueOf("b")) << "the first attribute of the name wins";
    EXPECT_EQ(again, attributes.Items(2));
    EXPECT_EQ(nullptr, attributes.Items(3));

    EXPECT_EQ("[TTagAttribs.Add] Tag exists!",
              ErrorMessage<Exception>([&] { attributes.Add(std::unique_ptr<TAttribute>(again)); }));
    EXPECT_EQ(3, attributes.Count());
    attributes.Clear();
    EXPECT_EQ(0, attributes.Count());
    EXPECT_EQ("", attributes.ValueOf("a"));
}

TEST(XmlLists, AVeryDeepTreeIsDestroyedWithoutDeepRecursion)
{
    auto root = std::make_unique<TTag>(nullptr, "", "root");
    TTag* tag = root.get();
    for (int i = 0; i < 300000; ++i)
        tag = tag->Children().Add(std::make_unique<TTag>(tag, "", "e"));
    root.reset();
    SUCCEED();
}
