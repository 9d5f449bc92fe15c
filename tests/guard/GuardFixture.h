#pragma once
// Each test gets a machine of its own with the guard on it.
#include <gtest/gtest.h>

#include "guard/GuardWorld.h"

class GuardFixture : public ::testing::Test, public TGuardWorld {};
