#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace torvik {

// One file found by a scan.
struct TFileType {
    std::wstring FileName; // as the file system reports it, without folder
    std::wstring Path;     // folder, ending in a backslash
    int64_t Size = 0;
    double DateM = 0;      // last-write time, local; 0 when out of range
    std::string CheckSumK; // for a caller's checksum; the scanner leaves it empty
    int32_t PointerX = 0;  // for a caller's use; the scanner leaves it 0

    std::wstring FullFileName() const;
};

struct TRootStatistics {
    int32_t FilesCount = 0;       // files added to the result
    int32_t DirectoriesCount = 0; // subfolders met, walked or not
    int64_t Size = 0;             // sum of the sizes of the files added
};

using TCallBack1 = std::function<void(const std::wstring& dir)>;
using TCallBack2 = std::function<void(const std::wstring& dir)>;
// Converts a FILETIME (UTC ticks) to a local date; 0 when out of range.
using FileTimeToDateTimeFn = std::function<double(uint64_t fileTime)>;

// Splits text at ";" into trimmed pieces, keeping empty pieces between
// separators and dropping the empty pieces at the end.
std::vector<std::wstring> ParseInclusionExclusion(const std::wstring& text);

// Walks folder trees and collects the files matching the inclusion masks and
// none of the exclusion masks, within the size and date limits. Reparse
// points (junctions, symbolic links) are never entered. The walk stops when
// ScanStopFlag is set. One thread at a time.
class TScan {
public:
    TScan(const FileSystem& fs, FileTimeToDateTimeFn fileTimeToDateTime);

    void SetInclusions(const std::wstring& includeStr, const std::wstring& excludeStr);
    // Runs a scan with the current settings; the result is left in
    // tempFilesAr (a fresh list each time; move it out to keep it).
    void Scan();

    std::vector<std::wstring> includeAr;
    std::vector<std::wstring> excludeAr;
    std::vector<std::wstring> includeMasksAr; // compiled from includeAr by Scan
    std::vector<std::wstring> excludeMasksAr;
    std::vector<std::wstring> dirsAr_include; // prepared from paths by Scan
    std::vector<std::wstring> dirsAr_exclude;
    std::wstring paths; // ";"-separated; "-" in front leaves a folder out
    bool flagRecursive = false;
    int64_t UnitFsMinSize = 0; // 0 or less: no limit
    int64_t UnitFsMaxSize = 0;
    double UnitFsMinDate = 0; // 0.1 or less: no limit
    double UnitFsMaxDate = 0;
    std::wstring currentDirectory;
    TRootStatistics rootStatistics;
    TCallBack1 CallBack1;
    TCallBack2 CallBack2;
    std::vector<TFileType> tempFilesAr;

private:
    void BuildMasks();
    void PrepareFolders();
    void WalkFolder(std::wstring dir);
    bool Accepts(const FindData& entry) const;

    const FileSystem& fs_;
    FileTimeToDateTimeFn fileTimeToDateTime_;
};

// Scans paths with the given settings (no size or date limits) and returns
// the files found.
std::vector<TFileType> ScanDirectory(const FileSystem& fs, FileTimeToDateTimeFn fileTimeToDateTime,
                                     const std::wstring& paths, bool recursive,
                                     const std::wstring& includeStr, const std::wstring& excludeStr,
                                     const TCallBack2& callBack2 = {});

} // namespace torvik
