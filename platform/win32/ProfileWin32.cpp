#include <algorithm>

#include "platform/Profile.h"
#include "platform/win32/WinTextSystem.h"

namespace {

// Bounds the buffer when a caller asks for "everything": no ini value comes near it.
const size_t kMaxBufferChars = 1u << 20;

// The profile functions write a line break inside a name or value as it is, so it would turn
// into lines of its own; such writes are refused.
bool HasLineBreak(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

class TWin32Profile : public IProfile {
public:
    std::string ReadString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& def, size_t maxChars) override
    {
        if (maxChars == 0) return std::string();
        return GetPrivateProfileStringU(section, key, def, file,
                                        std::min(maxChars, kMaxBufferChars));
    }

    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override
    {
        if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
        return WritePrivateProfileStringU(section, key, value, file);
    }

    bool DeleteKey(const std::string& file, const std::string& section,
                   const std::string& key) override
    {
        return DeletePrivateProfileKeyU(section, key, file);
    }
};

}  // namespace

IProfile& SystemProfile()
{
    static TWin32Profile profile;
    return profile;
}
