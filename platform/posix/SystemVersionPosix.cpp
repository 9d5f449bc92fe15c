// Linux is no Windows: it answers with the word of the NT family, whose ways the stand-ins
// follow where the two families differ.
#include "platform/SystemVersion.h"

uint32_t SystemVersionWord()
{
    return 0;
}
