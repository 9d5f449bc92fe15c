#pragma once
// The profile fake: the programs' own ini implementation over the machine's in-memory files, so
// that entries are found, written and removed exactly as the profile port on Linux does it, in
// files that the test's other code sees too. It can refuse writes after a number of them and
// fail a read, and it counts what it was asked.
#include <stdexcept>
#include <string>
#include <vector>

#include "common/Paths.h"
#include "common/StrUtils.h"
#include "platform/IniFile.h"
#include "platform/IniText.h"
#include "support/MemoryFileSystem.h"

class TMemoryProfile : public IProfile {
public:
    explicit TMemoryProfile(TMemoryFileSystem& files) : FFiles(files), FIni(files) {}

    // Stores an entry as a test's starting point, making its folder where it is missing.
    void Set(const std::string& file, const std::string& section, const std::string& key,
             const std::string& value = "")
    {
        const std::string folder = ExtractFilePath(file);
        if (!folder.empty() && !FFiles.DirectoryExists(folder)) FFiles.AddFolder(folder);
        if (!FIni.WriteString(file, section, key, value))
            throw std::logic_error("the entry " + key + " cannot be stored in " + file);
    }
    bool Has(const std::string& file, const std::string& section, const std::string& key) const
    {
        std::string value;
        return Find(file, section, key, value);
    }
    // "" when there is no such entry.
    std::string Value(const std::string& file, const std::string& section,
                      const std::string& key) const
    {
        std::string value;
        Find(file, section, key, value);
        return value;
    }

    int AcceptedWrites = -1;  // writes accepted before the rest are refused; -1: all
    std::string FailingRead;  // a read of this key throws
    int Reads = 0;
    std::vector<std::string> Written;  // keys in the order they were written

    std::string ReadString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& def,
                           size_t maxChars) override
    {
        ++Reads;
        if (!FailingRead.empty() && SameText(key, FailingRead))
            throw std::runtime_error("read failed");
        return FIni.ReadString(file, section, key, def, maxChars);
    }
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override
    {
        if (AcceptedWrites == 0) return false;
        if (AcceptedWrites > 0) --AcceptedWrites;
        Written.push_back(key);
        return FIni.WriteString(file, section, key, value);
    }
    bool DeleteKey(const std::string& file, const std::string& section,
                   const std::string& key) override
    {
        return FIni.DeleteKey(file, section, key);
    }

private:
    bool Find(const std::string& file, const std::string& section, const std::string& key,
              std::string& value) const
    {
        const TMemoryFileSystem::TNode* node = FFiles.Node(file);
        return node && !node->IsFolder && TIniText(node->Content).Find(section, key, value);
    }

    TMemoryFileSystem& FFiles;
    TIniFile FIni;
};
