#pragma once
// The uninstall log held as lists of items, one list per kind of thing an installation adds,
// and the undoing of those items.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "uninstall/ConfigConst.h"
#include "uninstall/MITools.h"
#include "uninstall/OwnFolder.h"
#include "uninstall/UninstallPorts.h"
#include "uninstall/Xml.h"

class TLogStringItem {
public:
    TLogStringItem() = default;
    TLogStringItem(std::string text, bool logged) : Text(std::move(text)), Logged(logged) {}
    virtual ~TLogStringItem() = default;
    std::string Text;
    bool Logged = false;
};

// Owning list of items in the order they were added.
class TLogStringList {
public:
    virtual ~TLogStringList() = default;
    int Count() const { return static_cast<int>(FItems.size()); }
    // nullptr outside 0..Count-1.
    TLogStringItem* Items(int index) const;
    // "" outside 0..Count-1.
    std::string Text(int index) const;
    TLogStringItem* AddItem(const std::string& text, bool logged);
    void Clear() { FItems.clear(); }

protected:
    TLogStringItem* Append(std::unique_ptr<TLogStringItem> item);

private:
    std::vector<std::unique_ptr<TLogStringItem>> FItems;
};

// What every kind of configuration entry records beside its own fields.
class TBaseConfigItem : public TLogStringItem {
public:
    // Converts and stores the shared words, then takes text as the item's text; an entry
    // flagged dontlog is not Logged. The typed AddItems call it after their own fields, so a
    // word that does not convert leaves the item filled up to that word, whichever list it is in.
    void SetShared(const std::string& text, const std::string& action, const std::string& flags,
                   const std::string& condition);

    TSetupAction Action = saAdd;
    TFlagSet Flags = 0;
    std::string Condition;
};

class TBaseConfigList : public TLogStringList {};

// A list whose items are all of one kind.
template <typename TItem>
class TConfigList : public TBaseConfigList {
public:
    TItem* Items(int index) const { return static_cast<TItem*>(TLogStringList::Items(index)); }

protected:
    // A new empty item, already appended.
    TItem* AppendNew() { return static_cast<TItem*>(Append(std::make_unique<TItem>())); }
};

class TRegistryItem : public TBaseConfigItem {
public:
    TRootKey RootKey = TRootKey::CurrentUser;
    std::string KeyName;
    std::string ValueName;
    TLogRegType RegType = lrtString;
    std::string Value;
};

class TIniFileItem : public TBaseConfigItem {
public:
    std::string FileName, Section, Ident, Value;
};

class TShortCutItem : public TBaseConfigItem {
public:
    std::string Name;
    // What an installer needs to make the shortcut; the uninstaller leaves them as they are.
    std::string FileName, Arguments, WorkingDir;
    TScreenMode ScreenMode = smNormal;
    std::string IconFile;
    int IconIndex = 0;
    std::string Description, HotKey;
};

// The deepest key nesting that a whole-key removal descends into. The registry itself nests no
// deeper than 512 levels; the bound keeps a looping or hostile tree from exhausting the stack.
constexpr int RegistryMaxDepth = 512;

class TRegistryList : public TConfigList<TRegistryItem> {
public:
    TRegistryList(IRegistry& registry, const TOwnFolder& own) : FRegistry(registry), FOwn(own) {}
    // Fills the new item field by field; a word that does not convert raises its error, and
    // the item, already appended, stays half filled.
    TRegistryItem* AddItem(const std::string& key, const std::string& param,
                           const std::string& type, const std::string& value,
                           const std::string& action, const std::string& flags,
                           const std::string& condition);
    // Removes the whole key (empty value name) or the one value. A Programs-and-Features key
    // or a Run value that now points into another folder is left to that installation, and
    // counts as undone.
    bool Undo(const TRegistryItem& item);

private:
    bool DeleteTree(TRegRoot root, const std::string& path, int depth);
    bool PointsElsewhere(const TRegistryItem& item, const std::string& path, IRegistryKey& key);
    IRegistry& FRegistry;
    TOwnFolder FOwn;
};

class TIniFileList : public TConfigList<TIniFileItem> {
public:
    TIniFileList(IFileSystem& files, IProfile& profile) : FFiles(files), FProfile(profile) {}
    TIniFileItem* AddItem(const std::string& fileName, const std::string& section,
                          const std::string& param, const std::string& value,
                          const std::string& action, const std::string& flags,
                          const std::string& condition);
    // Removes the one entry; the section and the file stay.
    bool Undo(const TIniFileItem& item);

private:
    IFileSystem& FFiles;
    IProfile& FProfile;
};

class TShortCutList : public TConfigList<TShortCutItem> {
public:
    TShortCutList(IFileSystem& files, IShell& shell, const TOwnFolder& own)
        : FFiles(files), FShell(shell), FOwn(own)
    {
    }
    TShortCutItem* AddItem(const std::string& name, const std::string& fileName,
                           const std::string& arguments, const std::string& workingDir,
                           const std::string& screenMode, const std::string& iconFile,
                           const std::string& iconIndex, const std::string& description,
                           const std::string& hotKey, const std::string& action,
                           const std::string& flags, const std::string& condition);
    // Deletes Name + ".lnk", unless its target now lies in another folder: then it is left
    // to that installation, and counts as undone.
    bool Undo(const TShortCutItem& item);

private:
    bool PointsElsewhere(const std::string& link);
    IFileSystem& FFiles;
    IShell& FShell;
    TOwnFolder FOwn;
};

// Starts the system's registration tool on a COM server without waiting for it. The path goes
// in quotes: unquoted, a path with a blank reaches the tool as two arguments, and the server
// would stay registered while the call reported success.
bool RegisterServer(IFileSystem& files, IShell& shell, const std::string& fileName,
                    bool doRegister);

class TInstallerLog {
public:
    explicit TInstallerLog(const TUninstallPorts& ports);
    TInstallerLog(const TInstallerLog&) = delete;
    TInstallerLog& operator=(const TInstallerLog&) = delete;

    // Empties the seven lists; the document stays.
    void Clear();
    // Undoes every item, list by list in a fixed order and each list from its last item to its
    // first. True when every attempt succeeded; a failure never stops the others. Logged fonts
    // stay installed: other programs may use them.
    bool UndoAll();

    TRegistryList Registry;
    TIniFileList IniFiles;
    TShortCutList ShortCuts;
    TLogStringList Servers, Fonts, Files, Dirs;
    TXML Xml;

private:
    TUninstallPorts FPorts;
};
