#pragma once
// The file system's wildcard matching as the Linux layer imitates it: "*" any run of characters,
// "?" one character, ASCII letters compared without regard to case, "*.*" matching every name
// (also one without a dot), as FindFirstFile does.
#include <string>

bool MatchesFileMask(const std::string& name, const std::string& mask);
