#pragma once
// Helpers shared by the Wine tests that work on real files.
#include <windows.h>

#include <cwchar>
#include <string>

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"

// Deletes a test's folder with everything in it, read-only files included. The depth bound keeps
// a test's own mistake (a folder that loops) from recursing without end.
inline void RemoveTree(const std::string& folder, int depth = 0)
{
    WIN32_FIND_DATAW data;
    TFindHandle find(FindFirstFileW(Wide(folder + "\\*").c_str(), &data));
    if (find) {
        do {
            std::string name = Narrow(data.cFileName, wcsnlen(data.cFileName, MAX_PATH));
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && depth < 8)
                RemoveTree(path, depth + 1);
            else
                DeleteFileW(Wide(path).c_str());
        } while (FindNextFileW(find.get(), &data));
        // Closed before the folder is removed: an open search keeps it in use.
        find.reset();
    }
    RemoveDirectoryW(Wide(folder).c_str());
}
