// The ANSI code-page port over the conversions of each platform. The OEM one has a file of its
// own (OemCodePage.cpp), so that a program that needs one code page links only its conversions.
#include "platform/AnsiText.h"
#include "platform/CodePages.h"

namespace {

class TAnsiCodePage : public ICodePage {
public:
    bool Holds(const std::string& text) override { return AnsiToUtf8(Utf8ToAnsi(text)) == text; }
};

}  // namespace

ICodePage& SystemAnsiCodePage()
{
    static TAnsiCodePage codePage;
    return codePage;
}
