#include "settings/Settings.h"

#include <algorithm>
#include <cstdint>
#include <exception>

#include "common/Format.h"
#include "common/Paths.h"
#include "common/StrUtils.h"
#include "settings/SettingsStrings.h"

namespace {

// Texts are read up to this many characters.
const size_t kMaxTextChars = 2047;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A stored integer: "0x" or "0X" followed by hexadecimal digits (32 bits, so "0xFFFFFFFF" is
// -1), else a decimal integer with an optional sign. Anything else, or a value beyond 32 bits,
// is def.
int ParseInteger(const std::string& text, int def)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        uint64_t value = 0;
        for (size_t i = 2; i < text.size(); ++i) {
            int digit = HexDigit(text[i]);
            if (digit < 0) return def;
            value = value * 16 + static_cast<uint64_t>(digit);
            if (value > 0xFFFFFFFFu) return def;
        }
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    }
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (!IsDigits(text.substr(i))) return def;
    int64_t value = 0;
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    for (; i < text.size(); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) return def;
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace

TSettings::TSettings(IProfile& profile, const std::string& programPath)
    : FProfile(profile), FFileName(ChangeFileExt(programPath, ".cfg"))
{
    // Set through its setter on purpose: that marks the settings modified from the start, so
    // every Save writes the file and the first one creates it with all keys.
    SetAutoDeleteDialers(true);
    Load();
}

TSettings::~TSettings()
{
    try {
        Save();
    } catch (...) {
        // A destructor must not throw; Save reports its own failures as false.
    }
}

std::array<TSettings::TSwitch, TSettings::kSwitchCount> TSettings::Switches()
{
    return {{{SKeyFirstRun, &FFirstRun},
             {SKeyAutoStart, &FAutoStart},
             {SKeyCheckAllowedNumbers, &FCheckAllowedNumbers},
             {SKeyAutoDeleteDialUp, &FAutoDeleteDialUp},
             {SKeyAutoDeleteDialers, &FAutoDeleteDialers},
             {SKeyAskBeforeDeleteDialUp, &FAskBeforeDeleteDialUp},
             {SKeyCheckWhileDialling, &FCheckWhileDialling}}};
}

void TSettings::SetSwitch(bool& member, bool value)
{
    if (member == value) return;
    member = value;
    FModified = true;
}

void TSettings::SetNumbers(const std::vector<std::string>& strings)
{
    if (TNumberList::StringsText(strings) == FNumbers.Text()) return;
    FNumbers.Assign(strings);
    FModified = true;
}

bool TSettings::IsValidNumber(const std::string& text)
{
    return IsDigits(text);
}

std::string TSettings::ReadText(const std::string& key, const std::string& def)
{
    return FProfile.ReadString(FFileName, SSectionMain, key, def, kMaxTextChars);
}

int TSettings::ReadInteger(const std::string& key, int def)
{
    return ParseInteger(ReadText(key, ""), def);
}

bool TSettings::WriteText(const std::string& key, const std::string& value)
{
    return FProfile.WriteString(FFileName, SSectionMain, key, value);
}

bool TSettings::Load()
{
    try {
        for (const TSwitch& s : Switches()) *s.value = ReadInteger(s.key, *s.value ? 1 : 0) != 0;
        FNumbers.Clear();
        const int count = std::min(ReadInteger(SKeyNumberCount, 0), kMaxNumbers);
        for (int i = 0; i < count; ++i) {
            std::string number = ReadText(Format(SKeyNumberFmt, i), "");
            if (IsValidNumber(number)) FNumbers.Add(number);
        }
        FDialDuration = ReadText(SKeyDialDuration, FDialDuration);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TSettings::Save()
{
    if (!FModified) return true;
    try {
        return WriteAll();
    } catch (const std::exception&) {
        return false;
    }
}

// Stops at the first write the profile refuses. Number keys beyond the new count, left from a
// longer list, stay in the file: Load reads only as many as the count says.
bool TSettings::WriteAll()
{
    for (const TSwitch& s : Switches())
        if (!WriteText(s.key, *s.value ? "1" : "0")) return false;
    if (!WriteText(SKeyNumberCount, Format("%d", FNumbers.Count()))) return false;
    for (int i = 0; i < FNumbers.Count(); ++i)
        if (!WriteText(Format(SKeyNumberFmt, i), FNumbers[i])) return false;
    return WriteText(SKeyDialDuration, FDialDuration);
}
