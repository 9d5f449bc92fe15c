// The element parser and the log loader: the tree they build, every quirk that logs rely
// on, and every error message.
#include <gtest/gtest.h>

#include "platform/AnsiText.h"
#include "support/FakeMessageBox.h"
#include "tests/uninstall/ErrorMessage.h"
#include "uninstall/Xml.h"

namespace {

// The tree below tag as one line: name(text)[attr=value]{children}.
std::string Dump(const TTag* tag)
{
    std::string out = tag->Name();
    if (!tag->Text().empty()) out += "(" + tag->Text() + ")";
    for (int i = 0; i < tag->Attributes().Count(); ++i)
        out += "[" + tag->Attributes().Items(i)->Name + "=" + tag->Attributes().Items(i)->Value +
               "]";
    if (tag->Children().Count() > 0) {
        out += "{";
        for (int i = 0; i < tag->Children().Count(); ++i)
            out += (i ? "," : "") + Dump(tag->Children().Items(i));
        out += "}";
    }
    return out;
}

std::string ParseError(const std::string& text)
{
    TFakeMessageBox box;
    TXML xml(box);
    return ErrorMessage<EXMLException>([&] { xml.ParseText(text); });
}

std::string Nested(int depth)
{
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<e" + std::to_string(i) + ">";
    text += "x";
    for (int i = depth - 1; i >= 0; --i) text += "</e" + std::to_string(i) + ">";
    return text + "\r\n";
}

}  // namespace

TEST(XmlParse, BuildsTheTreeWithItsQuirks)
{
    struct TCase {
        const char* Text;
        const char* Tree;
    };
    const TCase cases[] = {
            // Processing instructions and comments are skipped wherever they stand.
            {"<?xml version=\"1.0\"?>\r\n<!-- a -->\r\n<r><!-- b --><x/><!---->\r\n</r>\r\n",
             "r{x}"},
            // Empty elements, with and without attributes, and a start tag closed at once.
            {"<r><a/><b c=\"1\"/><d></d><e c=\"2\" /></r>\r\n", "r{a,b[c=1],d,e[c=2]}"},
            {"<r>Tom &amp; Jerry</r>\r\n", "r(Tom & Jerry)"},
            // Element text keeps its blanks and line breaks; "&quot;" stays in element text.
            {"<r>\r\n  one\r\n  &quot;two&quot; \r\n</r>\r\n",
             "r(\r\n  one\r\n  &quot;two&quot; \r\n)"},
            // An element with a child element keeps no text, even text beside the child.
            {"<r>before<c>in</c>after</r>\r\n", "r{c(in)}"},
            // The outer element ends at the first closing tag of its name: the inner one's.
            {"<r><a><a>x</a></r>\r\n", "r{a{a(x)}}"},
            // Blanks around "=": the name ends in a blank and the value is empty; the rest of the
            // start tag then pairs up as it falls.
            {"<r a = \"v\" b=\"w\"/>\r\n", "r[a =][v\" b=w]"},
            {"<r a=\"1\" a=\"2\" b=\"3\"/>\r\n", "r[a=2][b=3]"},
            // The character after "=" is taken for the opening quote without looking at it.
            {"<r a='v\"/>\r\n", "r[a=v]"},
            {"<r t=\"&amp;gt;&lt;&quot;&apos;\"/>\r\n", "r[t=><\"']"},
            // Only the blank separates: a tab or line break becomes part of the name.
            {"<r><x\ta=\"1\">t</x\ta=\"1\"></r>\r\n", "r{x\ta=\"1\"(t)}"},
            {"<r><x\r\na=\"1\"/></r>\r\n", "r{x\r\na=\"1\"}"},
            {"<r >t</r>\r\n", "r(t)"},
            // A child may reach past its parent's end; what lies beyond is passed over again
            // (here only a comment), which is fine as long as no element is read twice.
            {"<g><p><c></p><!--<//p></c>--></g>\r\n", "g{p{c{/p}}}"},
            {"<Root><root/></Root>\r\n", "Root{root}"},
    };
    for (const TCase& c : cases) {
        TFakeMessageBox box;
        TXML xml(box);
        TTag* document = xml.ParseText(c.Text);
        EXPECT_EQ(c.Tree, Dump(document)) << c.Text;
        EXPECT_EQ(xml.Root(), document->Parent());
        EXPECT_EQ("BOGUSROOT", xml.Root()->Name());
        EXPECT_EQ(xml.Root(), xml.Level());
        EXPECT_EQ(document, xml.Selected());
    }
}

TEST(XmlParse, ReportsEveryErrorByItsMessage)
{
    struct TCase {
        const char* Text;
        const char* Message;
    };
    const TCase cases[] = {
            {"<r/> <x", "Too few characters after <"},
            {"<a>", "Too few characters after <"},
            {"<?xml version=\"1.0\" <r/>\r\n", "Missing ?> tag"},
            {"<!-- open <r/>\r\n", "Missing --> tag"},
            {"<abcdef\r\n", "Missing > char"},
            {"<r a=\"1\"\r\n", "Missing >"},
            {"<r a=\"1></r>\r\n", "Missing \""},
            {"<r><x>no end</r>\r\n", "Missing \"</x>\""},
            {"<R>case</r>\r\n", "Missing \"</R>\""},
            // The closing tag that ended the outer element is followed by a stray one.
            {"<a><a>x</a></a>\r\n", "Missing \"<//a>\""},
            // <x/> would be read inside c, then again inside g.
            {"<g><p><c></p><x/><!--<//p></c>--></g>\r\n", "Invalid XML file, overlapping elements"},
            {"", "Invalid XML file, missing or multiple root tags"},
            {"<?xml version=\"1.0\"?>\r\n", "Invalid XML file, missing or multiple root tags"},
            {"just text\r\n", "Invalid XML file, missing or multiple root tags"},
            {"<a/>\r\n<b/>\r\n", "Invalid XML file, missing or multiple root tags"},
    };
    for (const TCase& c : cases) EXPECT_EQ(c.Message, ParseError(c.Text)) << c.Text;
}

TEST(XmlParse, ErrorKeepsWhatWasReadAndLeavesNoLevel)
{
    TFakeMessageBox box;
    TXML xml(box);
    EXPECT_THROW(xml.ParseText("<r><a/><b>open</r>\r\n"), EXMLException);
    EXPECT_EQ("BOGUSROOT{r{a,b}}", Dump(xml.Root()));
    EXPECT_EQ(nullptr, xml.Level());
    EXPECT_EQ(nullptr, xml.Selected());
    // Walking a document that failed is a programming error, not a quiet empty walk.
    EXPECT_THROW(xml.SelectFirst(), EAssertionFailed);
    EXPECT_THROW(xml.FindNext("r"), EAssertionFailed);
    EXPECT_THROW(xml.EnterSelected(), EAssertionFailed);
    EXPECT_THROW(xml.SelectedText(), EAssertionFailed);
    xml.LeaveToRoot();
    EXPECT_EQ(nullptr, xml.Level());
}

TEST(XmlParse, NestingIsBoundedInsteadOfExhaustingTheStack)
{
    TFakeMessageBox box;
    TXML xml(box);
    const TTag* tag = xml.ParseText(Nested(XmlMaxDepth));
    int depth = 1;
    while (tag->Children().Count() == 1) tag = tag->Children().First(), ++depth;
    EXPECT_EQ(XmlMaxDepth, depth);
    EXPECT_EQ("x", tag->Text());

    EXPECT_EQ("Elements nested deeper than 256 levels", ParseError(Nested(XmlMaxDepth + 1)));
    EXPECT_EQ("Elements nested deeper than 256 levels", ParseError(Nested(100000)));
}

TEST(XmlParse, ManyAttributesAndLongNamesStayCorrect)
{
    std::string text = "<r";
    for (int i = 0; i < 2000; ++i)
        text += " a" + std::to_string(i % 1000) + "=\"" + std::to_string(i) + "\"";
    const std::string longName(300, 'n');
    text += "><" + longName + ">t</" + longName + "></r>\r\n";
    TFakeMessageBox box;
    TXML xml(box);
    TTag* document = xml.ParseText(text);
    ASSERT_EQ(1000, document->Attributes().Count());
    EXPECT_EQ("1000", document->Attributes().ValueOf("a0"));
    EXPECT_EQ("1999", document->Attributes().ValueOf("a999"));
    EXPECT_EQ("a999", document->Attributes().Items(999)->Name);
    EXPECT_EQ("t", document->Children().First()->Text());
}

TEST(XmlLoad, NormalisesLineBreaksAndStopsAtNul)
{
    struct TCase {
        std::string Bytes;
        const char* Tree;
    };
    const TCase cases[] = {
            {"<r>a\nb\rc\r\nd\n\re</r>", "r(a\r\nb\r\nc\r\nd\r\n\r\ne)"},
            {"\n\n<r/>", "r"},
            {std::string("<r/>\0<broken", 12), "r"},
            {"<r\nx=\"1\"/>", "r\r\nx=\"1\""},
    };
    for (const TCase& c : cases) {
        TFakeMessageBox box;
        TXML xml(box);
        ASSERT_TRUE(xml.LoadFromBytes(c.Bytes)) << c.Bytes;
        EXPECT_EQ(c.Tree, Dump(xml.Selected())) << c.Bytes;
        EXPECT_TRUE(box.Shown.empty());
    }
}

TEST(XmlLoad, LogBytesInTheAnsiCodePageBecomeUtf8)
{
    // "Łódź" in Windows-1250, as a Polish installation writes its log.
    const std::string ansi =
            "\xA3\xF3"
            "d\x9F";
    TFakeMessageBox box;
    TXML xml(box);
    ASSERT_TRUE(xml.LoadFromBytes("<r n=\"" + ansi + "\">" + ansi + "</r>"));
    EXPECT_EQ(AnsiToUtf8(ansi), xml.Selected()->Text());
    EXPECT_EQ(AnsiToUtf8(ansi), xml.SelectedAttribute("n"));
}

TEST(XmlLoad, EveryErrorBecomesOneMessageBoxAndFalse)
{
    const std::string bad[] = {"", "<?xml version=\"1.0\"?>", "<r><x>no end</r>", "<r a=\"1/>"};
    for (const std::string& bytes : bad) {
        TFakeMessageBox box;
        TXML xml(box);
        EXPECT_FALSE(xml.LoadFromBytes(bytes)) << bytes;
        ASSERT_EQ(1u, box.Shown.size()) << bytes;
        EXPECT_EQ("Błąd odczytu pliku XML ze strumienia", box.Shown[0].Text);
        EXPECT_EQ("Błąd", box.Shown[0].Caption);
        EXPECT_EQ(TMsgButtons::Ok, box.Shown[0].Buttons);
        EXPECT_EQ(TMsgIcon::Error, box.Shown[0].Icon);
        EXPECT_EQ(nullptr, xml.Level());
        EXPECT_EQ(nullptr, xml.Selected());
    }
}

TEST(XmlLoad, ALoadReplacesTheWholeTree)
{
    TFakeMessageBox box;
    TXML xml(box);
    ASSERT_TRUE(xml.LoadFromBytes("<one><a/></one>"));
    ASSERT_TRUE(xml.LoadFromBytes("<two/>"));
    EXPECT_EQ("BOGUSROOT{two}", Dump(xml.Root()));
    EXPECT_FALSE(xml.LoadFromBytes("<three>"));
    EXPECT_EQ("BOGUSROOT{three}", Dump(xml.Root())) << "the partial tree of the failed load";
}
