#include "common/Paths.h"

namespace {

// Position just after the last "\" or ":", 0 when there is none.
size_t NameStart(const std::string& path)
{
    size_t pos = path.find_last_of("\\:");
    return pos == std::string::npos ? 0 : pos + 1;
}

size_t ExtensionStart(const std::string& path)
{
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < NameStart(path)) return std::string::npos;
    return dot;
}

}  // namespace

std::string ExtractFileName(const std::string& path)
{
    return path.substr(NameStart(path));
}

std::string ExtractFilePath(const std::string& path)
{
    return path.substr(0, NameStart(path));
}

std::string ExtractFileExt(const std::string& path)
{
    size_t dot = ExtensionStart(path);
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext)
{
    size_t dot = ExtensionStart(path);
    return (dot == std::string::npos ? path : path.substr(0, dot)) + ext;
}

std::string IncludeTrailingBackslash(const std::string& path)
{
    if (path.empty() || path.back() == '\\') return path;
    return path + "\\";
}
