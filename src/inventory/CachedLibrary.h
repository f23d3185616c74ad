#pragma once
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "inventory/ExecutableFacts.h"
#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"

namespace torvik {

// One executable's version and details as read at a given modification time.
struct TCachedLibraryRecord {
    std::wstring FullFnLower;         // the key; empty once the row was invalidated
    std::wstring ModifiedDt;          // "yyyy-mm-dd hh:nn:ss", local
    std::wstring AlreadySentToServer; // "1" once the details were sent
    std::wstring ExeVersion;
    std::wstring OtherDetails; // lines each followed by CR LF
    bool IsExcluded = false;   // not stored
};

// The cached library: per executable, its version and details, kept between
// runs in "updater_cache.db" so that a scan opens only new or changed
// executables. Not locked: one thread at a time (the scan worker while the
// main thread waits for it).
class TCachedLibrary {
public:
    // A file without a byte-order mark (written by older versions) is read
    // in the ansi code page.
    TCachedLibrary(FileSystem& fs, const ExecutableFacts& facts, const AnsiCodePage& ansi);

    // The cache file; set once before loading.
    std::wstring FileName;
    // Set whenever a row is added, invalidated or marked as sent; cleared
    // by a successful save.
    bool CacheModified = false;

    // Replaces the rows by those of the file. A missing file gives none;
    // malformed lines are skipped. CacheModified is left as it is.
    void LoadCachedLibrary();
    // Writes every valid row to the file, replacing it atomically.
    // Throws TorvikError when the file cannot be written (the old file
    // then stays as it was).
    void SaveCachedLibrary();

    // The valid row of fileName (any letter case), or nullptr. A row made at
    // another modification time is invalidated and nullptr returned.
    TCachedLibraryRecord* GetCachedRecordIdx(const std::wstring& fileName);
    // Reads fileName's version and details into a new row and returns it.
    TCachedLibraryRecord& CreateCachedRecord(const std::wstring& fileName);
    // The same, for a caller that already knows the file's last-write time.
    TCachedLibraryRecord* GetCachedRecordIdx(const std::wstring& fileName, double modified);
    TCachedLibraryRecord& CreateCachedRecord(const std::wstring& fileName, double modified);

    const std::vector<std::unique_ptr<TCachedLibraryRecord>>& Rows() const { return rows_; }

private:
    void Append(std::unique_ptr<TCachedLibraryRecord> row);

    FileSystem& fs_;
    const ExecutableFacts& facts_;
    const AnsiCodePage& ansi_;
    std::vector<std::unique_ptr<TCachedLibraryRecord>> rows_;
    // Key -> index of the first row with that key: the linear search of the
    // row list, without its cost per executable.
    std::unordered_map<std::wstring, size_t> index_;
};

// One row as a line of the cache file (without the line break), and back.
std::wstring CacheLine(const TCachedLibraryRecord& row);
// nullptr for a line that does not have exactly five fields.
std::unique_ptr<TCachedLibraryRecord> ParseCacheLine(const std::wstring& line);

} // namespace torvik
