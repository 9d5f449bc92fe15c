// The Win32 user-interface thread (a hidden window, sent messages, window timers) against the
// contract of every user-interface thread.
#include "platform/win32/UiThreadWin32.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/platform/UiThreadContract.h"

namespace {

std::unique_ptr<IUserInterfaceThread> MakeWin32UiThread()
{
    return std::make_unique<TWin32UiThread>();
}

INSTANTIATE_TEST_SUITE_P(Win32, UiThreadContract,
                         ::testing::Values(TUiThreadMaker{"win32", &MakeWin32UiThread}));

}  // namespace
