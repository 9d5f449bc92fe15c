// The OEM code-page port over the conversion of each platform.
#include "platform/CodePages.h"
#include "platform/OemText.h"

namespace {

class TOemCodePage : public ICodePage {
public:
    bool Holds(const std::string& text) override
    {
        std::string oem;
        return Utf8ToOem(text, oem);
    }
};

}  // namespace

ICodePage& SystemOemCodePage()
{
    static TOemCodePage codePage;
    return codePage;
}
