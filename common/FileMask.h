#pragma once
// The file system's wildcard matching as FindFirstFile does it, for the Linux layer and the
// in-memory file system of the tests: "*" any run of characters, "?" one character, ASCII
// letters compared without regard to case, "*.*" matching every name (also one without a dot).
#include <string>

bool MatchesFileMask(const std::string& name, const std::string& mask);
