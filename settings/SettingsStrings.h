#pragma once
// The configuration file's vocabulary: its section and key names, kept together as the
// program's string table so that no part of the file's layout is spelled out anywhere else.
// Files written by earlier versions use exactly these names (and lack the last).

inline constexpr const char* SSectionMain = "Main";
inline constexpr const char* SKeyFirstRun = "FirstRun";
inline constexpr const char* SKeyAutoStart = "AutoStart";
inline constexpr const char* SKeyCheckAllowedNumbers = "CheckAllowedNumbers";
inline constexpr const char* SKeyAutoDeleteDialUp = "IdentAutoDeleteDialUp";
inline constexpr const char* SKeyAutoDeleteDialers = "IdentAutoDeleteDialers";
inline constexpr const char* SKeyAskBeforeDeleteDialUp = "IdentAskBeforeDeleteDialUp";
inline constexpr const char* SKeyNumberCount = "IdentNumberCount";
// Formatted with the number's index, counted from 0.
inline constexpr const char* SKeyNumberFmt = "IdentNumberFmt_%d";
inline constexpr const char* SKeyDialDuration = "IdentDialDuration";
inline constexpr const char* SKeyCheckWhileDialling = "IdentCheckWhileDialling";
