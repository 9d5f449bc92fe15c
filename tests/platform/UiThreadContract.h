#pragma once
// What every implementation of the user-interface thread port (platform/UiThread.h) promises,
// written once. An implementation's test file runs the suite against it:
//   INSTANTIATE_TEST_SUITE_P(Queue, UiThreadContract, ::testing::Values(TUiThreadMaker{...}));
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "platform/UiThread.h"

struct TUiThreadMaker {
    const char* Name;
    // The calling thread becomes the user-interface thread of what it makes.
    std::unique_ptr<IUserInterfaceThread> (*Make)();
};

inline void PrintTo(const TUiThreadMaker& maker, std::ostream* out)
{
    *out << maker.Name;
}

class UiThreadContract : public ::testing::TestWithParam<TUiThreadMaker> {
protected:
    void SetUp() override { Ui = GetParam().Make(); }
    void TearDown() override { Ui.reset(); }

    std::unique_ptr<IUserInterfaceThread> Ui;
};
