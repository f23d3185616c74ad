#include <gtest/gtest.h>

#include "UpdaterProcess.h"

namespace torvik::e2e {
namespace {

class SingleInstanceE2E : public ::testing::Test {
protected:
    void SetUp() override {
        exe_ = UpdaterExe();
        ASSERT_FALSE(exe_.empty()) << "TORVIK_UPDATER is not set";
        ASSERT_TRUE(UpdaterWindows().empty()) << "a copy is still running from an earlier test";
        ASSERT_TRUE(WriteSettings(exe_, kNoAutoCheck));
    }
    std::wstring exe_;
};

TEST_F(SingleInstanceE2E, SecondStartActivatesTheFirstAndEnds) {
    UpdaterProcess first(exe_, L"");
    const HWND window = first.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ::ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(window));

    UpdaterProcess second(exe_, L"");
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_FALSE(::IsIconic(window)) << "the first window is restored";
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(UpdaterWindows().size(), 1u);
    EXPECT_EQ(first.Close(), 0u);
}

TEST_F(SingleInstanceE2E, HiddenFirstWindowIsShownAgain) {
    UpdaterProcess first(exe_, L"");
    const HWND window = first.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ::ShowWindow(window, SW_HIDE);
    UpdaterProcess second(exe_, L"");
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(first.Close(), 0u);
}

TEST_F(SingleInstanceE2E, NomutexRunsBesideTheFirst) {
    UpdaterProcess first(exe_, L"");
    ASSERT_NE(first.WaitForWindow(), nullptr);
    UpdaterProcess second(exe_, L"/nomutex");
    EXPECT_NE(second.WaitForWindow(), nullptr);
    EXPECT_EQ(second.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(UpdaterWindows().size(), 2u);
    EXPECT_EQ(second.Close(), 0u);
    EXPECT_EQ(first.Close(), 0u);
}

TEST_F(SingleInstanceE2E, CopyUnderAnotherNameIsTurnedAwayByTheTitle) {
    const std::wstring copy = exe_.substr(0, exe_.find_last_of(L'\\') + 1) + L"updater_copy.exe";
    ASSERT_TRUE(::CopyFileW(exe_.c_str(), copy.c_str(), FALSE));
    UpdaterProcess first(exe_, L"");
    ASSERT_NE(first.WaitForWindow(), nullptr);
    UpdaterProcess second(copy, L"");
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_EQ(UpdaterWindows().size(), 1u);
    EXPECT_EQ(first.Close(), 0u);
}

TEST_F(SingleInstanceE2E, HeldMutexEndsTheNewCopySilently) {
    // As while the first copy is still starting: no window yet, mutex taken.
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, L"Global\\UPDATER.EXE");
    ASSERT_NE(mutex, nullptr);
    UpdaterProcess blocked(exe_, L"");
    EXPECT_EQ(blocked.WaitForExit(), 0u);
    EXPECT_TRUE(UpdaterWindows().empty());
    ::CloseHandle(mutex);

    UpdaterProcess free(exe_, L"");
    ASSERT_TRUE(free.Started());
    EXPECT_NE(free.WaitForWindow(), nullptr);
    EXPECT_EQ(free.Close(), 0u);
}

} // namespace
} // namespace torvik::e2e
