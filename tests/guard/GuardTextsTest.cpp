// The guard's text table has a Polish text for every id: a row left empty would show as a blank
// control or a report line with nothing to say.
#include <gtest/gtest.h>

#include "guard/GuardTexts.h"

namespace {

TEST(GuardTexts, EveryTextHasItsPolishRow)
{
    for (size_t i = 0; i < static_cast<size_t>(TGuardText::Count); ++i)
        EXPECT_NE(GuardText(static_cast<TGuardText>(i), TLanguage::Polish), "") << "text " << i;
}

}  // namespace
