#include "inventory/UnitFS.h"

#include "common/FileMask.h"
#include "common/PathUtils.h"
#include "common/ProcessFlags.h"
#include "common/Text.h"

namespace torvik {
namespace {

std::vector<std::wstring> SplitTrimmed(const std::wstring& text) {
    std::vector<std::wstring> pieces;
    size_t start = 0;
    while (true) {
        const size_t sep = text.find(L';', start);
        pieces.push_back(Trim(std::wstring_view(text).substr(
            start, sep == std::wstring::npos ? std::wstring::npos : sep - start)));
        if (sep == std::wstring::npos) {
            break;
        }
        start = sep + 1;
    }
    return pieces;
}

// Brackets in file names are common ("(x86)", "[portable]"): they stand for
// any one character, never for a character set. A mask without "*" matches
// anywhere in the name.
std::vector<std::wstring> CompileMasks(std::vector<std::wstring>& entries) {
    std::vector<std::wstring> masks;
    for (auto& entry : entries) {
        entry = Trim(entry);
        std::wstring mask = entry;
        for (auto& c : mask) {
            if (c == L'[' || c == L']') {
                c = L'?';
            }
        }
        if (mask.find(L'*') == std::wstring::npos) {
            mask = L"*" + mask + L"*";
        }
        masks.push_back(std::move(mask));
    }
    return masks;
}

bool AnyMatch(const std::vector<std::wstring>& masks, const std::wstring& name) {
    for (const auto& mask : masks) {
        if (FileMaskMatch(mask, name)) {
            return true;
        }
    }
    return false;
}

} // namespace

std::wstring TFileType::FullFileName() const {
    return MakeFn(Path, FileName);
}

std::vector<std::wstring> ParseInclusionExclusion(const std::wstring& text) {
    std::vector<std::wstring> pieces = SplitTrimmed(text);
    while (!pieces.empty() && pieces.back().empty()) {
        pieces.pop_back();
    }
    return pieces;
}

TScan::TScan(const FileSystem& fs, FileTimeToDateTimeFn fileTimeToDateTime)
    : fs_(fs), fileTimeToDateTime_(std::move(fileTimeToDateTime)) {}

void TScan::SetInclusions(const std::wstring& includeStr, const std::wstring& excludeStr) {
    includeAr = ParseInclusionExclusion(includeStr);
    excludeAr = ParseInclusionExclusion(excludeStr);
}

void TScan::BuildMasks() {
    includeMasksAr = CompileMasks(includeAr);
    excludeMasksAr = CompileMasks(excludeAr);
}

void TScan::PrepareFolders() {
    dirsAr_include = SplitTrimmed(paths);
    dirsAr_exclude.clear();
    std::vector<std::wstring> lower;
    for (auto& dir : dirsAr_include) {
        dir = ForceTrailingBackslash(dir);
        lower.push_back(LowerCaseAscii(dir));
    }
    // A folder listed again later, or lying inside a later entry, is walked
    // through the later entry only. An empty entry contains no folder, so
    // it must not swallow the entries before it.
    for (size_t i = 0; i < dirsAr_include.size(); ++i) {
        for (size_t j = i + 1; j < dirsAr_include.size(); ++j) {
            if (!lower[j].empty() && StartsWith(lower[i], lower[j])) {
                dirsAr_include[i].clear();
                break;
            }
        }
    }
    for (auto& dir : dirsAr_include) {
        if (StartsWith(dir, L"-")) {
            dirsAr_exclude.push_back(dir.substr(1));
            dir.clear();
        }
    }
}

void TScan::Scan() {
    tempFilesAr = {};
    BuildMasks();
    PrepareFolders();
    rootStatistics = {};
    ScanStopFlag = false;
    for (const auto& dir : dirsAr_include) {
        if (!dir.empty() && fs_.DirectoryExists(dir)) {
            WalkFolder(dir);
        }
    }
}

bool TScan::Accepts(const FindData& entry) const {
    const std::wstring lower = LowerCaseAscii(entry.name);
    if (!includeAr.empty() && !AnyMatch(includeMasksAr, lower)) {
        return false;
    }
    if (!excludeAr.empty() && AnyMatch(excludeMasksAr, lower)) {
        return false;
    }
    const auto size = static_cast<int64_t>(entry.size);
    if ((UnitFsMinSize > 0 && size < UnitFsMinSize) ||
        (UnitFsMaxSize > 0 && size > UnitFsMaxSize)) {
        return false;
    }
    if (UnitFsMinDate > 0.1 || UnitFsMaxDate > 0.1) {
        const double date = fileTimeToDateTime_(entry.lastWriteTime);
        if ((UnitFsMinDate > 0.1 && date < UnitFsMinDate) ||
            (UnitFsMaxDate > 0.1 && date > UnitFsMaxDate)) {
            return false;
        }
    }
    return true;
}

void TScan::WalkFolder(std::wstring dir) {
    dir = ForceTrailingBackslash(dir);
    currentDirectory = dir;
    if (CallBack1) {
        CallBack1(dir);
    }
    if (CallBack2) {
        CallBack2(dir);
    }
    if (ScanStopFlag) {
        return;
    }
    const std::wstring lowerDir = LowerCaseAscii(dir);
    for (const auto& excluded : dirsAr_exclude) {
        if (lowerDir.find(LowerCaseAscii(excluded)) != std::wstring::npos) {
            return;
        }
    }
    std::vector<std::wstring> subfolders;
    for (const auto& entry : fs_.FindFiles(dir, L"*.*")) {
        if (entry.IsDirectory()) {
            // Junctions and symbolic links are never followed: that keeps
            // the walk from looping and from leaving the tree.
            if (entry.IsReparsePoint()) {
                continue;
            }
            ++rootStatistics.DirectoriesCount;
            if (flagRecursive) {
                subfolders.push_back(dir + entry.name);
            }
            continue;
        }
        if (Accepts(entry)) {
            TFileType file;
            file.FileName = entry.name;
            file.Path = dir;
            file.Size = static_cast<int64_t>(entry.size);
            file.DateM = fileTimeToDateTime_(entry.lastWriteTime);
            tempFilesAr.push_back(std::move(file));
            ++rootStatistics.FilesCount;
            rootStatistics.Size += static_cast<int64_t>(entry.size);
        }
        if (ScanStopFlag) {
            break;
        }
    }
    for (const auto& sub : subfolders) {
        WalkFolder(sub);
    }
}

std::vector<TFileType> ScanDirectory(const FileSystem& fs, FileTimeToDateTimeFn fileTimeToDateTime,
                                     const std::wstring& paths, bool recursive,
                                     const std::wstring& includeStr, const std::wstring& excludeStr,
                                     const TCallBack2& callBack2) {
    TScan scan(fs, std::move(fileTimeToDateTime));
    scan.paths = paths;
    scan.flagRecursive = recursive;
    scan.SetInclusions(includeStr, excludeStr);
    scan.CallBack2 = callBack2;
    scan.Scan();
    return std::move(scan.tempFilesAr);
}

} // namespace torvik
