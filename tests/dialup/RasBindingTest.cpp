#include "dialup/RasBinding.h"

#include <gtest/gtest.h>

#include "common/Errors.h"
#include "support/FakeLibraries.h"

namespace {

int gAnsiForm, gBareForm, gOldForm, gOther;
void* const kAnsi = &gAnsiForm;
void* const kBare = &gBareForm;
void* const kOld = &gOldForm;
void* const kOther = &gOther;
const char* const kPrimary = "rasapi32.dll";
const char* const kFallback = "rnaph.dll";

std::string ErrorOf(TRasBinding& binding, const std::string& name)
{
    try {
        binding.Resolve(name);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "";
}

// The first name ever resolved decides the binding.
TEST(RasBinding, FirstResolutionPicksFormAndLibrary)
{
    struct TCase {
        const char* title;
        bool primary, fallback;
        std::map<std::string, void*> primaryExports, fallbackExports;
        void* expected;
        const char* error;
        bool usesFallback;
    };
    const TCase cases[] = {
            {"A form preferred",
             true,
             true,
             {{"RasDialA", kAnsi}, {"RasDial", kBare}},
             {{"RasDial", kOld}},
             kAnsi,
             "",
             false},
            {"bare form when no A form",
             true,
             true,
             {{"RasDial", kBare}},
             {{"RasDial", kOld}},
             kBare,
             "",
             false},
            {"neither form: phonebook library",
             true,
             true,
             {{"RasHangUpA", kOther}},
             {{"RasDial", kOld}, {"RasDialA", kOther}},
             kOld,
             "",
             true},
            {"no RAS library, no fallback tried",
             false,
             true,
             {},
             {{"RasDial", kOld}},
             nullptr,
             "Error opening rasapi.dll",
             false},
            {"no phonebook library",
             true,
             false,
             {},
             {},
             nullptr,
             "Error opening rnaph.dll",
             false},
            {"missing everywhere",
             true,
             true,
             {},
             {{"RasDialA", kOther}},
             nullptr,
             "Function RasDial not found!",
             false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.title);
        TFakeLibraries libraries;
        if (c.primary) libraries.Add(kPrimary, c.primaryExports);
        if (c.fallback) libraries.Add(kFallback, c.fallbackExports);
        TRasBinding binding(libraries);
        if (*c.error) {
            EXPECT_EQ(c.error, ErrorOf(binding, "RasDial"));
            EXPECT_FALSE(binding.RasLoaded());
            EXPECT_FALSE(binding.RasFallback());
            if (!c.primary) {
                EXPECT_EQ(std::vector<std::string>{kPrimary}, libraries.Loads);
            }
            // Nothing stays loaded by a failed first use.
            if (c.primary) {
                EXPECT_EQ(0, libraries.References(kPrimary));
            }
            if (c.fallback) {
                EXPECT_EQ(0, libraries.References(kFallback));
            }
            continue;
        }
        EXPECT_EQ(c.expected, binding.Resolve("RasDial"));
        EXPECT_TRUE(binding.RasLoaded());
        EXPECT_EQ(c.usesFallback, binding.RasFallback());
        EXPECT_EQ(libraries.Handle(c.usesFallback ? kFallback : kPrimary), binding.RasLibrary());
        // The primary library is kept loaded even when the fallback serves.
        EXPECT_EQ(1, libraries.References(kPrimary));
    }
}

TEST(RasBinding, FailedFirstUseStartsAgainFromTheRasLibrary)
{
    TFakeLibraries libraries;
    libraries.Add(kPrimary, {{"RasDialA", kAnsi}});
    libraries.Add(kFallback, {});
    TRasBinding binding(libraries);
    EXPECT_EQ("Function RasHangUp not found!", ErrorOf(binding, "RasHangUp"));
    libraries.Loads.clear();
    // Had the failure bound the phonebook library, RasDialA would not be found.
    EXPECT_EQ(kAnsi, binding.Resolve("RasDial"));
    EXPECT_EQ(std::vector<std::string>{kPrimary}, libraries.Loads);
    EXPECT_FALSE(binding.RasFallback());
}

TEST(RasBinding, OnceOnPhonebookLibraryNoAnsiFormIsTried)
{
    TFakeLibraries libraries;
    libraries.Add(kPrimary, {});
    libraries.Add(kFallback, {{"RasEnumEntries", kOld}, {"RasDeleteEntryA", kOther}});
    TRasBinding binding(libraries);
    EXPECT_EQ(kOld, binding.Resolve("RasEnumEntries"));
    libraries.Lookups.clear();
    EXPECT_EQ("Function RasDeleteEntry not found!", ErrorOf(binding, "RasDeleteEntry"));
    EXPECT_EQ(std::vector<std::string>{"rnaph.dll:RasDeleteEntry"}, libraries.Lookups);
    EXPECT_TRUE(binding.RasLoaded());  // a missing function does not undo the binding
    EXPECT_EQ(std::vector<std::string>({kPrimary, kFallback}), libraries.Loads);
}

TEST(RasBinding, OnceOnRasLibraryAnsiFormFirstThenBareName)
{
    TFakeLibraries libraries;
    libraries.Add(kPrimary, {{"RasDialA", kAnsi}, {"RasDeleteEntry", kBare}});
    TRasBinding binding(libraries);
    binding.Resolve("RasDial");
    EXPECT_EQ(kBare, binding.Resolve("RasDeleteEntry"));
    libraries.Add(kPrimary,
                  {{"RasDialA", kAnsi}, {"RasDeleteEntry", kBare}, {"RasDeleteEntryA", kAnsi}});
    EXPECT_EQ(kAnsi, binding.Resolve("RasDeleteEntry"));
    EXPECT_EQ("Function RasHangUp not found!", ErrorOf(binding, "RasHangUp"));
    EXPECT_EQ(std::vector<std::string>{kPrimary}, libraries.Loads);  // loaded once only
}

TEST(RasBinding, OnlyTheFallbackLibraryIsReleasedAtTheEnd)
{
    for (bool fallback : {false, true}) {
        TFakeLibraries libraries;
        libraries.Add(kPrimary, fallback ? std::map<std::string, void*>{}
                                         : std::map<std::string, void*>{{"RasDial", kBare}});
        libraries.Add(kFallback, {{"RasDial", kOld}});
        {
            TRasBinding binding(libraries);
            binding.Resolve("RasDial");
        }
        EXPECT_EQ(fallback ? std::vector<std::string>{kFallback} : std::vector<std::string>{},
                  libraries.Frees);
    }
}

}  // namespace
