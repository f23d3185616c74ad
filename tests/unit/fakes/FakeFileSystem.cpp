#include "fakes/FakeFileSystem.h"

#include "common/PathUtils.h"
#include "common/Text.h"
#include "platform/Wildcard.h"

namespace torvik::testing {

std::wstring FakeFileSystem::Key(const std::wstring& path) {
    return LowerCaseAscii(RemoveTrailingBackslash(path));
}

void FakeFileSystem::AddFile(const std::wstring& path, std::string content) {
    ForceDirectories(ExtractFilePath(path));
    files_[Key(path)] = {path, std::move(content), clock_};
}

void FakeFileSystem::AddFolder(const std::wstring& path) {
    ForceDirectories(path);
}

void FakeFileSystem::AddAlias(const std::wstring& shortPath, const std::wstring& longName) {
    aliases_[Key(shortPath)] = longName;
}

void FakeFileSystem::SetWriteTime(const std::wstring& path, uint64_t fileTime) {
    files_.at(Key(path)).lastWriteTime = fileTime;
}

std::optional<std::string> FakeFileSystem::Content(const std::wstring& path) const {
    const auto it = files_.find(Key(path));
    return it == files_.end() ? std::nullopt : std::optional<std::string>(it->second.content);
}

bool FakeFileSystem::FileExists(const std::wstring& path) const {
    return files_.count(Key(path)) != 0;
}

bool FakeFileSystem::DirectoryExists(const std::wstring& path) const {
    return folders_.count(Key(path)) != 0;
}

bool FakeFileSystem::ForceDirectories(const std::wstring& path) {
    std::wstring p = RemoveTrailingBackslash(path);
    while (!p.empty() && p.back() != L':' && !DirectoryExists(p)) {
        folders_[Key(p)] = p;
        p = RemoveTrailingBackslash(ExtractFilePath(p));
    }
    return true;
}

std::vector<FindData> FakeFileSystem::FindFiles(const std::wstring& folder,
                                                const std::wstring& mask) const {
    std::vector<FindData> out;
    const std::wstring parent = Key(folder);
    auto consider = [&](const std::wstring& path, uint32_t attributes, size_t size) {
        if (Key(ExtractFilePath(path)) == parent && ListingMaskMatch(mask, ExtractFileName(path))) {
            out.push_back({ExtractFileName(path), L"", attributes, size, 0});
        }
    };
    for (const auto& [key, path] : folders_) {
        consider(path, kAttrDirectory, 0);
    }
    for (const auto& [key, entry] : files_) {
        consider(entry.path, 0, entry.content.size());
    }
    return out;
}

std::optional<FindData> FakeFileSystem::FindEntry(const std::wstring& path) const {
    const std::wstring key = Key(path);
    if (const auto a = aliases_.find(key); a != aliases_.end()) {
        return FindData{a->second, ExtractFileName(path), kAttrDirectory, 0, 0};
    }
    if (const auto f = folders_.find(key); f != folders_.end()) {
        return FindData{ExtractFileName(f->second), L"", kAttrDirectory, 0, 0};
    }
    if (const auto f = files_.find(key); f != files_.end()) {
        return FindData{ExtractFileName(f->second.path), L"", 0, f->second.content.size(),
                        f->second.lastWriteTime};
    }
    return std::nullopt;
}

std::optional<std::string> FakeFileSystem::ReadFile(const std::wstring& path) const {
    if (unreadable_) {
        return std::nullopt;
    }
    return Content(path);
}

bool FakeFileSystem::WriteFileAtomic(const std::wstring& path, const std::string& bytes) {
    if (readOnly_) {
        return false;
    }
    AddFile(path, bytes);
    return true;
}

bool FakeFileSystem::AppendToFile(const std::wstring& path, const std::string& bytes) {
    if (readOnly_) {
        return false;
    }
    auto it = files_.find(Key(path));
    if (it == files_.end()) {
        AddFile(path, bytes);
    } else {
        it->second.content += bytes;
    }
    return true;
}

bool FakeFileSystem::CopyOneFile(const std::wstring& from, const std::wstring& to) {
    const auto content = Content(from);
    if (!content) {
        return false;
    }
    if (failingCopies_.count(Key(to)) != 0) {
        // A failed copy may leave a partial destination behind.
        AddFile(to, content->substr(0, content->size() / 2));
        return false;
    }
    AddFile(to, *content);
    return true;
}

bool FakeFileSystem::RemoveFile(const std::wstring& path) {
    return files_.erase(Key(path)) != 0;
}

bool FakeFileSystem::MoveOneFile(const std::wstring& from, const std::wstring& to) {
    const auto it = files_.find(Key(from));
    if (it == files_.end() || readOnly_ || (files_.count(Key(to)) != 0 && Key(to) != Key(from))) {
        return false;
    }
    Entry entry{to, it->second.content, it->second.lastWriteTime};
    files_.erase(it);
    files_[Key(to)] = entry;
    return true;
}

bool FakeFileSystem::ChangeCurrentDirectory(const std::wstring& path) {
    currentDirectory_ = path;
    return true;
}

} // namespace torvik::testing
