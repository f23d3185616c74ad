#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "WinTestSupport.h"
#include "common/DateText.h"
#include "common/Utf8.h"
#include "inventory/FileDates.h"
#include "inventory/ProgramCompare.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locale.h"

namespace torvik::win32 {
namespace {

uint64_t ToTicks(const FILETIME& ft) {
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// The date-time value Windows itself gives for a UTC file time.
double WindowsLocalDate(uint64_t ticks) {
    FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    FILETIME local{};
    SYSTEMTIME st{};
    EXPECT_TRUE(::FileTimeToLocalFileTime(&utc, &local));
    EXPECT_TRUE(::FileTimeToSystemTime(&local, &st));
    return EncodeDateTime(
        {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds});
}

TEST(Win32TimeZone, ConvertsLikeWindows) {
    Win32TimeZone zone;
    const uint64_t summer2008 = 128672663340000000ULL; // 2008-09-30 16:38:54 UTC
    const uint64_t winter2020 = 132223104001230000ULL; // 2020-01-01 00:00:00.123 UTC
    for (const uint64_t ticks : {summer2008, winter2020}) {
        EXPECT_DOUBLE_EQ(FileTimeToDateTime(zone, ticks), WindowsLocalDate(ticks));
        EXPECT_NE(FileTimeToDateTime(zone, ticks), 0);
    }
    // The scripts run Windows programs in a zone east of UTC (Europe/Berlin),
    // so that a conversion that skipped the zone would show.
    EXPECT_GE(FileTimeToDateTime(zone, winter2020) - EncodeDateTime({2020, 1, 1, 0, 0, 0, 123}),
              1.0 / 24 - 1e-9);
    EXPECT_EQ(FileTimeToDateTime(zone, 0), 0);               // 1601: unset
    EXPECT_EQ(FileTimeToDateTime(zone, 864000000000ULL), 0); // 1601-01-02
    EXPECT_EQ(FileTimeToDateTime(zone, 0x8000000000000000ULL), 0);
}

TEST(FileDatesOnWindows, SizeAndDateOfAFile) {
    Win32FileSystem fs;
    Win32TimeZone zone;
    const std::wstring exe = wintest::BesideTestExe(L"fixtures\\fx_version6.exe");
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(::GetFileAttributesExW(exe.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(FileSize(fs, exe), static_cast<int64_t>(data.nFileSizeLow));
    EXPECT_DOUBLE_EQ(FileDateTime(fs, zone, exe), WindowsLocalDate(ToTicks(data.ftLastWriteTime)));

    for (const std::wstring& name :
         {wintest::BesideTestExe(L"fixtures"), wintest::BesideTestExe(L"fixtures\\missing.exe"),
          wintest::BesideTestExe(L"fixtures\\*.exe")}) {
        EXPECT_EQ(FileSize(fs, name), 0) << StringToUtf8(name);
        EXPECT_EQ(FileDateTime(fs, zone, name), 0) << StringToUtf8(name);
    }
}

TEST(Win32TextCompare, OrdersByTheLocaleIgnoringCase) {
    Win32TextCompare text;
    EXPECT_EQ(text.CompareIgnoreCase(L"apple", L"Banana"), -1);
    EXPECT_EQ(text.CompareIgnoreCase(L"TOOL", L"tool"), 0);
    EXPECT_EQ(text.CompareIgnoreCase(L"b", L"A"), 1);
    EXPECT_EQ(text.CompareIgnoreCase(L"", L""), 0);

    std::vector<TProgramRecord> records(3);
    records[0].ProgramName = L"charlie";
    records[1].ProgramName = L"Alpha";
    records[2].ProgramName = L"bravo";
    const ProgramSortState sort{kColumnProgram, false};
    std::sort(records.begin(), records.end(), [&](const auto& a, const auto& b) {
        return LvMainListCompare(a, b, sort, text) < 0;
    });
    EXPECT_EQ(records[0].ProgramName, L"Alpha");
    EXPECT_EQ(records[1].ProgramName, L"bravo");
    EXPECT_EQ(records[2].ProgramName, L"charlie");
}

TEST(Win32TextCompare, SortKeysOrderAsTheComparison) {
    const Win32TextCompare text;
    const wchar_t* const texts[] = {
        L"",           L"a",     L"A",           L"ab",      L"b",
        L"co-op",      L"coop",  L"Tom & Jerry", L"tom and", L"\u00e9t\u00e9",
        L"ete",        L"Zebra", L"\u00e4rger",  L"10",      L"9",
        L"C:\\Tools\\"};
    const auto sign = [](int c) { return (c > 0) - (c < 0); };
    for (const wchar_t* a : texts) {
        for (const wchar_t* b : texts) {
            EXPECT_EQ(sign(text.SortKey(a).compare(text.SortKey(b))), text.CompareIgnoreCase(a, b))
                << "\"" << a << "\" / \"" << b << "\"";
        }
    }
}

} // namespace
} // namespace torvik::win32
