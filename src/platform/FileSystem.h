#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace torvik {

// File attribute bits, with their Windows values.
constexpr uint32_t kAttrReadOnly = 0x1;
constexpr uint32_t kAttrHidden = 0x2;
constexpr uint32_t kAttrSystem = 0x4;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrReparsePoint = 0x400;

// One entry of a folder listing, as FindFirstFileW reports it.
struct FindData {
    std::wstring name;
    std::wstring shortName; // 8.3 alias; empty where the file system has none
    uint32_t attributes = 0;
    uint64_t size = 0;
    uint64_t lastWriteTime = 0; // FILETIME: 100 ns ticks since 1601-01-01 UTC
    bool IsDirectory() const { return (attributes & kAttrDirectory) != 0; }
    bool IsReparsePoint() const { return (attributes & kAttrReparsePoint) != 0; }
};

// The file operations the program needs. Paths are Windows paths; the native
// implementation reads backslashes as folder separators. No operation throws:
// failures are reported in the return value.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool FileExists(const std::wstring& path) const = 0;
    virtual bool DirectoryExists(const std::wstring& path) const = 0;
    // Creates the folder with every missing parent; true when it exists after.
    virtual bool ForceDirectories(const std::wstring& path) = 0;

    // The entries of folder matching the wildcard mask ("*" and "?"), in the
    // order the file system gives them, without "." and "..".
    virtual std::vector<FindData> FindFiles(const std::wstring& folder,
                                            const std::wstring& mask) const = 0;
    // The entry for exactly this path (FindFirstFileW on the path itself).
    virtual std::optional<FindData> FindEntry(const std::wstring& path) const = 0;

    virtual std::optional<std::string> ReadFile(const std::wstring& path) const = 0;
    // Up to count bytes from offset: fewer at the end of the file, none past
    // it; nullopt when the file cannot be opened and read. The default reads
    // the whole file; the real file systems read only the range.
    virtual std::optional<std::string> ReadFileRange(const std::wstring& path, uint64_t offset,
                                                     size_t count) const {
        auto bytes = ReadFile(path);
        if (bytes && offset < bytes->size()) {
            return bytes->substr(static_cast<size_t>(offset), count);
        }
        if (bytes) {
            bytes->clear();
        }
        return bytes;
    }
    // Replaces the file atomically: a temporary file beside it, then a rename.
    virtual bool WriteFileAtomic(const std::wstring& path, const std::string& bytes) = 0;
    virtual bool AppendToFile(const std::wstring& path, const std::string& bytes) = 0;
    virtual bool CopyOneFile(const std::wstring& from, const std::wstring& to) = 0;
    virtual bool RemoveFile(const std::wstring& path) = 0;
    // Renames a file; fails when the target exists.
    virtual bool MoveOneFile(const std::wstring& from, const std::wstring& to) = 0;
    virtual bool ChangeCurrentDirectory(const std::wstring& path) = 0;
};

} // namespace torvik
