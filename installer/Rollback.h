#pragma once
// What one run of the setup changed, so that a failed run can put the machine back as it was:
// the steps are undone from the last to the first.
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Registry.h"

class TRollback {
public:
    enum class TKind { FolderCreated, FileCreated, FileReplaced, KeyCreated, ValueWritten };
    struct TStep {
        TKind Kind;
        std::string Path;    // folder, file or key path
        std::string Backup;  // FileReplaced: the copy of the old file
        TRegRoot Root = TRegRoot::CurrentUser;
        std::string ValueName;
        bool HadValue = false;  // ValueWritten: the value existed before, as OldValue
        TRegValue OldValue;
    };

    TRollback(IFileSystem& files, IRegistry& registry) : FFiles(files), FRegistry(registry) {}

    // Creates the folder and its missing parents, noting each one made.
    bool ForceFolder(const std::string& folder);
    // Writes the file; an existing one is first copied aside so that it can come back.
    bool WriteFile(const std::string& path, const std::string& bytes);
    // Notes a file that something else is about to create or change.
    bool NoteFile(const std::string& path);
    // Opens the key with full access, creating it (noted) when it is not there.
    std::unique_ptr<IRegistryKey> CreateKey(TRegRoot root, const std::string& path);
    // Notes a value's present content before something writes it.
    void NoteValue(TRegRoot root, const std::string& key, const std::string& name);
    bool WriteValue(TRegRoot root, const std::string& key, const std::string& name,
                    const TRegValue& value);

    // Puts everything back, the last step first.
    void Undo();
    // The run succeeded: the copies of replaced files are deleted and nothing is undone.
    void Commit();

    const std::vector<TStep>& Steps() const { return FSteps; }

private:
    bool SameBytes(const std::string& a, const std::string& b);

    IFileSystem& FFiles;
    IRegistry& FRegistry;
    std::vector<TStep> FSteps;
};
