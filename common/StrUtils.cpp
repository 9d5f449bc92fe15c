#include "common/StrUtils.h"

#include <cstring>

std::string LowerCase(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string UpperCase(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string Trim(const std::string& text)
{
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

bool IsDigits(const std::string& text)
{
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

int CompareText(const std::string& a, const std::string& b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(const std::string& a, const std::string& b)
{
    return CompareText(a, b) == 0;
}

std::string FieldText(const char* field, size_t capacity)
{
    const void* nul = std::memchr(field, 0, capacity);
    size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : capacity;
    return std::string(field, length);
}

void SetFieldText(char* field, size_t capacity, const std::string& text)
{
    if (capacity == 0) return;
    size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

bool LeadingQuoted(const std::string& commandLine, std::string& quoted)
{
    const std::string text = Trim(commandLine);
    if (text.empty() || text[0] != '"') return false;
    const size_t close = text.find('"', 1);
    quoted = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    return true;
}
