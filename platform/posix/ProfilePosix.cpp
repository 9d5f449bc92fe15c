// Linux has no profile functions of its own: the portable ini implementation works on the
// real files instead.
#include "platform/Profile.h"

#include "platform/IniFile.h"

IProfile& SystemProfile()
{
    static TIniFile profile(SystemFileSystem());
    return profile;
}
