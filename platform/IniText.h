#pragma once
// The text of one ini file, held as its raw lines so that an edit changes only the lines it
// must: every other line, comment, blank line and line ending stays byte for byte. This matters
// for the uninstaller, which removes entries from ini files that other programs wrote.
//
// Reading follows the Win32 profile functions: "[name]" opens a section, "key=value" is an
// entry (a line without "=" is a key with an empty value), names compare without regard to
// ASCII case, blanks around key and value are dropped and one pair of matching quotes around a
// value is removed. Entries before the first section belong to none and are never found.
#include <string>
#include <vector>

class TIniText {
public:
    explicit TIniText(const std::string& text);

    // The value of the first entry key in a section named section, in file order.
    bool Find(const std::string& section, const std::string& key, std::string& value) const;
    // Replaces the value of the first such entry in place, else adds the entry at the end of
    // the first such section, else adds the section at the end of the text.
    void Write(const std::string& section, const std::string& key, const std::string& value);
    // Removes every entry key of every section named section; true when a line was removed.
    bool Delete(const std::string& section, const std::string& key);

    std::string Text() const;

private:
    struct TLine {
        std::string content;  // without its line ending
        std::string ending;   // "\r\n", "\n", "\r" or "" (last line without one)
    };
    enum class TKind { Blank, Section, Entry };
    struct TParsed {
        TKind kind = TKind::Blank;
        std::string name;   // section name or key
        size_t keyEnd = 0;  // entries: end of the key in the raw content
        std::string value;  // entries: the value as read
    };

    TParsed Parse(size_t index) const;
    // Line indexes of the entries key of sections named section, in file order; with
    // sectionEnds, also the index after the last non-blank line of each such section.
    std::vector<size_t> Entries(const std::string& section, const std::string& key,
                                std::vector<size_t>* sectionEnds) const;
    void Insert(size_t index, const std::string& content);

    std::vector<TLine> FLines;
    std::string FNewLine;  // line ending for added lines: the file's own, else CRLF
};

// A name or value that the ini format can hold on one line: no line breaks, and a key without
// "=" that does not begin with "["; a section without "]". Writes refuse anything else rather
// than let it turn into lines of its own.
bool IsStorableIniSection(const std::string& section);
bool IsStorableIniKey(const std::string& key);
bool IsStorableIniValue(const std::string& value);

// The first maxChars characters of UTF-8 text, never cutting a character in two.
std::string LimitChars(const std::string& text, size_t maxChars);
