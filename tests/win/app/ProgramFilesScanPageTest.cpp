#include <windows.h>

#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "app/Inventory.h"
#include "app/ProgramFilesScanPage.h"
#include "app/TestHost.h"
#include "common/Error.h"
#include "common/ProcessFlags.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Platform.h"

namespace torvik::app {
namespace {

using ::testing::ElementsAre;

std::vector<std::wstring> reported;
void NoteError(const std::wstring& text) {
    reported.push_back(text);
}

class NoView : public ProgramListViewRefill {
public:
    void BeginUpdate() override {}
    void ClearItems() override {}
    void RefillProgramList() override {}
    void EndUpdate() override {}
};

// The main window's part in a scan: its wait loop turns handle the window's
// messages, and worker failures go to the diagnostics scan.
class PageHooks : public ScanHooks {
public:
    ProgramFilesScanPage* page = nullptr;
    int turns = 0;
    NoView view;
    void WaitLoopTurn() override {
        ++turns;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    void PopupMsg(const std::wstring&) override {}
    std::vector<std::wstring> ExclusionLines() override { return {}; }
    ProgramListViewRefill& ProgramListView() override { return view; }
    void ReportWorkerError(const std::wstring& message) override {
        page->Scan().WorkerFailed(message);
    }
    void ApplyLastReplyToTempList() override {}
};

// The diagnostics page over the real scan pipeline, on a folder of its own
// standing in for Program Files.
class ProgramFilesScanPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(wintest::ListViewClassesReady());
        AppClosing = CancelRequested = false;
        previousSink = SetErrorSink(NoteError);
        reported.clear();
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, temp);
        root = std::wstring(temp) + L"Torvik Program Files " +
               std::to_wstring(::GetCurrentProcessId());
        for (const wchar_t* file :
             {L"\\Media Player\\player.exe", L"\\Media Player\\codec.DLL",
              L"\\Media Player\\readme.txt", L"\\Tools\\Archiver\\bin\\archiver.exe"}) {
            const std::wstring path = root + file;
            fs.ForceDirectories(path.substr(0, path.find_last_of(L'\\')));
            ASSERT_TRUE(fs.WriteFileAtomic(path, "MZ"));
        }
        ASSERT_TRUE(host.Create(640, 260));
        hooks.page = &page;
    }
    void TearDown() override {
        SetErrorSink(previousSink);
        std::filesystem::remove_all(root);
    }

    // The button's click as its parent hears it.
    void Click() {
        ::SendMessageW(host.Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                       reinterpret_cast<LPARAM>(page.ScanButton()));
    }
    std::vector<std::wstring> Rows() const {
        std::vector<std::wstring> rows;
        const HWND list = page.Files().Handle();
        for (int row = 0; row < ListView_GetItemCount(list); ++row) {
            wchar_t name[260] = L"", folder[260] = L"";
            ListView_GetItemText(list, row, 0, name, 260);
            ListView_GetItemText(list, row, 1, folder, 260);
            rows.push_back(std::wstring(name) + L" | " + folder);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    ErrorSink previousSink = nullptr;
    std::wstring root;
    win32::Win32FileSystem fs;
    win32::Win32ShellFolders shell;
    win32::Win32Processes processes;
    win32::Win32Dialogs dialogs;
    const CommandLine args;
    const AppFolders folders{{fs, shell, processes, dialogs, args}};
    PageHooks hooks;
    Inventory inventory{fs, folders, hooks};
    wintest::TestHost host;
    ProgramFilesScanPage page;
};

TEST_F(ProgramFilesScanPageTest, ListsTheExecutablesAndLibrariesWithTheirFolders) {
    ASSERT_TRUE(page.Create(host.Handle(), root,
                            [this](const std::wstring& folder, bool recursive,
                                   const std::wstring& include, const std::wstring& exclude) {
                                return inventory.Pipeline.RunScanThread(folder, recursive, include,
                                                                        exclude);
                            }));
    page.LayOut(640, 260);
    EXPECT_EQ(WindowText(page.ScanButton()), L"Scan c:\\program files");
    Click();
    EXPECT_THAT(Rows(), ElementsAre(L"archiver.exe | " + root + L"\\Tools\\Archiver\\bin\\",
                                    L"codec.DLL | " + root + L"\\Media Player\\",
                                    L"player.exe | " + root + L"\\Media Player\\"));
    EXPECT_TRUE(::IsWindowEnabled(page.ScanButton()));
    EXPECT_TRUE(reported.empty());
    wintest::SaveWindowShot(host.Handle(), L"other_page_scan");

    // A second scan replaces the rows.
    std::filesystem::remove(root + L"\\Media Player\\codec.DLL");
    Click();
    EXPECT_EQ(Rows().size(), 2u);
}

// What ends a listing is shown, and the button comes back for another try.
TEST_F(ProgramFilesScanPageTest, AFailedScanIsReported) {
    ASSERT_TRUE(page.Create(host.Handle(), root,
                            [](const std::wstring&, bool, const std::wstring&,
                               const std::wstring&) -> std::vector<TFileType> {
                                throw TorvikError(L"The folder cannot be listed");
                            }));
    Click();
    EXPECT_THAT(reported, ElementsAre(L"The folder cannot be listed"));
    EXPECT_EQ(ListView_GetItemCount(page.Files().Handle()), 0);
    EXPECT_TRUE(::IsWindowEnabled(page.ScanButton()));
}

} // namespace
} // namespace torvik::app
