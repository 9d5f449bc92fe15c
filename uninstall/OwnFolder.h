#pragma once
// The folder of the uninstaller's own program file, and whether a path lies in it. Every
// installation writes its Programs-and-Features key, its Run value and its shortcut under the
// same names, so an installation into another folder takes them over; what they point to tells
// whose they are now.
#include <string>

#include "platform/Files.h"

class TOwnFolder {
public:
    // The folder with or without its final backslash; an empty one holds nothing.
    TOwnFolder(IFileSystem& files, const std::string& folder);

    // True when the path is the folder or lies below it. Names compare as the file system
    // compares them, without regard to case, and whole: "C:\AB" does not lie in "C:\A".
    bool Holds(const std::string& path) const;
    // The same for the program a command line starts: the quoted text when the line begins
    // with a quote; otherwise the whole line, which begins with the program whatever blanks
    // its path holds, so that it lies in the folder exactly when the program does.
    bool HoldsProgramOf(const std::string& command) const;

private:
    IFileSystem& FFiles;
    std::string FFolder;  // without its final backslash
};
