#pragma once
#include "platform/FileSystem.h"

namespace torvik::win32 {

class Win32FileSystem : public FileSystem {
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

} // namespace torvik::win32
