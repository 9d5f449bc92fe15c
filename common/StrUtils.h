#pragma once
// Byte-wise text helpers. They change or test only ASCII characters, so they are safe on UTF-8.
#include <string>

// Changes only the letters A to Z.
std::string LowerCase(const std::string& text);
std::string UpperCase(const std::string& text);
// Removes leading and trailing characters with codes up to 32 (blanks and control codes).
std::string Trim(const std::string& text);
// True when the text is not empty and consists only of the characters '0' to '9'.
bool IsDigits(const std::string& text);
// Case-insensitive comparison of ASCII letters; <0, 0, >0 as strcmp. Bytes above 127 compare
// by value.
int CompareText(const std::string& a, const std::string& b);
bool SameText(const std::string& a, const std::string& b);
// The text inside the double quotes that a command line begins with (after blanks), up to its
// end when the closing quote is missing; false when the line does not begin with a quote.
bool LeadingQuoted(const std::string& commandLine, std::string& quoted);
// Text of a NUL-terminated character field of fixed capacity. The field need not hold its
// terminating NUL: reading stops at the end of the field, never past it.
std::string FieldText(const char* field, size_t capacity);
// Copies text into a fixed character field, truncating so that the NUL always fits.
void SetFieldText(char* field, size_t capacity, const std::string& text);
