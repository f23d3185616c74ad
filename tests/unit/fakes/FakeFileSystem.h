#pragma once
#include <map>
#include <set>

#include "platform/FileSystem.h"

namespace torvik::testing {

// An in-memory file system with Windows paths, letter case ignored. Folders
// exist when added or when a file below them was added.
class FakeFileSystem : public FileSystem {
public:
    void AddFile(const std::wstring& path, std::string content = {});
    void AddFolder(const std::wstring& path);
    // FindEntry(shortPath) answers with longName, as for an 8.3 alias.
    void AddAlias(const std::wstring& shortPath, const std::wstring& longName);
    // Copies to this path fail (a full disk, a locked file).
    void FailCopiesTo(const std::wstring& path) { failingCopies_.insert(Key(path)); }
    // Appends and writes fail everywhere.
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    std::optional<std::string> Content(const std::wstring& path) const;
    // Last-write time (FILETIME ticks) of an existing file, and the time
    // that later writes give their file.
    void SetWriteTime(const std::wstring& path, uint64_t fileTime);
    void SetClock(uint64_t fileTime) { clock_ = fileTime; }
    // Reads fail everywhere (a file held open by another program).
    void SetUnreadable(bool unreadable) { unreadable_ = unreadable; }
    std::wstring CurrentDirectory() const { return currentDirectory_; }

    bool FileExists(const std::wstring& path) const override;
    bool DirectoryExists(const std::wstring& path) const override;
    bool ForceDirectories(const std::wstring& path) override;
    std::vector<FindData> FindFiles(const std::wstring& folder,
                                    const std::wstring& mask) const override;
    std::optional<FindData> FindEntry(const std::wstring& path) const override;
    std::optional<std::string> ReadFile(const std::wstring& path) const override;
    bool WriteFileAtomic(const std::wstring& path, const std::string& bytes) override;
    bool AppendToFile(const std::wstring& path, const std::string& bytes) override;
    bool CopyOneFile(const std::wstring& from, const std::wstring& to) override;
    bool RemoveFile(const std::wstring& path) override;
    bool MoveOneFile(const std::wstring& from, const std::wstring& to) override;
    bool ChangeCurrentDirectory(const std::wstring& path) override;

private:
    struct Entry {
        std::wstring path; // as added, for its name
        std::string content;
        uint64_t lastWriteTime = 0;
    };
    static std::wstring Key(const std::wstring& path);

    std::map<std::wstring, Entry> files_;
    std::map<std::wstring, std::wstring> folders_;
    std::map<std::wstring, std::wstring> aliases_;
    std::set<std::wstring> failingCopies_;
    std::wstring currentDirectory_;
    bool readOnly_ = false;
    bool unreadable_ = false;
    uint64_t clock_ = 0;
};

} // namespace torvik::testing
