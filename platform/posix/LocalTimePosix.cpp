#include <ctime>

#include "platform/LocalTime.h"

namespace {

class TLocalTimePosix : public ILocalTime {
public:
    TLocalTime Now() override
    {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return TLocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
    }
    std::string TimeSeparator() override { return ":"; }
};

}  // namespace

ILocalTime& SystemLocalTime()
{
    static TLocalTimePosix instance;
    return instance;
}
