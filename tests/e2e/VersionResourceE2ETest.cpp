#include <gtest/gtest.h>

#include <vector>

#include "UpdaterProcess.h"
#include "build_info.h"

namespace torvik::e2e {
namespace {

// The build number that every service request sends is the fourth number of
// updater.exe's own file version: it must come from the one place the build
// sets it.
TEST(UpdaterVersionResource, CarriesTheBuildNumbers) {
    const std::wstring exe = UpdaterExe();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length));
    EXPECT_EQ(HIWORD(info->dwFileVersionMS), TORVIK_VERSION_MAJOR);
    EXPECT_EQ(LOWORD(info->dwFileVersionMS), TORVIK_VERSION_MINOR);
    EXPECT_EQ(HIWORD(info->dwFileVersionLS), TORVIK_VERSION_RELEASE);
    EXPECT_EQ(LOWORD(info->dwFileVersionLS), TORVIK_VERSION_BUILD);
}

} // namespace
} // namespace torvik::e2e
