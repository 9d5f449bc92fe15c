#include "installer/Rollback.h"

#include <cstring>

#include "common/Paths.h"

bool TRollback::ForceFolder(const std::string& folder)
{
    std::string path = folder;
    while (!path.empty() && path.back() == '\\') path.pop_back();
    if (path.empty()) return false;
    // A drive's root is named with its backslash.
    if (FFiles.DirectoryExists(path) || FFiles.DirectoryExists(path + "\\")) return true;
    // A drive or a share's root that is not there cannot be made.
    const std::string parent = ExtractFilePath(path);
    if (parent.empty() || parent.size() >= path.size()) return false;
    if (!ForceFolder(parent)) return false;
    if (!FFiles.CreateFolder(path)) return false;
    FSteps.push_back({TKind::FolderCreated, path});
    return true;
}

bool TRollback::NoteFile(const std::string& path)
{
    if (!FFiles.FileExists(path)) {
        FSteps.push_back({TKind::FileCreated, path});
        return true;
    }
    // A name no file has yet: a copy an earlier run could not take back stays as it is.
    std::string backup = path + ".setup-old";
    for (int n = 1; FFiles.FileExists(backup); ++n)
        backup = path + ".setup-old" + std::to_string(n);
    if (!FFiles.CopyFileTo(path, backup, true)) return false;
    FSteps.push_back({TKind::FileReplaced, path, backup});
    return true;
}

bool TRollback::WriteFile(const std::string& path, const std::string& bytes)
{
    if (!NoteFile(path)) return false;
    if (FFiles.WriteFile(path, bytes)) return true;
    // A file that could not even be opened for writing (a program that runs) is as it was: it
    // needs no copy put back, which would fail the same way and leave the copy for good.
    const TStep& step = FSteps.back();
    if (step.Kind == TKind::FileReplaced && SameBytes(path, step.Backup)) {
        FFiles.EraseFile(step.Backup);
        FSteps.pop_back();
    }
    return false;
}

bool TRollback::SameBytes(const std::string& a, const std::string& b)
{
    auto first = FFiles.OpenRead(a), second = FFiles.OpenRead(b);
    if (!first || !second || first->Size() != second->Size()) return false;
    char x[4096], y[sizeof x];
    for (;;) {
        const int64_t n = first->Read(x, sizeof x);
        if (n < 0 || second->Read(y, sizeof y) != n) return false;
        if (n == 0) return true;
        if (std::memcmp(x, y, static_cast<size_t>(n)) != 0) return false;
    }
}

std::unique_ptr<IRegistryKey> TRollback::CreateKey(TRegRoot root, const std::string& path)
{
    if (auto key = FRegistry.OpenKey(root, path, TRegAccess::Full)) return key;
    auto key = FRegistry.CreateKey(root, path);
    if (key) {
        TStep step{TKind::KeyCreated, path};
        step.Root = root;
        FSteps.push_back(step);
    }
    return key;
}

void TRollback::NoteValue(TRegRoot root, const std::string& key, const std::string& name)
{
    TStep step{TKind::ValueWritten, key};
    step.Root = root;
    step.ValueName = name;
    if (auto open = FRegistry.OpenKey(root, key, TRegAccess::Read))
        step.HadValue = open->ReadValue(name, step.OldValue);
    FSteps.push_back(step);
}

bool TRollback::WriteValue(TRegRoot root, const std::string& key, const std::string& name,
                           const TRegValue& value)
{
    auto open = CreateKey(root, key);
    if (!open) return false;
    NoteValue(root, key, name);
    return open->WriteValue(name, value);
}

void TRollback::Undo()
{
    for (auto step = FSteps.rbegin(); step != FSteps.rend(); ++step) {
        switch (step->Kind) {
        case TKind::FolderCreated: FFiles.RemoveFolder(step->Path); break;
        case TKind::FileCreated: FFiles.EraseFile(step->Path); break;
        case TKind::FileReplaced:
            if (FFiles.CopyFileTo(step->Backup, step->Path, false)) FFiles.EraseFile(step->Backup);
            break;
        case TKind::KeyCreated: {
            // Values written into a key this run made go with it.
            if (auto key = FRegistry.OpenKey(step->Root, step->Path, TRegAccess::Full))
                for (const std::string& name : key->ValueNames()) key->DeleteValue(name);
            FRegistry.DeleteKey(step->Root, step->Path);
            break;
        }
        case TKind::ValueWritten:
            if (auto key = FRegistry.OpenKey(step->Root, step->Path, TRegAccess::Full)) {
                if (step->HadValue)
                    key->WriteValue(step->ValueName, step->OldValue);
                else
                    key->DeleteValue(step->ValueName);
            }
            break;
        }
    }
    FSteps.clear();
}

void TRollback::Commit()
{
    for (const TStep& step : FSteps)
        if (step.Kind == TKind::FileReplaced) FFiles.EraseFile(step.Backup);
    FSteps.clear();
}
