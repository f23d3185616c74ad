#include <gtest/gtest.h>

#include "TempDir.h"
#include "common/Error.h"
#include "platform/posix/PosixFileSystem.h"
#include "protocol/Cipher.h"
#include "service/LastReply.h"

namespace torvik {
namespace {

using testing::TempDir;

constexpr double kNow = 46000.5;

TEST(LastReply, RoundTripsEncipheredAndHonoursTheTenDayRule) {
    TempDir dir;
    PosixFileSystem fs;
    const std::wstring file = dir.Path("settings/updater_lastreply.ini");
    const std::vector<std::wstring> lines{L"[results]", L"Caf\u00e9|c.exe|1|2|u|c|1|0"};
    SaveLastReply(fs, file, lines);
    const auto bytes = fs.ReadFile(file);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, EncryptX(std::string("[results]\r\nCaf\xC3\xA9|c.exe|1|2|u|c|1|0\r\n"),
                               kLastReplyKey));
    EXPECT_EQ(bytes->find_first_not_of("0123456789ABCDEF"), std::string::npos);

    EXPECT_EQ(LoadLastReply(fs, file, kNow - 9.9, kNow), lines);
    EXPECT_TRUE(LoadLastReply(fs, file, kNow - 11, kNow).empty()) << "older than ten days";
    EXPECT_TRUE(LoadLastReply(fs, file, 0, kNow).empty()) << "no file date";
    EXPECT_TRUE(LoadLastReply(fs, dir.Path("missing.ini"), kNow, kNow).empty());

    SaveLastReply(fs, file, {});
    EXPECT_EQ(fs.ReadFile(file), std::string());
    EXPECT_TRUE(LoadLastReply(fs, file, kNow, kNow).empty());
}

TEST(LastReply, AFileWithLineBreaksAndBlanksStillReads) {
    TempDir dir;
    PosixFileSystem fs;
    const std::string hex = EncryptX(std::string("A\r\nB\r\n"), kLastReplyKey);
    dir.Write("r.ini", "  " + hex.substr(0, 6) + "\r\n" + hex.substr(6) + "\r\n");
    EXPECT_EQ(LoadLastReply(fs, dir.Path("r.ini"), kNow, kNow),
              (std::vector<std::wstring>{L"A", L"B"}));
}

TEST(LastReply, AFailedWriteRaisesAndKeepsTheOldReply) {
    TempDir dir;
    PosixFileSystem fs;
    const std::wstring file = dir.Path("updater_lastreply.ini");
    SaveLastReply(fs, file, {L"old"});
    dir.MakeDir("updater_lastreply.ini.tmp");
    EXPECT_THROW(SaveLastReply(fs, file, {L"new"}), TorvikError);
    EXPECT_EQ(LoadLastReply(fs, file, kNow, kNow), std::vector<std::wstring>{L"old"});
}

} // namespace
} // namespace torvik
