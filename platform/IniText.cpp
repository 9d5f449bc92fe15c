#include "platform/IniText.h"

#include "common/StrUtils.h"

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

bool HasLineBreakOrNul(const std::string& text)
{
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

// The profile functions hand back a quoted value without its quotes, so that a value may keep
// blanks at its ends.
std::string Unquote(const std::string& value)
{
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

TIniText::TIniText(const std::string& text)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            FLines.push_back({text.substr(start), ""});
            break;
        }
        size_t next = end + 1;
        if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
        FLines.push_back({text.substr(start, end - start), text.substr(end, next - end)});
        start = next;
    }
    FNewLine = "\r\n";
    for (const TLine& line : FLines)
        if (!line.ending.empty()) {
            FNewLine = line.ending;
            break;
        }
}

TIniText::TParsed TIniText::Parse(size_t index) const
{
    const std::string& raw = FLines[index].content;
    TParsed parsed;
    size_t begin = (index == 0 && raw.compare(0, 3, kUtf8Bom) == 0) ? 3 : 0;
    while (begin < raw.size() && IsBlank(raw[begin])) ++begin;
    if (begin == raw.size()) return parsed;

    if (raw[begin] == '[') {
        size_t close = raw.rfind(']');
        if (close != std::string::npos && close > begin) {
            parsed.kind = TKind::Section;
            parsed.name = Trim(raw.substr(begin + 1, close - begin - 1));
            return parsed;
        }
    }
    size_t equals = raw.find('=', begin);
    size_t end = equals == std::string::npos ? raw.size() : equals;
    while (end > begin && IsBlank(raw[end - 1])) --end;
    parsed.kind = TKind::Entry;
    parsed.name = raw.substr(begin, end - begin);
    parsed.keyEnd = end;
    if (equals != std::string::npos) parsed.value = Unquote(Trim(raw.substr(equals + 1)));
    return parsed;
}

std::vector<size_t> TIniText::Entries(const std::string& section, const std::string& key,
                                      std::vector<size_t>* sectionEnds) const
{
    std::vector<size_t> entries;
    bool inSection = false;
    for (size_t i = 0; i < FLines.size(); ++i) {
        TParsed parsed = Parse(i);
        if (parsed.kind == TKind::Section) {
            inSection = SameText(parsed.name, section);
            if (inSection && sectionEnds) sectionEnds->push_back(i + 1);
        } else if (inSection && parsed.kind == TKind::Entry) {
            if (SameText(parsed.name, key)) entries.push_back(i);
            if (sectionEnds) sectionEnds->back() = i + 1;
        }
    }
    return entries;
}

bool TIniText::Find(const std::string& section, const std::string& key, std::string& value) const
{
    std::vector<size_t> entries = Entries(section, key, nullptr);
    if (entries.empty()) return false;
    value = Parse(entries.front()).value;
    return true;
}

void TIniText::Insert(size_t index, const std::string& content)
{
    // A last line without a line ending gets one before anything follows it.
    if (index > 0 && FLines[index - 1].ending.empty()) FLines[index - 1].ending = FNewLine;
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(index), TLine{content, FNewLine});
}

void TIniText::Write(const std::string& section, const std::string& key, const std::string& value)
{
    std::vector<size_t> sectionEnds;
    std::vector<size_t> entries = Entries(section, key, &sectionEnds);
    if (!entries.empty()) {
        // Keep the key as the file spells it, with any indentation before it.
        TLine& line = FLines[entries.front()];
        line.content = line.content.substr(0, Parse(entries.front()).keyEnd) + "=" + value;
        return;
    }
    if (!sectionEnds.empty()) {
        Insert(sectionEnds.front(), key + "=" + value);
        return;
    }
    Insert(FLines.size(), "[" + section + "]");
    Insert(FLines.size(), key + "=" + value);
}

bool TIniText::Delete(const std::string& section, const std::string& key)
{
    std::vector<size_t> entries = Entries(section, key, nullptr);
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(*it));
    return !entries.empty();
}

std::string TIniText::Text() const
{
    std::string text;
    for (const TLine& line : FLines) text += line.content + line.ending;
    return text;
}

bool IsStorableIniSection(const std::string& section)
{
    return !Trim(section).empty() && !HasLineBreakOrNul(section) &&
           section.find(']') == std::string::npos;
}

bool IsStorableIniKey(const std::string& key)
{
    std::string trimmed = Trim(key);
    return !trimmed.empty() && trimmed[0] != '[' && !HasLineBreakOrNul(key) &&
           key.find('=') == std::string::npos;
}

bool IsStorableIniValue(const std::string& value)
{
    return !HasLineBreakOrNul(value);
}

std::string LimitChars(const std::string& text, size_t maxChars)
{
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (!continuation && chars++ == maxChars) return text.substr(0, i);
    }
    return text;
}
