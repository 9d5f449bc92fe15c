#pragma once
// The portable logic writes Windows-style paths; on Linux "\" becomes "/".
#include <string>

inline std::string NativePath(const std::string& path)
{
    std::string out = path;
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}
