#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/DateText.h"
#include "common/Utf8.h"
#include "fakes/FakeTimeZone.h"
#include "inventory/FileDates.h"
#include "platform/posix/PosixFileSystem.h"

namespace torvik {
namespace {

using testing::FakeTimeZone;

constexpr uint64_t kUnixEpoch = 116444736000000000ULL; // 1970-01-01 as a FILETIME

uint64_t FileTimeOf(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    const auto days =
        static_cast<int64_t>(EncodeDateTime({y, mo, d}) - EncodeDateTime({1970, 1, 1}));
    const int64_t msOfDay = ((h * 60 + mi) * 60 + s) * 1000LL + ms;
    return static_cast<uint64_t>(static_cast<int64_t>(kUnixEpoch) +
                                 (days * 86400000LL + msOfDay) * 10000);
}

TEST(FileTimeToDateTime, ConvertsToLocalDateTime) {
    FakeTimeZone utc;
    EXPECT_DOUBLE_EQ(FileTimeToDateTime(utc, kUnixEpoch), 25569.0);
    EXPECT_EQ(DateTimeToStrX(FileTimeToDateTime(utc, FileTimeOf(2008, 9, 30, 16, 38, 54, 123))),
              L"2008-09-30 16:38:54.123");
    FakeTimeZone plusThree;
    plusThree.offsetSeconds = 3 * 3600;
    EXPECT_EQ(DateTimeToStrX_noms(FileTimeToDateTime(plusThree, FileTimeOf(2008, 9, 30, 22))),
              L"2008-10-01 01:00:00");
    // Sub-millisecond ticks are dropped, as in a SYSTEMTIME.
    EXPECT_DOUBLE_EQ(FileTimeToDateTime(utc, kUnixEpoch + 9999), 25569.0);
}

TEST(FileTimeToDateTime, KeepsOnlyTheYears1800To3000) {
    FakeTimeZone utc;
    EXPECT_EQ(FileTimeToDateTime(utc, 0), 0); // 1601: unset
    EXPECT_EQ(FileTimeToDateTime(utc, FileTimeOf(1799, 12, 31, 23, 59, 59)), 0);
    EXPECT_EQ(DateTimeToStrX_noms(FileTimeToDateTime(utc, FileTimeOf(1800, 1, 1, 6))),
              L"1800-01-01 06:00:00");
    EXPECT_EQ(DateTimeToStrX_noms(FileTimeToDateTime(utc, FileTimeOf(3000, 12, 31, 23, 59, 59))),
              L"3000-12-31 23:59:59");
    EXPECT_EQ(FileTimeToDateTime(utc, FileTimeOf(3001, 1, 1)), 0);
    EXPECT_EQ(FileTimeToDateTime(utc, 0x8000000000000000ULL), 0);
    EXPECT_EQ(FileTimeToDateTime(utc, UINT64_MAX), 0);
    FakeTimeZone broken;
    broken.fail = true;
    EXPECT_EQ(FileTimeToDateTime(broken, kUnixEpoch), 0);
}

TEST(SameDates_daylight_1s, AllowsOneSecondAndAnHoursShift) {
    const double base = 45000.5;
    const struct {
        double seconds;
        bool same;
    } cases[] = {
        {0, true},    {1.5, true},    {2, false},    {3598, false},
        {3600, true}, {3601.5, true}, {3602, false}, {7200, false},
    };
    for (const auto& c : cases) {
        const double other = base + c.seconds / 86400.0;
        EXPECT_EQ(SameDates_daylight_1s(base, other), c.same) << c.seconds;
        EXPECT_EQ(SameDates_daylight_1s(other, base), c.same) << c.seconds;
        EXPECT_NEAR(SecondDiffAbs(other, base), c.seconds, 0.01);
    }
}

class FileDatesOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("torvik_filedates_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_ / "sub");
        std::ofstream(dir_ / "tool.exe", std::ios::binary) << std::string(1234, 'x');
        const utimbuf times{1222792734, 1222792734}; // 2008-09-30 16:38:54 UTC
        ::utime((dir_ / "tool.exe").c_str(), &times);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::wstring Path(const char* name) const { return Utf8ToString((dir_ / name).string()); }

    std::filesystem::path dir_;
    PosixFileSystem fs_;
    FakeTimeZone utc_;
};

TEST_F(FileDatesOnDisk, ReadsSizeAndDateOfAFile) {
    EXPECT_EQ(FileSize(fs_, Path("tool.exe")), 1234);
    EXPECT_EQ(DateTimeToStrX_noms(FileDateTime(fs_, utc_, Path("tool.exe"))),
              L"2008-09-30 16:38:54");
    EXPECT_EQ(FileModifiedDatetime(fs_, utc_, Path("tool.exe")),
              FileDateTime(fs_, utc_, Path("tool.exe")));
}

TEST_F(FileDatesOnDisk, NoFileGivesZero) {
    for (const char* name : {"missing.exe", "sub", "*.exe", "tool.ex?"}) {
        EXPECT_EQ(FileSize(fs_, Path(name)), 0) << name;
        EXPECT_EQ(FileDateTime(fs_, utc_, Path(name)), 0) << name;
    }
    EXPECT_EQ(FileModifiedDatetime(fs_, utc_, Path("missing.exe")), 0);
}

} // namespace
} // namespace torvik
