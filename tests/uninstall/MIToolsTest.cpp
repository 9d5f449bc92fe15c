// Registry key paths as the log writes them: the root by its long or short name, and the path
// below it, with the exact messages that stop the reading of a log.
#include <gtest/gtest.h>

#include "common/Errors.h"
#include "tests/uninstall/ErrorMessage.h"
#include "uninstall/MITools.h"

TEST(RegistryKeyPath, RegistryRootsByLongAndShortNameInAnyCase)
{
    struct TCase {
        const char* Key;
        TRootKey Root;
    };
    const TCase cases[] = {
            {"HKEY_CLASSES_ROOT\\.txt", TRootKey::ClassesRoot},
            {"hkcr", TRootKey::ClassesRoot},
            {"HKEY_CURRENT_USER", TRootKey::CurrentUser},
            {"\\HKCU\\Software", TRootKey::CurrentUser},
            {"hkey_local_machine\\Software", TRootKey::LocalMachine},
            {"hklm\\Software\\Vendor", TRootKey::LocalMachine},
            {"HKEY_USERS\\.DEFAULT", TRootKey::Users},
            {"Hku\\S-1-5-18", TRootKey::Users},
            {"HKEY_PERFORMANCE_DATA", TRootKey::PerformanceData},
            {"HKPD", TRootKey::PerformanceData},
            {"HKEY_CURRENT_CONFIG\\System", TRootKey::CurrentConfig},
            {"HKCC", TRootKey::CurrentConfig},
            {"HKEY_DYN_DATA", TRootKey::DynData},
            {"hkdd\\Config Manager", TRootKey::DynData},
    };
    for (const TCase& c : cases) EXPECT_EQ(c.Root, RegistryRootOf(c.Key)) << c.Key;

    struct TError {
        const char* Key;
        const char* Message;
    };
    const TError errors[] = {
            {"", "Cannot extract registry root from empty Key"},
            {"HKEY_FOO\\Software", "Unknown registry root of Key HKEY_FOO"},
            {"hkey_foo", "Unknown registry root of Key HKEY_FOO"},
            {"\\", "Unknown registry root of Key "},
            {"\\\\HKLM\\x", "Unknown registry root of Key "},
            {"Software\\HKLM", "Unknown registry root of Key SOFTWARE"},
    };
    for (const TError& e : errors)
        EXPECT_EQ(e.Message, ErrorMessage<Exception>([&] { RegistryRootOf(e.Key); })) << e.Key;

    const std::pair<TRootKey, TRegRoot> port[] = {
            {TRootKey::ClassesRoot, TRegRoot::ClassesRoot},
            {TRootKey::CurrentUser, TRegRoot::CurrentUser},
            {TRootKey::LocalMachine, TRegRoot::LocalMachine},
            {TRootKey::Users, TRegRoot::Users},
            {TRootKey::CurrentConfig, TRegRoot::CurrentConfig},
            {TRootKey::DynData, TRegRoot::DynData},
    };
    for (const auto& p : port) {
        TRegRoot root{};
        ASSERT_TRUE(RegRootOf(p.first, root));
        EXPECT_EQ(p.second, root);
    }
    TRegRoot root{};
    EXPECT_FALSE(RegRootOf(TRootKey::PerformanceData, root));
}

TEST(RegistryKeyPath, KeyNameIsThePathBelowTheRoot)
{
    const std::pair<const char*, const char*> cases[] = {
            {"hklm\\Software\\Vendor", "\\Software\\Vendor"},
            {"\\HKCU\\Software", "\\Software"},
            {"HKLM", ""},
            {"\\HKLM", ""},
            {"HKLM\\", "\\"},
            {"anything\\Case\\Kept", "\\Case\\Kept"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.second, RegistryKeyNameOf(c.first)) << c.first;
    EXPECT_EQ("Cannot extract registry KeyName from empty Key",
              ErrorMessage<Exception>([] { RegistryKeyNameOf(""); }));
}
