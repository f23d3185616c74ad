#include <gtest/gtest.h>

#include "TempDir.h"
#include "fakes/FakeTimeZone.h"
#include "fakes/FakeVersionInfo.h"
#include "inventory/ExecutableFacts.h"
#include "inventory/FileDates.h"
#include "platform/posix/PosixFileSystem.h"

namespace torvik {
namespace {

using testing::TempDir;

// The scan reads size and date in one look; it must agree with the two
// separate readings everywhere.
TEST(PlatformExecutableFacts, StampAgreesWithFileSizeAndFileDateTime) {
    TempDir dir;
    dir.Write("app.exe", std::string(1234, 'x'));
    dir.MakeDir("folder.exe");
    PosixFileSystem fs;
    testing::FakeVersionInfo versions;
    testing::FakeTimeZone zone;
    zone.offsetSeconds = 3600;
    const PlatformExecutableFacts facts(fs, versions, zone);
    for (const std::wstring& path : {dir.Path("app.exe"), dir.Path("folder.exe/"),
                                     dir.Path("missing.exe"), dir.Path("app.ex?")}) {
        const FileStamp stamp = facts.Stamp(path);
        EXPECT_EQ(stamp.size, FileSize(fs, path));
        EXPECT_EQ(stamp.date, FileDateTime(fs, zone, path));
    }
    EXPECT_EQ(facts.Stamp(dir.Path("app.exe")).size, 1234);
    EXPECT_GT(facts.Stamp(dir.Path("app.exe")).date, 40000);
}

// A new executable needs its version and its details: one reading of the
// resource gives both, the same as the two separate readings.
TEST(PlatformExecutableFacts, VersionAndDetailsComeFromOneLoad) {
    PosixFileSystem fs;
    testing::FakeVersionInfo versions;
    testing::FakeTimeZone zone;
    auto& exe = versions.files[L"c:\\app.exe"];
    exe.fixed = FixedFileVersion{0x00010002, 0x00030004};
    exe.translations = {0x04B00409};
    exe.strings[L"\\StringFileInfo\\040904B0\\CompanyName"] = L"Company X";
    const PlatformExecutableFacts facts(fs, versions, zone);
    for (const std::wstring path : {L"c:\\app.exe", L"c:\\missing.exe"}) {
        versions.loads = 0;
        const auto both = facts.ReadVersionAndDetails(path);
        EXPECT_EQ(versions.loads, 1);
        EXPECT_EQ(both.version, facts.Version(path));
        EXPECT_EQ(both.details, facts.Details(path));
    }
    EXPECT_EQ(facts.ReadVersionAndDetails(L"c:\\app.exe").version, L"1.2.3 build:4");
    EXPECT_EQ(facts.ReadVersionAndDetails(L"c:\\app.exe").details,
              L"[CompanyName]\r\nCompany X\r\n");
}

} // namespace
} // namespace torvik
