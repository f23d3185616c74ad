#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "TempDir.h"
#include "common/ProcessFlags.h"
#include "inventory/UnitFS.h"
#include "platform/posix/PosixFileSystem.h"

namespace torvik {
namespace {

using ::testing::ElementsAre;
using testing::TempDir;
using ::testing::UnorderedElementsAre;
using ::testing::UnorderedElementsAreArray;

// FILETIME ticks to days since 1899-12-30, read as UTC.
double UtcFileTimeToDate(uint64_t ft) {
    return static_cast<double>(ft) / 864000000000.0 - 109205.0;
}

std::vector<std::wstring> Names(const std::vector<TFileType>& files) {
    std::vector<std::wstring> names;
    for (const auto& f : files) {
        names.push_back(f.FileName);
    }
    return names;
}

// Names relative to root, with "/" between folders, to compare walks.
std::vector<std::wstring> RelativeNames(const std::vector<TFileType>& files,
                                        const std::wstring& root) {
    std::vector<std::wstring> names;
    for (const auto& f : files) {
        std::wstring rel = f.FullFileName().substr(root.size());
        std::replace(rel.begin(), rel.end(), L'\\', L'/');
        names.push_back(rel);
    }
    return names;
}

class ScannerTest : public ::testing::Test {
protected:
    void SetUp() override { ScanStopFlag = false; }
    std::vector<TFileType> Scan(const std::wstring& paths, bool recursive,
                                const std::wstring& include, const std::wstring& exclude = L"") {
        return ScanDirectory(fs, UtcFileTimeToDate, paths, recursive, include, exclude);
    }
    TempDir dir;
    PosixFileSystem fs;
};

TEST(ParseInclusionExclusion, SplitsTrimsAndDropsTrailingEmptyPieces) {
    struct Case {
        std::wstring text;
        std::vector<std::wstring> pieces;
    };
    const Case cases[] = {
        {L"", {}},
        {L"*.exe; *.dll", {L"*.exe", L"*.dll"}},
        {L"a;;b", {L"a", L"", L"b"}},
        {L"a; b ;; ", {L"a", L"b"}},
        {L" ; ", {}},
        {L";a", {L"", L"a"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseInclusionExclusion(c.text), c.pieces) << c.text;
    }
}

TEST_F(ScannerTest, MasksMatchWholeNamesBareWordsAnywhereAndBracketsAsAnyCharacter) {
    for (const char* name : {"MySetupTool.exe", "other.exe", "(x).lnk", "[x].lnk", "y.lnk",
                             "notes.txt", "LINK.LNK", "README"}) {
        dir.Write(name);
    }
    struct Case {
        std::wstring include, exclude;
        std::vector<std::wstring> names;
    };
    const Case cases[] = {
        {L"setup", L"", {L"MySetupTool.exe"}},
        {L"[x]", L"*.exe;*.txt", {L"(x).lnk", L"[x].lnk"}},
        {L"*.lnk", L"", {L"(x).lnk", L"[x].lnk", L"y.lnk", L"LINK.LNK"}},
        {L"*.exe; *.txt", L"tool", {L"other.exe", L"notes.txt"}},
        {L"*.ln", L"", {}}, // a mask must cover the whole name
        // "*.*" needs a dot: no legacy rule of the platform's listing.
        {L"*.*", L"*.lnk;*.exe", {L"notes.txt"}},
        {L"readme.", L"", {}},
        {L"R?ADM?", L"", {L"README"}},
        // An empty piece between separators matches every name.
        {L"*.exe;;*.dll", L"*.lnk", {L"MySetupTool.exe", L"other.exe", L"notes.txt", L"README"}},
        {L"", L"*.lnk;*.exe", {L"notes.txt", L"README"}},
    };
    for (const auto& c : cases) {
        EXPECT_THAT(Names(Scan(dir.Path(), false, c.include, c.exclude)),
                    UnorderedElementsAreArray(c.names))
            << "include " << c.include.size() << " exclude " << c.exclude.size();
    }
}

TEST_F(ScannerTest, RecursiveStartMenuScanListsShortcutsInPreOrderAndNoFolders) {
    dir.Write("a.lnk");
    dir.Write("readme.txt");
    dir.Write("Tools/b.lnk");
    dir.Write("Tools/Deep/c.lnk");
    dir.Write("Games/d.lnk");
    dir.MakeDir("Empty.lnk"); // a folder whose name matches the mask
    TScan scan(fs, UtcFileTimeToDate);
    scan.paths = dir.Path();
    scan.flagRecursive = true;
    scan.SetInclusions(L"*.lnk", L"");
    std::vector<std::wstring> visited;
    scan.CallBack1 = [&](const std::wstring& d) { visited.push_back(d); };
    scan.Scan();
    const auto names = RelativeNames(scan.tempFilesAr, dir.Path());
    EXPECT_THAT(
        names, UnorderedElementsAre(L"a.lnk", L"Tools/b.lnk", L"Tools/Deep/c.lnk", L"Games/d.lnk"));
    // Pre-order: a folder's own files, then each subfolder's tree in turn.
    EXPECT_EQ(names.front(), L"a.lnk");
    const auto b = std::find(names.begin(), names.end(), L"Tools/b.lnk");
    EXPECT_EQ(*(b + 1), L"Tools/Deep/c.lnk");
    EXPECT_EQ(scan.rootStatistics.FilesCount, 4);
    EXPECT_EQ(scan.rootStatistics.DirectoriesCount, 4);
    EXPECT_EQ(scan.rootStatistics.Size, 4);
    EXPECT_EQ(visited.size(), 5u);
    EXPECT_EQ(visited.front(), dir.Path());
    for (const auto& f : scan.tempFilesAr) {
        EXPECT_EQ(f.Path.back(), L'\\');
        EXPECT_TRUE(f.CheckSumK.empty());
        EXPECT_EQ(f.PointerX, 0);
    }
}

TEST_F(ScannerTest, NonRecursiveScanReturnsDirectFilesButCountsSubfolders) {
    dir.Write("a.lnk");
    dir.Write("One/b.lnk");
    dir.Write("Two/c.lnk");
    TScan scan(fs, UtcFileTimeToDate);
    scan.paths = dir.Path();
    scan.SetInclusions(L"*.lnk", L"");
    scan.Scan();
    EXPECT_THAT(Names(scan.tempFilesAr), ElementsAre(L"a.lnk"));
    EXPECT_EQ(scan.rootStatistics.DirectoriesCount, 2);
    EXPECT_EQ(scan.rootStatistics.FilesCount, 1);
}

TEST_F(ScannerTest, MinusEntriesLeaveOutEveryFolderWhosePathContainsThem) {
    dir.Write("Data/a.txt");
    dir.Write("Data/Temp/b.txt");
    dir.Write("Data/Temp/Below/c.txt");
    dir.Write("Data/Keep/d.txt");
    dir.Write("Data/Keep/temp/e.txt");
    dir.Write("Data/Keep/Temporary/f.txt");
    const std::wstring data = dir.Path("Data/");
    EXPECT_THAT(
        RelativeNames(Scan(data + L";-" + data + L"Temp\\", true, L""), data),
        UnorderedElementsAre(L"a.txt", L"Keep/d.txt", L"Keep/temp/e.txt", L"Keep/Temporary/f.txt"));
    // A bare folder name leaves out that name at any depth, in any case.
    EXPECT_THAT(RelativeNames(Scan(data + L"; -Temp", true, L""), data),
                UnorderedElementsAre(L"a.txt", L"Keep/d.txt", L"Keep/Temporary/f.txt"));
}

TEST_F(ScannerTest, NestedAndRepeatedPathsAreWalkedOnceThroughTheLaterEntry) {
    dir.Write("Data/a.txt");
    dir.Write("Data/Sub/b.txt");
    const std::wstring data = dir.Path("Data/");
    const std::wstring sub = dir.Path("Data/Sub/");
    struct Case {
        std::wstring paths;
        bool recursive;
        std::vector<std::wstring> files;
    };
    const Case cases[] = {
        {sub + L";" + data, true, {L"a.txt", L"Sub/b.txt"}},
        {data + L";" + sub, true, {L"a.txt", L"Sub/b.txt", L"Sub/b.txt"}},
        {data + L";" + data, true, {L"a.txt", L"Sub/b.txt"}},
        // Upper-case and without backslash: still the same folder.
        {data + L";" + data.substr(0, data.size() - 1), false, {L"a.txt"}},
        // Inside a later entry: left out even when the walk is flat.
        {sub + L";" + data, false, {L"a.txt"}},
        // Empty pieces and missing folders are skipped and hide nothing.
        {data + L";;" + dir.Path("Missing/") + L";", true, {L"a.txt", L"Sub/b.txt"}},
    };
    for (const auto& c : cases) {
        EXPECT_THAT(RelativeNames(Scan(c.paths, c.recursive, L""), data),
                    UnorderedElementsAreArray(c.files));
    }
}

TEST_F(ScannerTest, SymbolicLinksToFoldersAreNeitherEnteredNorCounted) {
    dir.Write("Menu/a.lnk");
    dir.Write("Elsewhere/b.lnk");
    dir.MakeDir("Menu/Real");
    std::filesystem::create_directory_symlink(dir.Native("Elsewhere"), dir.Native("Menu/Link"));
    // A link back to the top would loop forever if it were followed.
    std::filesystem::create_directory_symlink(dir.Native("Menu"), dir.Native("Menu/Real/Loop"));
    TScan scan(fs, UtcFileTimeToDate);
    scan.paths = dir.Path("Menu/");
    scan.flagRecursive = true;
    scan.SetInclusions(L"*.lnk", L"");
    scan.Scan();
    EXPECT_THAT(Names(scan.tempFilesAr), ElementsAre(L"a.lnk"));
    EXPECT_EQ(scan.rootStatistics.DirectoriesCount, 1);
}

TEST_F(ScannerTest, SizeAndDateLimitsBoundTheResult) {
    dir.Write("small.bin", std::string(10, 'x'));
    dir.Write("medium.bin", std::string(100, 'x'));
    dir.Write("large.bin", std::string(1000, 'x'));
    const auto setTime = [&](const char* name, int year) {
        // Mid-year noon UTC as a Unix time.
        const auto seconds = static_cast<int64_t>((year - 1970) * 365.2425 * 86400) + 180 * 86400;
        std::filesystem::last_write_time(
            dir.Native(name), std::filesystem::file_time_type::clock::from_sys(
                                  std::chrono::sys_seconds(std::chrono::seconds(seconds))));
    };
    setTime("small.bin", 2001);
    setTime("medium.bin", 2010);
    setTime("large.bin", 2020);
    const double y2005 = 38353; // 2005-01-01
    const double y2015 = 42005; // 2015-01-01
    struct Case {
        int64_t minSize, maxSize;
        double minDate, maxDate;
        std::vector<std::wstring> names;
    };
    const Case cases[] = {
        {0, 0, 0, 0, {L"small.bin", L"medium.bin", L"large.bin"}},
        {100, 0, 0, 0, {L"medium.bin", L"large.bin"}},
        {0, 100, 0, 0, {L"small.bin", L"medium.bin"}},
        {-5, -5, 0.1, 0.05, {L"small.bin", L"medium.bin", L"large.bin"}},
        {0, 0, y2005, 0, {L"medium.bin", L"large.bin"}},
        {0, 0, 0, y2015, {L"small.bin", L"medium.bin"}},
        {11, 999, y2005, y2015, {L"medium.bin"}},
    };
    for (const auto& c : cases) {
        TScan scan(fs, UtcFileTimeToDate);
        scan.paths = dir.Path();
        scan.UnitFsMinSize = c.minSize;
        scan.UnitFsMaxSize = c.maxSize;
        scan.UnitFsMinDate = c.minDate;
        scan.UnitFsMaxDate = c.maxDate;
        scan.Scan();
        EXPECT_THAT(Names(scan.tempFilesAr), UnorderedElementsAreArray(c.names))
            << c.minSize << " " << c.maxSize << " " << c.minDate << " " << c.maxDate;
        int64_t total = 0;
        for (const auto& f : scan.tempFilesAr) {
            total += f.Size;
            EXPECT_GT(f.DateM, 36000);
        }
        EXPECT_EQ(scan.rootStatistics.Size, total);
    }
}

TEST_F(ScannerTest, StopFlagEndsTheWalkAndIsClearedByTheNextScan) {
    dir.Write("Top/a.lnk");
    dir.Write("Top/Sub1/b.lnk");
    dir.Write("Top/Sub2/c.lnk");
    TScan scan(fs, UtcFileTimeToDate);
    scan.paths = dir.Path("Top/");
    scan.flagRecursive = true;
    int folders = 0;
    scan.CallBack2 = [&](const std::wstring&) {
        if (++folders == 2) {
            ScanStopFlag = true;
        }
    };
    scan.Scan();
    EXPECT_THAT(Names(scan.tempFilesAr), ElementsAre(L"a.lnk"));
    EXPECT_EQ(folders, 3); // the last subfolder is announced, then left at once
    scan.CallBack2 = nullptr;
    scan.Scan();
    EXPECT_EQ(scan.tempFilesAr.size(), 3u);
}

// A file system on which some folders cannot be listed (no access).
class LockedFolders : public PosixFileSystem {
public:
    std::wstring locked;
    std::vector<FindData> FindFiles(const std::wstring& folder,
                                    const std::wstring& mask) const override {
        if (folder == locked) {
            return {};
        }
        return PosixFileSystem::FindFiles(folder, mask);
    }
};

TEST_F(ScannerTest, AFolderThatCannotBeListedIsSkipped) {
    dir.Write("Menu/a.lnk");
    dir.Write("Menu/Locked/b.lnk");
    dir.Write("Menu/Open/c.lnk");
    LockedFolders locked;
    locked.locked = dir.Path("Menu/Locked/");
    EXPECT_THAT(
        Names(ScanDirectory(locked, UtcFileTimeToDate, dir.Path("Menu/"), true, L"*.lnk", L"")),
        UnorderedElementsAre(L"a.lnk", L"c.lnk"));
}

} // namespace
} // namespace torvik
