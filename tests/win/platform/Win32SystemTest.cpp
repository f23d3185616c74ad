#include <gtest/gtest.h>

#include "platform/win32/Win32System.h"
#include "protocol/ServiceHeader.h"

namespace torvik::win32 {
namespace {

TEST(Win32OsVersion, ReportsAnNtSystemForTheServiceHeader) {
    const Win32OsVersion os;
    const OsVersionInfo info = os.Query();
    EXPECT_EQ(info.platformId, OsVersionInfo::WindowsNT);
    EXPECT_GE(info.major, 5u);
    const std::wstring header = BuildServiceHeader(L"user_X", os);
    EXPECT_EQ(header.rfind(L"user_X#Windows NT ", 0), 0u) << header;
    EXPECT_NE(header.find(L"#" + std::to_wstring(info.build)), std::wstring::npos);
}

TEST(Win32AnsiCodePage, RoundTripsAsciiAndMarksWhatItCannotHold) {
    const Win32AnsiCodePage ansi;
    EXPECT_EQ(ansi.FromText(L"mode=1 &x"), "mode=1 &x");
    EXPECT_EQ(ansi.ToText("abc"), L"abc");
    EXPECT_EQ(ansi.FromText(L""), "");
    EXPECT_EQ(ansi.FromText(L"\u4e2d").find('?'), 0u);
}

} // namespace
} // namespace torvik::win32
