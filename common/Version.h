// The guard's version: the one definition that the version resource and the window caption both
// take. Only preprocessor definitions, since the resource compiler reads this file as well.
#pragma once

#define LW_VERSION_MAJOR 1
#define LW_VERSION_MINOR 1

#define LW_STRINGIZE_(x) #x
#define LW_STRINGIZE(x) LW_STRINGIZE_(x)
// "1.1", the way the caption shows it, and "1.1.0.0", the way the version resource's strings
// give it. Both are runs of adjacent literals, which windres joins as the compiler does.
#define LW_VERSION_TEXT LW_STRINGIZE(LW_VERSION_MAJOR) "." LW_STRINGIZE(LW_VERSION_MINOR)
#define LW_VERSION_FILE_TEXT LW_VERSION_TEXT ".0.0"
