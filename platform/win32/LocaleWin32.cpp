#include <windows.h>

#include "platform/Locale.h"

namespace {

class TWin32Locale : public ILocale {
public:
    uint32_t SystemDefaultLcid() override { return GetSystemDefaultLCID(); }
};

}  // namespace

ILocale& SystemLocale()
{
    static TWin32Locale locale;
    return locale;
}
