// Linux has no windows of other programs to ask: nothing is asked, nothing is waited for.
#include "platform/ProcessWindows.h"

namespace {

class TPosixProcessWindows : public IProcessWindows {
public:
    std::vector<TWindowRef> TopLevelWindows(uint32_t) override { return {}; }
    bool QueryClose(TWindowRef) override { return true; }
    void EndClose(TWindowRef, bool) override {}
    bool HasEnded(uint32_t) override { return true; }
    std::string ClassName(TWindowRef) override { return ""; }
};

}  // namespace

IProcessWindows& SystemProcessWindows()
{
    static TPosixProcessWindows windows;
    return windows;
}
