#include <gtest/gtest.h>

#include "common/PathUtils.h"

namespace torvik {
namespace {

TEST(PathUtils, JoinsWithOneBackslash) {
    EXPECT_EQ(MakeFn(L"C:\\a", L"b.txt"), L"C:\\a\\b.txt");
    EXPECT_EQ(MakeFn(L"C:\\a\\", L"b.txt"), L"C:\\a\\b.txt");
    EXPECT_EQ(MakeFn(L"", L"b.txt"), L"b.txt");
    EXPECT_EQ(MakeFn(L"C:\\a", L"b", L"c.txt"), L"C:\\a\\b\\c.txt");
    EXPECT_EQ(ForceTrailingBackslash(L""), L"");
    EXPECT_EQ(RemoveTrailingBackslash(L"C:\\a\\\\"), L"C:\\a\\");
    EXPECT_EQ(RemoveTrailingBackslash(L"C:\\a"), L"C:\\a");
}

TEST(PathUtils, SplitsNameAndFolder) {
    EXPECT_EQ(ExtractFileName(L"C:\\a\\b.exe"), L"b.exe");
    EXPECT_EQ(ExtractFilePath(L"C:\\a\\b.exe"), L"C:\\a\\");
    EXPECT_EQ(ExtractFileName(L"C:b.exe"), L"b.exe");
    EXPECT_EQ(ExtractFilePath(L"b.exe"), L"");
    EXPECT_EQ(ExtractFileExt(L"C:\\a.b\\c"), L"");
    EXPECT_EQ(ExtractFileExt(L"C:\\a\\c.tar.gz"), L".gz");
}

} // namespace
} // namespace torvik
