#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "WinTestSupport.h"
#include "common/DateText.h"
#include "common/PathUtils.h"
#include "common/ProcessFlags.h"
#include "common/Text.h"
#include "common/Utf8.h"
#include "inventory/AppFolders.h"
#include "inventory/FileDates.h"
#include "inventory/ScanPipeline.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locale.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32VersionInfo.h"

namespace torvik::win32 {
namespace {

// Counts the executables whose version resource a scan opens.
// Counts the loads of each file's version resource: a scan reads an
// executable's resource once, and only when the cache has no valid row.
class CountingVersionInfo : public Win32VersionInfo {
public:
    mutable std::map<std::wstring, int> loads;
    std::unique_ptr<VersionResource> Load(const std::wstring& fileName) const override {
        ++loads[LowerCaseAscii(fileName)];
        return Win32VersionInfo::Load(fileName);
    }
};

bool IsDriver(const std::wstring& lowerPath) {
    return EndsWith(lowerPath, L".sys");
}

class NoView : public ProgramListViewRefill {
public:
    void BeginUpdate() override {}
    void ClearItems() override {}
    void RefillProgramList() override {}
    void EndUpdate() override {}
};

class Hooks : public ScanHooks {
public:
    std::vector<std::wstring> errors;
    NoView view;
    void WaitLoopTurn() override {}
    void PopupMsg(const std::wstring&) override {}
    std::vector<std::wstring> ExclusionLines() override { return {L"zip"}; }
    ProgramListViewRefill& ProgramListView() override { return view; }
    void ReportWorkerError(const std::wstring& message) override { errors.push_back(message); }
    void ApplyLastReplyToTempList() override {}
};

// Shortcuts in the prefix's own Start Menu, common Start Menu, Quick Launch
// and desktop, pointing at fixture executables copied to a temporary folder.
// Everything is removed again at the end.
class ScanProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppClosing = CancelRequested = BuildingForCheck = false;
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, temp);
        work = std::wstring(temp) + tag;
        apps = work + L"\\Apps\\";
        Copy(L"scanfix_app.exe", L"App\\scanfix_app.exe");
        Copy(L"scanfix_tool.exe", L"Tool\\scanfix_tool.exe");
        Copy(L"fx_no_version.exe", L"Plain\\fx_no_version.exe");
        Copy(L"scanfix_tool.exe", L"Unzipper\\archiver.exe");
        Copy(L"scanfix_driver.sys", L"Vendor\\Drivers\\scanfix_driver.sys");

        const std::wstring menu = folders.StartMenuFolder() + L"\\Programs\\" + tag;
        const std::wstring common = folders.CommonStartMenuFolder() + L"\\Programs\\" + tag;
        const std::wstring quick = folders.QuickLaunchFolder() + L"\\" + tag;
        const std::wstring desktop = folders.DesktopFolder() + L"\\";
        created = {menu, common, quick, desktop + tag};
        Link(menu + L"\\Fixture App.lnk", L"App\\scanfix_app.exe");
        Link(menu + L"\\Uninstall Fixture App.lnk", L"App\\scanfix_app.exe");
        Link(menu + L"\\Fixture App (Safe).lnk", L"App\\scanfix_app.exe", L"-safe-mode");
        Link(common + L"\\Fixture Tool.lnk", L"Tool\\scanfix_tool.exe");
        Link(common + L"\\Gone.lnk", L"Gone\\gone.exe");
        Link(common + L"\\Folder.lnk", L"App");
        fs.WriteFileAtomic(common + L"\\Corrupt.lnk", std::string("L\0\0\0garbage", 11));
        Link(quick + L"\\Plain - Shortcut.lnk", L"Plain\\fx_no_version.exe");
        Link(quick + L"\\Sound.lnk", L"Vendor\\Drivers\\scanfix_driver.sys");
        Link(desktop + tag + L" Archiver.lnk", L"Unzipper\\archiver.exe");
        Link(desktop + L"Shortcut to " + tag + L" App.lnk", L"App\\scanfix_app.exe");
        // Only shortcuts lying on the desktop itself count.
        Link(desktop + tag + L"\\Hidden.lnk", L"Tool\\scanfix_tool.exe");
        created.push_back(desktop + tag + L" Archiver.lnk");
        created.push_back(desktop + L"Shortcut to " + tag + L" App.lnk");

        cache.FileName = work + L"\\updater_cache.db";
        pipeline.Folders = ShortcutFoldersOf(folders);
    }
    void TearDown() override {
        AppClosing = false;
        for (const auto& path : created) {
            std::filesystem::remove_all(path);
        }
        std::filesystem::remove_all(work);
    }
    void Copy(const std::wstring& fixture, const std::wstring& to) {
        fs.ForceDirectories(ExtractFilePath(apps + to));
        ASSERT_TRUE(fs.CopyOneFile(wintest::BesideTestExe(L"fixtures\\" + fixture), apps + to));
    }
    void Link(const std::wstring& link, const std::wstring& target,
              const std::wstring& arguments = L"") {
        fs.ForceDirectories(ExtractFilePath(link));
        ASSERT_TRUE(links.Create(link, {apps + target, arguments, L""})) << StringToUtf8(link);
    }
    // The published records of this profile, by name.
    std::map<std::wstring, const TProgramRecord*> Records() const {
        std::map<std::wstring, const TProgramRecord*> out;
        for (const auto& r : lists.ProgramList) {
            if (StartsWith(LowerCaseAscii(r->TargetExePath), LowerCaseAscii(apps))) {
                out[r->ProgramName] = r.get();
            }
        }
        return out;
    }
    void SaveAtClose() {
        pipeline.SaveCacheAtClose();
        AppClosing = false;
    }

    const std::wstring tag = L"Torvik Scan Test " + std::to_wstring(::GetCurrentProcessId());
    std::wstring work, apps;
    std::vector<std::wstring> created;
    Win32FileSystem fs;
    Win32ShellFolders shell;
    Win32Processes processes;
    Win32Dialogs dialogs;
    const CommandLine args;
    const AppFolders folders{{fs, shell, processes, dialogs, args}};
    Win32ShellLinks links;
    CountingVersionInfo versions;
    Win32TimeZone zone;
    PlatformExecutableFacts facts{fs, versions, zone};
    ProgramLists lists;
    win32::Win32AnsiCodePage ansi;
    TCachedLibrary cache{fs, facts, ansi};
    Hooks hooks;
    ScanPipeline pipeline{ScanServices{fs, links, facts,
                                       [this](uint64_t ft) { return FileTimeToDateTime(zone, ft); },
                                       WindowsDirectory()},
                          lists, cache, hooks};
};

TEST_F(ScanProfileTest, RescanTurnsTheProfileIntoRecords) {
    ASSERT_TRUE(pipeline.RescanPrograms());
    EXPECT_TRUE(hooks.errors.empty());
    const auto records = Records();
    std::vector<std::wstring> names;
    for (const auto& [name, record] : records) {
        names.push_back(name);
    }
    std::vector<std::wstring> wanted{
        tag + L" App",  tag + L" Archiver", L"Driver: Fixture Sound Driver",
        L"Fixture App", L"Fixture Tool",    L"Gone",
        L"Plain"};
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(names, wanted);
    struct Expected {
        std::wstring name, file, version, versionX;
        int status;
    };
    const Expected expected[] = {
        {L"Fixture App", L"scanfix_app.exe", L"1.2.3 build:4", L"00001.00002.00003.00004", 0},
        {tag + L" App", L"scanfix_app.exe", L"1.2.3 build:4", L"00001.00002.00003.00004", 0},
        {L"Fixture Tool", L"scanfix_tool.exe", L"10.0.2 build:100", L"00010.00000.00002.00100", 0},
        {L"Plain", L"fx_no_version.exe", L"--", L"00000.00000.00000.00000", 0},
        {L"Driver: Fixture Sound Driver", L"scanfix_driver.sys", L"6.1.7601 build:17514",
         L"00006.00001.07601.17514", 0},
        {tag + L" Archiver", L"archiver.exe", L"10.0.2 build:100", L"00010.00000.00002.00100", -1},
    };
    for (const auto& e : expected) {
        ASSERT_TRUE(records.count(e.name)) << StringToUtf8(e.name);
        const TProgramRecord& r = *records.at(e.name);
        EXPECT_TRUE(SameTextAscii(r.TargetExeFilename, e.file)) << StringToUtf8(e.name);
        EXPECT_EQ(r.TargetExeVersion, e.version) << StringToUtf8(e.name);
        EXPECT_EQ(r.TargetExeVersionX, e.versionX) << StringToUtf8(e.name);
        EXPECT_EQ(r.Status, e.status) << StringToUtf8(e.name);
        const std::wstring exe = r.TargetExePath + r.TargetExeFilename;
        EXPECT_EQ(r.TargetExeSize, static_cast<int64_t>(std::filesystem::file_size(exe)));
        EXPECT_GT(r.TargetExeDateM, 40000);
        EXPECT_TRUE(r.FlagSendDetailsToServer);
    }
    EXPECT_EQ(records.at(L"Fixture App")->TargetExeDetails,
              L"[CompanyName]\r\nTorvik Fixtures\r\n[FileDescription]\r\nScan fixture app\r\n"
              L"[FileVersion]\r\n1.2.3.4\r\n");
    EXPECT_EQ(records.at(L"Plain")->TargetExeDetails, L"");
    EXPECT_EQ(records.at(L"Gone")->Status, -2);
    // Each executable's resource was loaded once, the missing one's never;
    // a driver's once more, for the description that names it.
    for (const auto& [exe, reads] : versions.loads) {
        EXPECT_EQ(reads, IsDriver(exe) ? 2 : 1) << StringToUtf8(exe);
    }
    EXPECT_EQ(versions.loads.size(), 5u);
}

TEST_F(ScanProfileTest, CacheSparesUnchangedExecutablesAndIsWrittenOnlyWhenModified) {
    ASSERT_TRUE(pipeline.RescanPrograms());
    SaveAtClose();
    ASSERT_TRUE(fs.FileExists(cache.FileName));

    // A new run of the program: the cache comes from the file.
    ProgramLists nextLists;
    TCachedLibrary nextCache(fs, facts, ansi);
    nextCache.FileName = cache.FileName;
    nextCache.LoadCachedLibrary();
    ScanPipeline next{ScanServices{fs, links, facts,
                                   [this](uint64_t ft) { return FileTimeToDateTime(zone, ft); },
                                   WindowsDirectory()},
                      nextLists, nextCache, hooks};
    next.Folders = pipeline.Folders;
    versions.loads.clear();
    ASSERT_TRUE(next.RescanPrograms());
    // Only the drivers' descriptions, which naming them needs on every scan.
    for (const auto& [exe, reads] : versions.loads) {
        EXPECT_TRUE(IsDriver(exe)) << StringToUtf8(exe);
        EXPECT_EQ(reads, 1);
    }
    ASSERT_TRUE(fs.RemoveFile(cache.FileName));
    next.SaveCacheAtClose();
    AppClosing = false;
    EXPECT_FALSE(fs.FileExists(cache.FileName)) << "nothing changed: no rewrite";

    // Touch the application: one hour later.
    const std::wstring app = apps + L"App\\scanfix_app.exe";
    {
        HANDLE h = ::CreateFileW(app.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        FILETIME ft{};
        ::GetFileTime(h, nullptr, nullptr, &ft);
        ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
        t.QuadPart += 36000000000ULL;
        ft = {t.LowPart, t.HighPart};
        ASSERT_TRUE(::SetFileTime(h, nullptr, nullptr, &ft));
        ::CloseHandle(h);
    }
    versions.loads.clear();
    ASSERT_TRUE(next.RescanPrograms());
    EXPECT_EQ(versions.loads[LowerCaseAscii(app)], 1);
    for (const auto& [exe, reads] : versions.loads) {
        EXPECT_TRUE(exe == LowerCaseAscii(app) || IsDriver(exe)) << StringToUtf8(exe);
    }
    next.SaveCacheAtClose();
    AppClosing = false;
    const auto text = fs.ReadFile(cache.FileName);
    ASSERT_TRUE(text.has_value());
    const std::string line = StringToUtf8(LowerCaseAscii(app)) + "||" +
                             StringToUtf8(DateTimeToStrX_noms(facts.FileDateTime(app)));
    EXPECT_NE(text->find(line), std::string::npos);
    EXPECT_EQ(text->rfind("\xEF\xBB\xBF", 0), 0u);
}

TEST_F(ScanProfileTest, AGarbledCacheFileKeepsItsValidRowsThroughAScan) {
    const std::string kept = "c:\\elsewhere\\kept.exe|1|2013-05-01 14:03:09|9.9.9 build:9|"
                             "[CompanyName]<br>Kept<br>\r\n";
    ASSERT_TRUE(fs.WriteFileAtomic(
        cache.FileName, "\xEF\xBB\xBF" + kept + std::string("\x01garbage|||\r\n\0\xff\xfe", 16) +
                            "\r\nc:\\cut.exe|1|2013-0"));
    cache.LoadCachedLibrary();
    ASSERT_EQ(cache.Rows().size(), 1u);
    ASSERT_TRUE(pipeline.RescanPrograms());
    SaveAtClose();
    const auto text = fs.ReadFile(cache.FileName);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->find("\xEF\xBB\xBF" + kept), 0u);
    EXPECT_NE(text->find("scanfix_tool.exe||"), std::string::npos);
    EXPECT_EQ(text->find("garbage"), std::string::npos);
    EXPECT_EQ(text->find("cut.exe"), std::string::npos);
}

} // namespace
} // namespace torvik::win32
