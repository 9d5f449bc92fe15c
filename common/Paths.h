#pragma once
// Path operations on Windows-style paths. "\" and ":" both end a folder part ("C:x.exe" has the
// folder "C:"). They work on bytes and look only at ASCII characters, so UTF-8 paths are safe.
#include <string>

// Text after the last "\" or ":"; the whole text when neither occurs.
std::string ExtractFileName(const std::string& path);
// Text up to and including the last "\" or ":"; empty when neither occurs.
std::string ExtractFilePath(const std::string& path);
// Text from the last "." after the last "\" or ":"; empty when there is none.
std::string ExtractFileExt(const std::string& path);
// Replaces the extension (as ExtractFileExt finds it), or appends ext when there is none.
std::string ChangeFileExt(const std::string& path, const std::string& ext);
// Appends "\" unless the text is empty or already ends in "\".
std::string IncludeTrailingBackslash(const std::string& path);
