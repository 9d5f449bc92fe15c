#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/Profile.h"
#include "platform/win32/Win32Text.h"

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
        const std::wstring wfile = Wide(file), wsection = Wide(section), wkey = Wide(key),
                           wdef = Wide(def);
        const size_t limit = std::min(maxChars, kMaxBufferChars);
        // The function reports only how much it copied: a value that fills the buffer may
        // have been cut, so the buffer grows until the value fits or maxChars is reached.
        size_t size = std::min<size_t>(limit, 255) + 1;
        std::vector<wchar_t> buffer;
        for (;;) {
            buffer.assign(size, L'\0');
            DWORD copied = GetPrivateProfileStringW(wsection.c_str(), wkey.c_str(), wdef.c_str(),
                                                    buffer.data(), static_cast<DWORD>(size),
                                                    wfile.c_str());
            size_t length = std::min<size_t>(copied, size - 1);
            if (length < size - 1 || size > limit) {
                // Never end on half of a surrogate pair that the limit cut off.
                if (length == size - 1 && length > 0 && buffer[length - 1] >= 0xD800 &&
                    buffer[length - 1] <= 0xDBFF)
                    --length;
                return Narrow(buffer.data(), length);
            }
            size = std::min(size * 2, limit + 1);
        }
    }

    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override
    {
        if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
        return WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(),
                                          Wide(value).c_str(), Wide(file).c_str()) != FALSE;
    }

    bool DeleteKey(const std::string& file, const std::string& section,
                   const std::string& key) override
    {
        // A null value removes the entry; the key itself is never null here, which would
        // remove the whole section.
        return WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), nullptr,
                                          Wide(file).c_str()) != FALSE;
    }
};

}  // namespace

IProfile& SystemProfile()
{
    static TWin32Profile profile;
    return profile;
}
