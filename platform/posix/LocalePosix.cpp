// Linux names its language in the locale variables; a Polish one maps to the Polish locale
// identifier, every other to US English.
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "platform/Locale.h"

namespace {

class TPosixLocale : public ILocale {
public:
    uint32_t SystemDefaultLcid() override
    {
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            const char* value = getenv(name);
            if (value && *value) return strncmp(value, "pl", 2) == 0 ? 0x0415 : 0x0409;
        }
        return 0x0409;
    }
};

}  // namespace

ILocale& SystemLocale()
{
    static TPosixLocale locale;
    return locale;
}
