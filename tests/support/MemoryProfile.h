#pragma once
// An in-memory profile (ini files). Files, sections and keys compare without regard to ASCII
// case, as the profile functions compare them. It can refuse writes after a number of them and
// fail a read, and it counts what it was asked.
#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "common/StrUtils.h"
#include "platform/Profile.h"

class TMemoryProfile : public IProfile {
public:
    void Set(const std::string& file, const std::string& section, const std::string& key,
             const std::string& value = "")
    {
        FEntries[Id(file, section, key)] = value;
    }
    bool Has(const std::string& file, const std::string& section, const std::string& key) const
    {
        return FEntries.count(Id(file, section, key)) != 0;
    }
    // "" when there is no such entry.
    std::string Value(const std::string& file, const std::string& section,
                      const std::string& key) const
    {
        auto it = FEntries.find(Id(file, section, key));
        return it == FEntries.end() ? std::string() : it->second;
    }

    int AcceptedWrites = -1;  // writes accepted before the rest are refused; -1: all
    std::string FailingRead;  // a read of this key throws
    int Reads = 0;
    std::vector<std::string> Written;  // keys in the order they were written

    std::string ReadString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& def, size_t) override
    {
        ++Reads;
        if (!FailingRead.empty() && SameText(key, FailingRead))
            throw std::runtime_error("read failed");
        auto it = FEntries.find(Id(file, section, key));
        return it == FEntries.end() ? def : it->second;
    }
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override
    {
        if (AcceptedWrites == 0) return false;
        if (AcceptedWrites > 0) --AcceptedWrites;
        Written.push_back(key);
        Set(file, section, key, value);
        return true;
    }
    bool DeleteKey(const std::string& file, const std::string& section,
                   const std::string& key) override
    {
        FEntries.erase(Id(file, section, key));
        return true;
    }

private:
    using TEntryId = std::tuple<std::string, std::string, std::string>;
    static TEntryId Id(const std::string& file, const std::string& section, const std::string& key)
    {
        return {LowerCase(file), LowerCase(section), LowerCase(key)};
    }

    std::map<TEntryId, std::string> FEntries;
};
