#pragma once
// The profile of the version check's end-to-end tests: one program per
// status the demo catalogue of torvik-service gives, and how the tests read
// their statuses off the running program.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "UpdaterProcess.h"
#include "app/MainWindowIds.h"

namespace torvik::e2e {

constexpr DWORD kCheckTimeoutMs = 60000;

class CheckE2EBase : public ::testing::Test {
protected:
    static constexpr const wchar_t* kFolder = L"\\Torvik Check E2E";
    struct Program {
        const wchar_t* name;
        const wchar_t* exe;
        const wchar_t* status; // the "Database status" text after a check
    };
    static constexpr Program kPrograms[] = {
        {L"Torvik E2E App", L"scanfix_app.exe", L"1.3.0 build:0"},
        {L"Torvik E2E Tool", L"scanfix_tool.exe", L"up to date"},
        {L"Demo Beta", L"scanfix_app.exe", L"thank you!"},
        {L"Torvik E2E Unknown", L"scanfix_tool.exe", L"Not in the database yet"},
        {L"Torvik E2E Plain", L"fx_no_version.exe", L""},
    };

    void SetUp() override {
        ::CoInitialize(nullptr);
        exe = UpdaterExe();
        const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\') + 1);
        lastReply = folder + L"updater_lastreply.ini";
        cache = folder + L"updater_cache.db";
        settings = folder + L"updater.ini";
        ASSERT_TRUE(WriteSettings(exe, kNoAutoCheckNoWarning));
        menu = StartMenuPrograms() + kFolder;
        ::CreateDirectoryW(menu.c_str(), nullptr);
        for (const auto& p : kPrograms) {
            ASSERT_TRUE(
                CreateShortcut(menu + L"\\" + p.name + L".lnk", FixturesFolder() + L"\\" + p.exe));
        }
    }
    void TearDown() override {
        for (const auto& p : kPrograms) {
            ::DeleteFileW((menu + L"\\" + p.name + L".lnk").c_str());
        }
        ::RemoveDirectoryW(menu.c_str());
        ::CoUninitialize();
    }

    // Program name to "Database status" text, once every program of ours
    // shows the text given (or any text with waitForStatuses false).
    std::map<std::wstring, std::wstring> Statuses(HWND window, bool waitForStatuses) {
        // Programs that are up to date are hidden until the switch says
        // otherwise.
        const HWND hideUpToDate = ControlById(window, app::kIdHideUpToDate);
        ::SendMessageW(hideUpToDate, BM_SETCHECK, BST_UNCHECKED, 0);
        ClickButton(hideUpToDate);
        const HWND list = ControlById(window, app::kIdProgramList);
        std::map<std::wstring, std::wstring> shown;
        for (DWORD waited = 0; waited < kCheckTimeoutMs; waited += 200) {
            shown.clear();
            // Program, Executable, My Version, Database status, ...
            for (const auto& row : ListViewRows(list, 6)) {
                shown[row[0]] = row[3];
            }
            bool complete = true;
            for (const auto& p : kPrograms) {
                complete = complete && shown.count(p.name) != 0 &&
                           (!waitForStatuses || shown[p.name] == p.status);
            }
            if (complete) {
                break;
            }
            ::Sleep(200);
        }
        return shown;
    }
    void ExpectCheckedStatuses(const std::map<std::wstring, std::wstring>& shown) {
        for (const auto& p : kPrograms) {
            const auto it = shown.find(p.name);
            ASSERT_NE(it, shown.end()) << p.name;
            EXPECT_EQ(it->second, p.status) << p.name;
        }
    }
    // Starts updater.exe with a check (the settings switch the privacy
    // warning off); the main window, or nullptr (a failure is added).
    HWND StartCheck(UpdaterProcess& updater) {
        const HWND window = updater.WaitForWindow();
        if (window == nullptr) {
            ADD_FAILURE() << "no main window";
        }
        return window;
    }
    // Our programs' names in the list's row order.
    std::vector<std::wstring> OurRowOrder(HWND list) {
        std::vector<std::wstring> names;
        for (const auto& row : ListViewRows(list, 1)) {
            for (const auto& p : kPrograms) {
                if (row[0] == p.name) {
                    names.push_back(row[0]);
                }
            }
        }
        return names;
    }
    static std::string FileBytes(const std::wstring& path) {
        std::ifstream in(path.c_str(), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    std::string CacheFile() const { return FileBytes(cache); }

    std::wstring exe, lastReply, cache, settings, menu;
};

} // namespace torvik::e2e
