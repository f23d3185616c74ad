#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "common/ProcessFlags.h"
#include "inventory/FileDates.h"
#include "inventory/UnitFS.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locale.h"

namespace torvik::win32 {
namespace {

// fixtures\scan_tree: Menu\a.lnk, Menu\notes.txt, Menu\Tools\b.lnk and
// Menu\Link, a symbolic link to Elsewhere, which holds c.lnk.
TEST(Win32Scanner, WalksInPreOrderAndSkipsSymbolicLinksToFolders) {
    Win32FileSystem fs;
    Win32TimeZone zone;
    const std::wstring menu = wintest::BesideTestExe(L"fixtures\\scan_tree\\Menu");
    // Were the link followed, c.lnk would be found.
    ASSERT_TRUE(fs.FileExists(menu + L"\\Link\\c.lnk"));
    const auto link = fs.FindEntry(menu + L"\\Link");
    ASSERT_TRUE(link.has_value());
    EXPECT_TRUE(link->IsDirectory() && link->IsReparsePoint());

    TScan scan(fs, [&zone](uint64_t ft) { return FileTimeToDateTime(zone, ft); });
    scan.paths = menu;
    scan.flagRecursive = true;
    scan.SetInclusions(L"*.lnk", L"");
    ScanStopFlag = false;
    scan.Scan();
    ASSERT_EQ(scan.tempFilesAr.size(), 2u);
    EXPECT_EQ(scan.tempFilesAr[0].FullFileName(), menu + L"\\a.lnk");
    EXPECT_EQ(scan.tempFilesAr[1].FullFileName(), menu + L"\\Tools\\b.lnk");
    EXPECT_GT(scan.tempFilesAr[0].DateM, 40000);
    EXPECT_EQ(scan.rootStatistics.DirectoriesCount, 1);
}

} // namespace
} // namespace torvik::win32
