#include "platform/OemText.h"

bool Utf8ToOem(const std::string& text, std::string& oem)
{
    oem = text;
    return true;
}
