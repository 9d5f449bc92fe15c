#include <windows.h>

#include "platform/SystemVersion.h"

uint32_t SystemVersionWord()
{
    return GetVersion();
}
