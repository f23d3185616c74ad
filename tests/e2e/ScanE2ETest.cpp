#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "UpdaterProcess.h"
#include "app/MainWindowIds.h"

namespace torvik::e2e {
namespace {

HWND ChildOfClass(HWND parent, const wchar_t* cls) {
    return ::FindWindowExW(parent, nullptr, cls, nullptr);
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The program scans the real Start Menu of the profile, lists what it found
// (never a program whose executable is gone) and keeps the executables'
// details in its cache when it closes.
TEST(ScanE2E, StartMenuShortcutsAreListedAndCached) {
    ASSERT_TRUE(UpdaterWindows().empty());
    ::CoInitialize(nullptr);
    const std::wstring exe = UpdaterExe();
    const std::wstring fixtures = FixturesFolder();
    ASSERT_FALSE(fixtures.empty());
    const std::wstring menu = StartMenuPrograms() + L"\\Torvik E2E";
    ::CreateDirectoryW(menu.c_str(), nullptr);
    const std::wstring app = fixtures + L"\\scanfix_app.exe";
    const std::wstring tool = fixtures + L"\\scanfix_tool.exe";
    const std::wstring gone = fixtures + L"\\scanfix_gone.exe";
    ::DeleteFileW(gone.c_str());
    ASSERT_TRUE(CreateShortcut(menu + L"\\Torvik E2E App.lnk", app));
    ASSERT_TRUE(CreateShortcut(menu + L"\\Torvik E2E Tool.lnk", tool));
    ASSERT_TRUE(CreateShortcut(menu + L"\\Torvik E2E Gone.lnk", gone));
    const std::wstring cache = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"updater_cache.db";
    ::DeleteFileW(cache.c_str());
    // A reply stored by another test would hide the programs it calls up to date.
    ::DeleteFileW((exe.substr(0, exe.find_last_of(L'\\') + 1) + L"updater_lastreply.ini").c_str());
    ASSERT_TRUE(WriteSettings(exe, kNoAutoCheck));

    UpdaterProcess updater(exe, L"");
    const HWND window = updater.WaitForWindow();
    ASSERT_NE(window, nullptr);
    const HWND list = ControlById(window, app::kIdProgramList);
    const HWND status = ChildOfClass(window, STATUSCLASSNAMEW);
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < 200 && TextOf(status).find(L"found") == std::wstring::npos; ++i) {
        ::Sleep(100);
    }
    // Program, Executable, My Version, Database status, Community status, URL.
    const auto rows = ListViewRows(list, 6);
    EXPECT_EQ(TextOf(status), std::to_wstring(rows.size()) + L" programs found.");
    std::vector<std::vector<std::wstring>> ours;
    for (const auto& row : rows) {
        EXPECT_FALSE(SameText(row[1], gone)) << "a missing executable is not listed";
        if (row[0].rfind(L"Torvik E2E", 0) == 0) {
            ours.push_back(row);
        }
    }
    std::wstring shown;
    for (const auto& row : rows) {
        shown += row[0] + L" | " + row[1] + L" | " + row[2] + L"\n";
    }
    ASSERT_EQ(ours.size(), 2u) << std::string(shown.begin(), shown.end());
    std::sort(ours.begin(), ours.end());
    EXPECT_EQ(ours[0][0], L"Torvik E2E App");
    EXPECT_EQ(ours[0][2], L"1.2.3 build:4");
    EXPECT_TRUE(SameText(ours[0][1], app)) << ours[0][1];
    EXPECT_EQ(ours[1][0], L"Torvik E2E Tool");
    EXPECT_EQ(ours[1][2], L"10.0.2 build:100");
    EXPECT_TRUE(SameText(ours[1][1], tool)) << ours[1][1];
    EXPECT_EQ(updater.Close(), 0u);
    for (const wchar_t* name : {L"App", L"Tool", L"Gone"}) {
        ::DeleteFileW((menu + L"\\Torvik E2E " + name + L".lnk").c_str());
    }
    ::RemoveDirectoryW(menu.c_str());

    std::ifstream in(cache.c_str(), std::ios::binary);
    ASSERT_TRUE(in.good()) << "the cache is written at close";
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_NE(bytes.str().find("scanfix_app.exe|"), std::string::npos);
    EXPECT_NE(bytes.str().find("scanfix_tool.exe|"), std::string::npos);
    EXPECT_EQ(bytes.str().find("scanfix_gone.exe"), std::string::npos);
    ::CoUninitialize();
}

} // namespace
} // namespace torvik::e2e
