#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TempDir.h"
#include "common/Error.h"
#include "fakes/FakeExecutableFacts.h"
#include "inventory/CachedLibrary.h"
#include "platform/posix/PosixFileSystem.h"

namespace torvik {
namespace {

using testing::FakeExecutableFacts;
using testing::TempDir;

constexpr double kMay2013 = 41395.585520833; // 2013-05-01 14:03:09

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class CachedLibraryTest : public ::testing::Test {
protected:
    CachedLibraryTest() : cache(fs, facts, ansi) { cache.FileName = dir.Path("updater_cache.db"); }
    TCachedLibraryRecord& AddRow(const std::wstring& path, const std::wstring& details) {
        auto& exe = facts.Add(path);
        exe.version = L"2.1.0 build:7";
        exe.details = details;
        exe.date = kMay2013;
        return cache.CreateCachedRecord(path);
    }
    TempDir dir;
    PosixFileSystem fs;
    FakeExecutableFacts facts;
    Latin1CodePage ansi;
    TCachedLibrary cache;
};

TEST_F(CachedLibraryTest, SavesTheDocumentedFormatByteForByte) {
    AddRow(L"C:\\Tools\\App\\App.exe", L"[CompanyName]\r\nCompany X\r\n").AlreadySentToServer =
        L"1";
    AddRow(L"c:\\b.exe", L"[Comments]\r\nuse a|b\rthen\nc\r\n");
    AddRow(L"c:\\empty.exe", L"");
    AddRow(L"c:\\gone.exe", L"x");
    facts.Add(L"c:\\gone.exe").date = kMay2013 + 1;
    EXPECT_EQ(cache.GetCachedRecordIdx(L"c:\\gone.exe"), nullptr);
    cache.SaveCachedLibrary();
    EXPECT_EQ(ReadBytes(dir.Native("updater_cache.db")),
              "\xEF\xBB\xBF"
              "c:\\tools\\app\\app.exe|1|2013-05-01 14:03:09|2.1.0 build:7|"
              "[CompanyName]<br>Company X<br>\r\n"
              "c:\\b.exe||2013-05-01 14:03:09|2.1.0 build:7|"
              "[Comments]<br>use a<pipe>b<br>then<br>c<br>\r\n"
              "c:\\empty.exe||2013-05-01 14:03:09|2.1.0 build:7|\r\n");
    EXPECT_FALSE(cache.CacheModified);
}

TEST_F(CachedLibraryTest, RoundTripsRowsThroughTheFile) {
    AddRow(L"c:\\a.exe", L"[FileDescription]\r\nTool<br>for X\r\n[Comments]\r\na|b\r\n");
    AddRow(L"c:\\Empty.exe", L"");
    cache.SaveCachedLibrary();

    TCachedLibrary loaded(fs, facts, ansi);
    loaded.FileName = cache.FileName;
    loaded.LoadCachedLibrary();
    ASSERT_EQ(loaded.Rows().size(), 2u);
    const auto& a = *loaded.Rows()[0];
    EXPECT_EQ(a.FullFnLower, L"c:\\a.exe");
    EXPECT_EQ(a.ModifiedDt, L"2013-05-01 14:03:09");
    EXPECT_EQ(a.ExeVersion, L"2.1.0 build:7");
    EXPECT_EQ(a.AlreadySentToServer, L"");
    // The literal "<br>" comes back as a line break; "|" survives.
    EXPECT_EQ(a.OtherDetails, L"[FileDescription]\r\nTool\r\nfor X\r\n[Comments]\r\na|b\r\n");
    EXPECT_EQ(loaded.Rows()[1]->FullFnLower, L"c:\\empty.exe");
    EXPECT_EQ(loaded.Rows()[1]->OtherDetails, L"");
    // Found in any letter case while the date is unchanged.
    EXPECT_EQ(loaded.GetCachedRecordIdx(L"C:\\A.EXE"), loaded.Rows()[0].get());
    EXPECT_FALSE(loaded.CacheModified);
}

TEST_F(CachedLibraryTest, LoadSkipsMalformedLinesAndKeepsTheRest) {
    dir.Write("updater_cache.db",
              "\xEF\xBB\xBF"
              "c:\\four.exe|1|2013-05-01 14:03:09|1.0.0 build:0\r\n"
              "c:\\good1.exe|1|2013-05-01 14:03:09|1.0.0 build:1|[A]<br>x<br>\r\n"
              "c:\\stray.exe|1|2013-05-01 14:03:09|1.0.0 build:0|a|b\r\n"
              "\r\n"
              "\x01\x02garbage\xFF\xFE\r\n"
              "  C:\\Good2.EXE | |2013-05-01 14:03:09\t|1.0.0 build:2|\n"
              "c:\\good3.exe|1|2013-05-01 14:03:09|1.0.0 build:3|\r"
              "c:\\truncated.exe|1|2013-05-01 14:0");
    cache.CacheModified = true;
    cache.LoadCachedLibrary();
    std::vector<std::wstring> keys;
    for (const auto& row : cache.Rows()) {
        keys.push_back(row->FullFnLower);
    }
    EXPECT_EQ(keys,
              (std::vector<std::wstring>{L"c:\\good1.exe", L"c:\\good2.exe", L"c:\\good3.exe"}));
    EXPECT_EQ(cache.Rows()[1]->AlreadySentToServer, L"");
    EXPECT_EQ(cache.Rows()[1]->ModifiedDt, L"2013-05-01 14:03:09");
    EXPECT_TRUE(cache.CacheModified); // loading leaves the flag alone
}

TEST_F(CachedLibraryTest, TheByteOrderMarkDecidesTheEncodingAndNoneMeansAnsi) {
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("c:\\x.exe|1|d|v|x\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    const struct {
        const char* name;
        std::string bytes;
        std::wstring key;
    } cases[] = {
        // Older versions wrote the file in the ansi code page, without a mark.
        {"ansi.db", "c:\\\xE9t\xE9.exe|1|d|v|x\r\n", L"c:\\\u00e9t\u00e9.exe"},
        // The same UTF-8 bytes without a mark are ansi text too.
        {"unmarked.db", "c:\\\xC3\xA9.exe|1|d|v|x\r\n", L"c:\\\u00c3\u00a9.exe"},
        {"utf8.db",
         "\xEF\xBB\xBF"
         "c:\\\xC3\xA9t\xC3\xA9.exe|1|d|v|x\r\n",
         L"c:\\\u00e9t\u00e9.exe"},
        {"utf16.db", utf16, L"c:\\x.exe"},
    };
    for (const auto& c : cases) {
        dir.Write(c.name, c.bytes);
        cache.FileName = dir.Path(c.name);
        cache.LoadCachedLibrary();
        ASSERT_EQ(cache.Rows().size(), 1u) << c.name;
        EXPECT_EQ(cache.Rows()[0]->FullFnLower, c.key) << c.name;
    }
}

TEST_F(CachedLibraryTest, MissingFileGivesAnEmptyLibrary) {
    AddRow(L"c:\\a.exe", L"");
    cache.LoadCachedLibrary();
    EXPECT_TRUE(cache.Rows().empty());
    EXPECT_EQ(cache.GetCachedRecordIdx(L"c:\\a.exe"), nullptr);
}

TEST_F(CachedLibraryTest, ChangedModificationTimeInvalidatesTheRowAndReadsTheFileAgain) {
    AddRow(L"c:\\App.exe", L"[A]\r\nx\r\n").AlreadySentToServer = L"1";
    cache.SaveCachedLibrary();
    ASSERT_NE(cache.GetCachedRecordIdx(L"C:\\app.EXE"), nullptr);
    EXPECT_FALSE(cache.CacheModified);

    facts.Add(L"c:\\app.exe").date = kMay2013 + 2.0 / 86400; // touched: two seconds later
    facts.Add(L"c:\\app.exe").version = L"2.2.0 build:8";
    const int readsBefore = facts.versionReads;
    EXPECT_EQ(cache.GetCachedRecordIdx(L"c:\\app.exe"), nullptr);
    EXPECT_TRUE(cache.CacheModified);
    EXPECT_EQ(cache.GetCachedRecordIdx(L"c:\\app.exe"), nullptr); // stays invalid
    TCachedLibraryRecord& fresh = cache.CreateCachedRecord(L"c:\\app.exe");
    EXPECT_EQ(facts.versionReads, readsBefore + 1);
    EXPECT_EQ(fresh.ExeVersion, L"2.2.0 build:8");
    EXPECT_EQ(fresh.AlreadySentToServer, L""); // the new details go out once more
    EXPECT_EQ(fresh.ModifiedDt, L"2013-05-01 14:03:11");
    EXPECT_EQ(cache.GetCachedRecordIdx(L"c:\\APP.exe"), &fresh);
    cache.SaveCachedLibrary();
    TCachedLibrary loaded(fs, facts, ansi);
    loaded.FileName = cache.FileName;
    loaded.LoadCachedLibrary();
    ASSERT_EQ(loaded.Rows().size(), 1u);
    EXPECT_EQ(loaded.Rows()[0]->ExeVersion, L"2.2.0 build:8");
}

TEST_F(CachedLibraryTest, DuplicateKeysInTheFileFindTheFirstValidRow) {
    dir.Write("updater_cache.db", "c:\\a.exe|1|2013-05-01 14:03:09|old|x\r\n"
                                  "c:\\a.exe|1|2013-05-01 14:03:11|new|y\r\n");
    cache.LoadCachedLibrary();
    facts.Add(L"c:\\a.exe").date = kMay2013 + 2.0 / 86400;
    EXPECT_EQ(cache.GetCachedRecordIdx(L"c:\\a.exe"), nullptr); // the first row is stale
    const auto* second = cache.GetCachedRecordIdx(L"c:\\a.exe");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->ExeVersion, L"new");
}

TEST_F(CachedLibraryTest, AFailedSaveRaisesAndLeavesTheOldFile) {
    dir.Write("updater_cache.db", "c:\\a.exe|1|d|v|x\r\n");
    // The temporary file beside it cannot be made: a folder holds its name.
    dir.MakeDir("updater_cache.db.tmp");
    cache.LoadCachedLibrary();
    facts.Add(L"c:\\b.exe");
    cache.CreateCachedRecord(L"c:\\b.exe");
    EXPECT_THROW(cache.SaveCachedLibrary(), TorvikError);
    EXPECT_TRUE(cache.CacheModified);
    EXPECT_EQ(ReadBytes(dir.Native("updater_cache.db")), "c:\\a.exe|1|d|v|x\r\n");
}

} // namespace
} // namespace torvik
