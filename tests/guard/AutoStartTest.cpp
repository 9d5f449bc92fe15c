// Start with Windows: where the guard's own Run value goes, and what the user is told when it
// cannot go anywhere.
#include <functional>

#include "guard/GuardFixture.h"
#include "guard/GuardTexts.h"

namespace {

const TRegRoot HKLM = TRegRoot::LocalMachine, HKCU = TRegRoot::CurrentUser;

TEST(AutoStart, RunValueFollowsTheOptionAndAKeyThatCannotBeWrittenIsReportedOnce)
{
    struct Row {
        const char* name;
        bool windows95, on;
        std::function<void(TMemoryRegistry&)> arrange;
        bool inMachine, inUser;
        size_t reported;  // lines of TGuardText::ReportAutoStartNotWritten
    };
    const auto stale = TRegValue::String("C:\\Old\\MLinewarden.exe");
    const Row rows[] = {
            // Installed for the user on NT: never the machine's key, which starts every user's.
            {"NT: the user's key", false, true, [](TMemoryRegistry&) {}, false, true, 0},
            {"NT: the user's key refuses", false, true,
             [](TMemoryRegistry& r) { r.DenyFullAccess(HKCU, kRunKey); }, false, false, 1},
            {"95 family: the machine's key", true, true, [](TMemoryRegistry&) {}, true, false, 0},
            {"95 family: the machine's key refuses", true, true,
             [](TMemoryRegistry& r) { r.DenyFullAccess(HKLM, kRunKey); }, false, true, 0},
            {"neither key writable", true, true,
             [](TMemoryRegistry& r) {
                 r.DenyFullAccess(HKLM, kRunKey);
                 r.DenyFullAccess(HKCU, kRunKey);
             },
             false, false, 1},
            {"switched off: gone from both keys", false, false,
             [&](TMemoryRegistry& r) {
                 r.SetValue(HKLM, kRunKey, kAutoStartValueName, stale);
                 r.SetValue(HKCU, kRunKey, kAutoStartValueName, stale);
             },
             false, false, 0},
    };
    for (const Row& r : rows) {
        TGuardWorld world;
        world.Windows95Family = r.windows95;
        world.SetOption(SKeyAutoStart, false);
        r.arrange(world.Registry);
        world.Start();
        // The Run value follows the option at the end of a session and at exit.
        world.View.Checks[static_cast<int>(TOption::AutoStart)] = r.on;
        world.Form->WMEndSession(true);
        world.Form->WMEndSession(true);
        world.Form.reset();
        for (auto [root, expected] : {std::pair(HKLM, r.inMachine), std::pair(HKCU, r.inUser)}) {
            const TRegValue* value = world.Registry.Value(root, kRunKey, kAutoStartValueName);
            EXPECT_EQ(value ? value->Text() : "", expected ? TGuardWorld::kProgram : "") << r.name;
        }
        size_t reported = 0;
        for (const std::string& text : world.View.ReportTexts())
            reported += text == GuardText(TGuardText::ReportAutoStartNotWritten, TLanguage::Polish);
        EXPECT_EQ(reported, r.reported) << r.name;
        EXPECT_EQ(world.View.ReportTexts().size(), r.reported) << r.name;
    }
}

}  // namespace
