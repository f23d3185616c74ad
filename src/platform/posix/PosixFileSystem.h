#pragma once
#include "platform/FileSystem.h"

namespace torvik {

// FileSystem on a POSIX file system, for native builds and tests. Backslashes
// in paths are read as "/"; symbolic links report kAttrReparsePoint, as
// junctions and symbolic links do on Windows.
class PosixFileSystem : public FileSystem {
public:
    bool FileExists(const std::wstring& path) const override;
    bool DirectoryExists(const std::wstring& path) const override;
    bool ForceDirectories(const std::wstring& path) override;
    std::vector<FindData> FindFiles(const std::wstring& folder,
                                    const std::wstring& mask) const override;
    std::optional<FindData> FindEntry(const std::wstring& path) const override;
    std::optional<std::string> ReadFile(const std::wstring& path) const override;
    std::optional<std::string> ReadFileRange(const std::wstring& path, uint64_t offset,
                                             size_t count) const override;
    bool WriteFileAtomic(const std::wstring& path, const std::string& bytes) override;
    bool AppendToFile(const std::wstring& path, const std::string& bytes) override;
    bool CopyOneFile(const std::wstring& from, const std::wstring& to) override;
    bool RemoveFile(const std::wstring& path) override;
    bool MoveOneFile(const std::wstring& from, const std::wstring& to) override;
    bool ChangeCurrentDirectory(const std::wstring& path) override;
};

// The native path for a Windows-style path: UTF-8, "/" for "\".
std::string NativePath(const std::wstring& path);

} // namespace torvik
