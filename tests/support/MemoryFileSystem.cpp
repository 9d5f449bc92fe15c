#include "support/MemoryFileSystem.h"

#include <cstring>

#include "common/FileMask.h"
#include "common/Paths.h"
#include "common/StrUtils.h"

namespace {

std::string Key(const std::string& path)
{
    std::string p = LowerCase(path);
    for (char& c : p)
        if (c == '/') c = '\\';
    while (p.size() > 1 && p.back() == '\\') p.pop_back();
    return p;
}

class TMemoryStream : public IFileStream {
public:
    explicit TMemoryStream(TMemoryFileSystem::TNode& node) : FNode(node) {}
    int64_t Size() override { return static_cast<int64_t>(FNode.Content.size()); }
    bool Seek(int64_t position) override
    {
        if (position < 0) return false;
        FPosition = position;
        return true;
    }
    int64_t Read(void* buffer, size_t count) override
    {
        if (FNode.FailReadsAfter >= 0 && FNode.BytesRead >= FNode.FailReadsAfter) return -1;
        int64_t size = Size();
        if (FPosition >= size) return 0;
        size_t n = static_cast<size_t>(size - FPosition) < count
                           ? static_cast<size_t>(size - FPosition)
                           : count;
        std::memcpy(buffer, FNode.Content.data() + FPosition, n);
        FPosition += static_cast<int64_t>(n);
        FNode.BytesRead += static_cast<int64_t>(n);
        return static_cast<int64_t>(n);
    }

private:
    TMemoryFileSystem::TNode& FNode;
    int64_t FPosition = 0;
};

}  // namespace

void TMemoryFileSystem::AddFolder(const std::string& path, uint32_t attributes)
{
    std::string folder = Resolved(path);
    while (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
    std::string parent = ExtractFilePath(folder);
    if (parent.size() > 1 && parent.back() == '\\') parent.pop_back();
    if (!parent.empty() && parent != folder && !Node(parent)) AddFolder(parent);
    TNode& node = FNodes[Key(folder)];
    node.Path = folder;
    node.IsFolder = true;
    node.Attributes = attributes | faDirectory;
}

void TMemoryFileSystem::AddFile(const std::string& given, const std::string& content,
                                uint32_t attributes)
{
    const std::string path = Resolved(given);
    std::string parent = ExtractFilePath(path);
    if (parent.size() > 1 && parent.back() == '\\') parent.pop_back();
    if (!parent.empty() && !Node(parent)) AddFolder(parent);
    TNode& node = FNodes[Key(path)];
    node = TNode();
    node.Path = path;
    node.Attributes = attributes;
    node.Content = content;
}

TMemoryFileSystem::TNode* TMemoryFileSystem::Node(const std::string& path)
{
    auto it = FNodes.find(Key(Resolved(path)));
    return it == FNodes.end() ? nullptr : &it->second;
}

std::vector<std::string> TMemoryFileSystem::Files() const
{
    std::vector<std::string> files;
    for (auto& n : FNodes)
        if (!n.second.IsFolder) files.push_back(n.second.Path);
    return files;
}

bool TMemoryFileSystem::FileExists(const std::string& path)
{
    TNode* node = Node(path);
    return node && !node->IsFolder;
}

bool TMemoryFileSystem::DirectoryExists(const std::string& path)
{
    TNode* node = Node(path);
    return node && node->IsFolder;
}

std::unique_ptr<IFileStream> TMemoryFileSystem::OpenRead(const std::string& path)
{
    TNode* node = Node(path);
    if (!node || node->IsFolder || node->Locked) return nullptr;
    return std::make_unique<TMemoryStream>(*node);
}

bool TMemoryFileSystem::EraseFile(const std::string& path)
{
    TNode* node = Node(path);
    if (!node || node->IsFolder || node->Locked || node->Running) return false;
    FNodes.erase(Key(node->Path));
    return true;
}

bool TMemoryFileSystem::WriteFile(const std::string& path, const std::string& bytes)
{
    TNode* node = Node(path);
    if (node && (node->IsFolder || node->Locked || node->Running)) return false;
    std::string parent = ExtractFilePath(path);
    if (parent.size() > 1 && parent.back() == '\\') parent.pop_back();
    if (!parent.empty() && !DirectoryExists(parent)) return false;
    if (!node && !parent.empty() && Node(parent)->RefusesNewFiles) return false;
    AddFile(path, bytes);
    return true;
}

bool TMemoryFileSystem::AppendToFile(const std::string& path, const std::string& bytes)
{
    TNode* node = Node(path);
    if (!node) return WriteFile(path, bytes);
    if (node->IsFolder || node->Locked || node->Running) return false;
    node->Content += bytes;
    return true;
}

bool TMemoryFileSystem::RenameFile(const std::string& source, const std::string& target)
{
    TNode* from = Node(source);
    if (!from || from->IsFolder || from->Locked || from->Running) return false;
    if (Key(source) == Key(target)) return true;
    TNode* to = Node(target);
    if (to && (to->IsFolder || to->Locked || to->Running)) return false;
    TNode moved = *from;
    moved.Path = target;
    FNodes.erase(Key(source));
    FNodes[Key(target)] = moved;
    return true;
}

bool TMemoryFileSystem::CopyFileTo(const std::string& source, const std::string& target,
                                   bool failIfExists)
{
    TNode* from = Node(source);
    if (!from || from->IsFolder || from->Locked) return false;
    if (from->FailReadsAfter >= 0 &&
        from->FailReadsAfter - from->BytesRead < static_cast<int64_t>(from->Content.size()))
        return false;
    if (failIfExists && Node(target)) return false;
    if (Key(Resolved(source)) == Key(Resolved(target))) return false;
    const std::string content = from->Content;
    return WriteFile(target, content);
}

bool TMemoryFileSystem::CreateFolder(const std::string& path)
{
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
    if (Node(folder)) return false;
    std::string parent = ExtractFilePath(folder);
    if (parent.size() > 1 && parent.back() == '\\') parent.pop_back();
    if (parent.empty() || !DirectoryExists(parent) || Node(parent)->RefusesNewFiles) return false;
    AddFolder(folder);
    return true;
}

bool TMemoryFileSystem::RemoveFolder(const std::string& path)
{
    TNode* node = Node(path);
    if (!node || !node->IsFolder || node->Locked) return false;
    const std::string key = Key(node->Path);
    for (auto& n : FNodes)
        if (n.first != key && Key(ExtractFilePath(n.second.Path)) == key) return false;
    FNodes.erase(key);
    return true;
}

std::vector<TFindEntry> TMemoryFileSystem::FindEntries(const std::string& pattern)
{
    std::string folder = ExtractFilePath(pattern), mask = ExtractFileName(pattern);
    std::vector<TFindEntry> entries;
    std::string folderKey = Key(Resolved(folder));
    if (!DirectoryExists(folderKey)) return entries;
    if (MatchesFileMask(".", mask)) entries.push_back({".", faDirectory});
    if (MatchesFileMask("..", mask)) entries.push_back({"..", faDirectory});
    for (auto& n : FNodes) {
        const std::string& key = n.first;
        if (Key(ExtractFilePath(n.second.Path)) != folderKey || key == folderKey) continue;
        std::string name = ExtractFileName(n.second.Path);
        const auto alias = FAliases.find(key);
        if (MatchesFileMask(name, mask) ||
            (alias != FAliases.end() && MatchesFileMask(alias->second, mask)))
            entries.push_back({name, n.second.Attributes});
    }
    return entries;
}

bool TMemoryFileSystem::SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    return SameText(a, b);
}

void TMemoryFileSystem::SetAlias(const std::string& path, const std::string& alias)
{
    if (TNode* node = Node(path)) FAliases[Key(node->Path)] = alias;
}

std::string TMemoryFileSystem::Resolved(const std::string& path) const
{
    std::string resolved;
    for (size_t start = 0;;) {
        size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos) end = path.size();
        std::string name = path.substr(start, end - start);
        const std::string parent = Key(resolved);
        for (const auto& alias : FAliases)
            if (SameText(alias.second, name) && Key(ExtractFilePath(alias.first)) == parent &&
                FNodes.count(alias.first))
                name = ExtractFileName(FNodes.at(alias.first).Path);
        resolved += name;
        if (end == path.size()) return resolved;
        resolved += '\\';
        start = end + 1;
    }
}

std::string TMemoryFileSystem::ShortPath(const std::string& path)
{
    const TNode* node = Node(path);
    if (!node) return std::string();
    std::string spelled;
    const std::string& full = node->Path;
    for (size_t start = 0;;) {
        size_t end = full.find('\\', start);
        if (end == std::string::npos) end = full.size();
        const auto alias = FAliases.find(Key(full.substr(0, end)));
        spelled += alias != FAliases.end() ? alias->second : full.substr(start, end - start);
        if (end == full.size()) return spelled;
        spelled += '\\';
        start = end + 1;
    }
}
