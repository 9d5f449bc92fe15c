#pragma once
// Port: the registry. Keys are opened by root and path ("Software\\Microsoft\\..."); values
// keep their registry type. String values (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) travel as UTF-8
// bytes without the terminating NUL; the Win32 layer converts to and from UTF-16.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class TRegRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig, DynData };

// The registry's own value type numbers.
enum TRegType : uint32_t {
    rtNone = 0,
    rtString = 1,        // REG_SZ
    rtExpandString = 2,  // REG_EXPAND_SZ
    rtBinary = 3,        // REG_BINARY
    rtDword = 4,         // REG_DWORD
    rtMultiString = 7,   // REG_MULTI_SZ
};

struct TRegValue {
    uint32_t Type = rtNone;
    std::vector<uint8_t> Data;

    static TRegValue String(const std::string& text, uint32_t type = rtString)
    {
        return TRegValue{type, std::vector<uint8_t>(text.begin(), text.end())};
    }
    static TRegValue Dword(uint32_t v)
    {
        return TRegValue{rtDword,
                         {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}};
    }
    std::string Text() const { return std::string(Data.begin(), Data.end()); }
};

// On 64-bit Windows the machine's keys come in two views, one for 64-bit programs and one for
// 32-bit ones, and a 32-bit program opens its own unless it names the other. The user's keys that
// matter here are shared by both. Where there is one registry only, every view is that one.
enum class TRegView { Own, Bits64, Bits32 };

// Read: the key's values and subkeys can be listed and read. Full: its values can be written
// and deleted as well. A user who may not change a key (a standard user and the machine's keys)
// can still open it for reading.
enum class TRegAccess { Read, Full };

class IRegistryKey {
public:
    virtual ~IRegistryKey() = default;
    virtual std::vector<std::string> SubKeyNames() = 0;
    // Value names in the registry's enumeration order; "" is the unnamed default value.
    virtual std::vector<std::string> ValueNames() = 0;
    virtual bool ValueExists(const std::string& name) = 0;
    // False when there is no such value.
    virtual bool ReadValue(const std::string& name, TRegValue& value) = 0;
    virtual bool WriteValue(const std::string& name, const TRegValue& value) = 0;
    virtual bool DeleteValue(const std::string& name) = 0;
};

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // nullptr when the key does not exist or cannot be opened with that access.
    virtual std::unique_ptr<IRegistryKey> OpenKey(TRegRoot root, const std::string& path,
                                                  TRegAccess access,
                                                  TRegView view = TRegView::Own) = 0;
    // Opens the key with full access, creating it and its missing parents; nullptr on failure.
    virtual std::unique_ptr<IRegistryKey> CreateKey(TRegRoot root, const std::string& path,
                                                    TRegView view = TRegView::Own) = 0;
    // Deletes one key that has no subkeys. True when it is gone.
    virtual bool DeleteKey(TRegRoot root, const std::string& path) = 0;
    // Whether the machine's keys come in two views: this is a 32-bit program on 64-bit Windows.
    virtual bool HasViews() { return false; }
};

IRegistry& SystemRegistry();
