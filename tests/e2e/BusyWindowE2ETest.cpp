// The main window while a scan of many programs runs: it keeps answering,
// and the please-wait panel's cancel stops the scan of a check, which then
// sends and publishes nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <memory>

#include "GeneratedPrograms.h"
#include "UpdaterProcess.h"
#include "app/MainWindowIds.h"

namespace torvik::e2e {
namespace {

// Enough executables that a first scan, reading each version resource,
// lasts seconds under Wine.
constexpr int kPrograms = 500;
constexpr DWORD kScanTimeoutMs = 120000;

class BusyWindowE2E : public ::testing::Test {
protected:
    // One profile for both tests.
    static void SetUpTestSuite() {
        ::CoInitialize(nullptr);
        programs = std::make_unique<GeneratedPrograms>(
            L"Torvik Busy", FixturesFolder() + L"\\scanfix_app.exe", kPrograms);
    }
    static void TearDownTestSuite() {
        programs.reset();
        ::CoUninitialize();
    }
    void SetUp() override {
        ASSERT_TRUE(programs->Made());
        exe = UpdaterExe();
        // No cached versions: the scan reads every executable. No stored
        // reply: nothing is applied after it.
        ::DeleteFileW(BesideUpdater(L"updater_cache.db").c_str());
        ::DeleteFileW(BesideUpdater(L"updater_lastreply.ini").c_str());
    }
    void TearDown() override { ::DeleteFileW(BesideUpdater(L"updater_cache.db").c_str()); }
    std::wstring BesideUpdater(const wchar_t* name) const {
        return exe.substr(0, exe.find_last_of(L'\\') + 1) + name;
    }
    static int OurRows(HWND window) {
        int ours = 0;
        for (const auto& row : ListViewRows(ControlById(window, app::kIdProgramList), 1)) {
            ours += programs->IsOurs(row[0]);
        }
        return ours;
    }

    static inline std::unique_ptr<GeneratedPrograms> programs;
    std::wstring exe;
};

TEST_F(BusyWindowE2E, TheWindowAnswersWhileItScans) {
    ASSERT_TRUE(WriteSettings(exe, kNoAutoCheck));
    UpdaterProcess updater(exe, L"");
    const HWND window = updater.WaitForWindow();
    ASSERT_NE(window, nullptr);
    const HWND status = ::FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr);
    // The scan starts a second after the window shows and ends with the
    // count in the status bar.
    const Probes probes = ProbeWhile(
        window, [&] { return TextOf(status).find(L"found") == std::wstring::npos; },
        kScanTimeoutMs);
    EXPECT_NE(TextOf(status).find(L"programs found."), std::wstring::npos) << TextOf(status);
    EXPECT_EQ(probes.unanswered, 0) << "of " << probes.sent << " messages sent while it scanned";
    EXPECT_GT(probes.sent, 0);
    EXPECT_EQ(OurRows(window), kPrograms);
    EXPECT_EQ(updater.Close(), 0u);
}

TEST_F(BusyWindowE2E, CancelStopsTheScanOfACheck) {
    // No service is needed: a check that went on past the scan would
    // publish the programs (and report the missing service).
    ASSERT_TRUE(WriteSettings(exe, kNoAutoCheckNoWarning));
    UpdaterProcess updater(exe, L"/local_url2 /autorun");
    const HWND window = updater.WaitForWindow();
    ASSERT_NE(window, nullptr);
    // The please-wait panel is the one without a caption.
    const HWND panel = WaitForPanel(window, L"");
    ASSERT_NE(panel, nullptr);
    EXPECT_NE(FindDescendant(panel, L"STATIC", L"Building programs list"), nullptr);
    const HWND start = ControlById(window, app::kIdStart);
    EXPECT_EQ(TextOf(start), L" Checking...");
    EXPECT_FALSE(::IsWindowEnabled(start));
    const HWND cancel = FindDescendant(panel, L"BUTTON", L"cancel");
    ASSERT_NE(cancel, nullptr);
    ClickButton(cancel);

    const Probes probes = ProbeWhile(
        window, [start] { return !::IsWindowEnabled(start); }, kScanTimeoutMs);
    EXPECT_TRUE(::IsWindowEnabled(start));
    EXPECT_EQ(TextOf(start), L" Start");
    EXPECT_FALSE(::IsWindowVisible(panel));
    EXPECT_EQ(probes.unanswered, 0)
        << "of " << probes.sent << " messages sent until the check ended";
    EXPECT_EQ(OurRows(window), 0) << "a cancelled scan publishes nothing";
    EXPECT_EQ(WaitForBox(updater.Id(), L"", 2000), nullptr) << "nothing was sent";
    EXPECT_EQ(updater.Close(), 0u);
}

} // namespace
} // namespace torvik::e2e
