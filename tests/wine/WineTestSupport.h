#pragma once
// Helpers shared by the Wine tests: unique names, and files and folders made in the real file
// system.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/Format.h"
#include "platform/Files.h"
#include "platform/win32/Win32Text.h"
#include "support/TempFolder.h"

// A name no other run of the tests uses, for registry keys and values that outlive a test
// program that crashed: the process id and a count.
inline std::string Unique(const std::string& prefix)
{
    static int counter = 0;
    return Format("%s-%d-%d", prefix, static_cast<int>(GetCurrentProcessId()), ++counter);
}

inline bool Exists(const std::string& path)
{
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void Touch(const std::string& path)
{
    ASSERT_TRUE(SystemFileSystem().WriteFile(path, "x")) << path;
}

inline void MakeFolder(const std::string& path)
{
    ASSERT_TRUE(CreateDirectoryW(Wide(path).c_str(), nullptr)) << path;
}

// A test with a fresh folder of its own in the real file system.
class WineFolderTest : public ::testing::Test {
protected:
    TTempFolder Temp;
    const std::string Root = Temp.Path("");  // with its final backslash
};
