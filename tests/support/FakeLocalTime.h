#pragma once
// A fixed clock: report stamps come out the same on every run.
#include <string>

#include "platform/LocalTime.h"

class TFakeLocalTime : public ILocalTime {
public:
    TLocalTime Time;
    std::string Separator = ":";

    TLocalTime Now() override { return Time; }
    std::string TimeSeparator() override { return Separator; }
};
