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

} // namespace
} // namespace torvik
