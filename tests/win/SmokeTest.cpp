#include <gtest/gtest.h>

#include "platform/win32/Win32Platform.h"

namespace torvik::win32 {
namespace {

TEST(Win32Processes, ExecutablePathNamesThisTest) {
    Win32Processes processes;
    EXPECT_NE(processes.ExecutablePath().find(L"win_tests.exe"), std::wstring::npos);
}

} // namespace
} // namespace torvik::win32
