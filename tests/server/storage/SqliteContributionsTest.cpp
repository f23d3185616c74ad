// Notes, URL submissions, moderation and linked accounts in SQLite.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "EntryFields.h"
#include "TempDir.h"
#include "server/DemoCatalogue.h"
#include "server/Sqlite.h"
#include "server/SqliteStorage.h"

namespace torvik::server {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

Note AppNote(const std::string& comment, const std::string& at) {
    return {"Demo App", "scanfix_app.exe", "inst-1", "Alice", comment, "t", at};
}
UrlSubmission AppUrls(const std::string& product, const std::string& download) {
    return {.programName = "Demo App",
            .exeFilename = "scanfix_app.exe",
            .installation = "inst-1",
            .productUrl = product,
            .downloadUrl = download,
            .submittedAt = "2026-12-11 10:00:00"};
}
std::vector<std::string> Comments(const std::vector<Note>& notes) {
    std::vector<std::string> comments;
    for (const Note& n : notes) {
        comments.push_back(n.comment);
    }
    return comments;
}

class Contributions : public ::testing::Test {
protected:
    std::unique_ptr<SqliteStorage> storage = SqliteStorage::InMemory();
};

TEST_F(Contributions, NotesArePerProgramNewestFirstAndKeepTheirTextsByteForByte) {
    const std::string texts[] = {"'; DROP TABLE notes; --", "a|b|c", "line\r\nbreak",
                                 "\"q\" %_\\ ?1 :x", std::string("nul\0in", 6)};
    for (const std::string& t : texts) {
        storage->SaveContribution(Note{"DEMO APP", "Scanfix_App.EXE", t, t, t, t, t}, std::nullopt);
    }
    storage->SaveContribution(Note{"Demo Beta", "scanfix_app.exe", "i", "", "other", "", "x"},
                              std::nullopt);
    const auto notes = storage->LoadNotes("demo app", "SCANFIX_APP.EXE", 10);
    ASSERT_EQ(notes.size(), std::size(texts));
    for (size_t i = 0; i < notes.size(); ++i) {
        const std::string& t = texts[std::size(texts) - 1 - i];
        EXPECT_EQ(std::tie(notes[i].programName, notes[i].exeFilename, notes[i].installation,
                           notes[i].alias, notes[i].comment, notes[i].tags, notes[i].postedAt),
                  std::tie("DEMO APP", "Scanfix_App.EXE", t, t, t, t, t));
    }
    EXPECT_THAT(Comments(storage->LoadNotes("Demo App", "scanfix_app.exe", 2)),
                ElementsAre(texts[4], texts[3]));
    EXPECT_TRUE(storage->LoadNotes("Demo Tool", "scanfix_app.exe", 10).empty());
}

TEST_F(Contributions, OnlyPendingSubmissionsAreFoundAndDecidedOnce) {
    storage->ImportCatalogue(DemoCatalogue());
    storage->SaveCheck({}, {},
                       {{"inst-1", "Demo App", "scanfix_app.exe", "00002.00000.00000.00000"},
                        {"inst-2", "DEMO APP", "scanfix_app.exe", "00003.00000.00000.00000"},
                        {"inst-3", "Demo App", "scanfix_app.exe", "00001.00000.00000.00000"}});
    const auto highest = [&](const std::string& above) {
        const auto s = storage->HighestSubmission("demo app", "scanfix_app.exe", above);
        return s ? s->installation + " " + s->versionX : "none";
    };
    EXPECT_EQ(highest(""), "inst-2 00003.00000.00000.00000");
    EXPECT_EQ(highest("00003.00000.00000.00000"), "none");

    storage->SaveContribution(std::nullopt, AppUrls("https://a/", ""));
    storage->SaveContribution(std::nullopt, AppUrls("", "https://b/"));
    const auto newest = storage->NewestUrls("DEMO APP", "scanfix_app.exe");
    ASSERT_TRUE(newest);
    EXPECT_EQ(newest->downloadUrl, "https://b/");
    storage->SaveContribution(std::nullopt, AppUrls("https://c/", "")); // after the decision's look

    CatalogueEntry entry = DemoCatalogue()[0];
    entry.downloadUrl = newest->downloadUrl;
    storage->ApproveUrls(entry, newest->id);
    EXPECT_EQ(storage->LoadCatalogue()[0].downloadUrl, "https://b/");
    ASSERT_TRUE(storage->NewestUrls("Demo App", "scanfix_app.exe"));
    EXPECT_EQ(storage->NewestUrls("Demo App", "scanfix_app.exe")->productUrl, "https://c/")
        << "the older one was superseded, the later one waits";

    // Above 1.5: versions 2 and 3 and the waiting URLs.
    EXPECT_EQ(storage->RejectPending("Demo App", "scanfix_app.exe", "00001.00005.00000.00000"), 3u);
    EXPECT_EQ(storage->RejectPending("Demo App", "scanfix_app.exe", ""), 1u) << "version 1 only";
    EXPECT_EQ(highest(""), "none");
    EXPECT_EQ(storage->NewestUrls("Demo App", "scanfix_app.exe"), std::nullopt);
    // A check submitting a rejected version again leaves it rejected.
    storage->SaveCheck({}, {},
                       {{"inst-2", "Demo App", "scanfix_app.exe", "00003.00000.00000.00000"}});
    EXPECT_EQ(highest(""), "none");
    EXPECT_EQ(storage->LoadSubmissions().size(), 3u) << "rejected submissions stay";
}

TEST_F(Contributions, ReportedNamesOfAnExecutableComeInKeyOrder) {
    for (const auto& [installation, name, exe] :
         {std::tuple{"i1", "Zeta", "z.exe"}, std::tuple{"i2", "alpha", "Z.EXE"},
          std::tuple{"i3", "Beta", "z.exe"}, std::tuple{"i4", "ALPHA", "z.exe"},
          std::tuple{"i5", "Other", "o.exe"}}) {
        storage->SaveCheck({{installation, name, exe, "00001.00000.00000.00000", "", "", 0}}, {},
                           {});
    }
    EXPECT_THAT(storage->ReportedNames("Z.exe", 10), ElementsAre("alpha", "Beta", "Zeta"));
    EXPECT_THAT(storage->ReportedNames("z.exe", 2), ElementsAre("alpha", "Beta"));
    EXPECT_TRUE(storage->ReportedNames("none.exe", 10).empty());
}

TEST_F(Contributions, AnInstallationIsLinkedToOneAccountAtMost) {
    storage->AddAccount({.name = "Mod", .moderator = true, .installation = "inst-1"});
    storage->AddAccount({.name = "Plain", .moderator = false, .installation = ""});
    try {
        storage->AddAccount({.name = "Second", .moderator = false, .installation = "inst-1"});
        ADD_FAILURE() << "a second account took the installation";
    } catch (const StorageError& e) {
        EXPECT_THAT(e.what(), HasSubstr("\"Mod\""));
    }
    const auto linked = storage->FindAccountOf("inst-1");
    ASSERT_TRUE(linked);
    EXPECT_EQ(std::tie(linked->name, linked->moderator), std::tuple("Mod", true));
    EXPECT_EQ(storage->FindAccountOf(""), std::nullopt) << "unlinked accounts have no installation";
    EXPECT_EQ(storage->FindAccount("plain")->installation, "");
    EXPECT_EQ(storage->FindAccount("second"), std::nullopt);
}

// A database file, with a second connection to break or build it.
class ContributionsOnDisk : public ::testing::Test {
protected:
    std::string DataDir() const { return dir.Native("data").string(); }
    SqliteConnection Peek() const {
        return SqliteConnection::Open(SqliteStorage::DatabasePath(DataDir()));
    }
    testing::TempDir dir;
};

// Each write fails at its last statement, after the others ran.
TEST_F(ContributionsOnDisk, FailedWritesLeaveTheDatabaseAsItWas) {
    auto storage = SqliteStorage::Open(DataDir());
    storage->ImportCatalogue(DemoCatalogue());
    storage->SaveCheck({}, {},
                       {{"inst-1", "Demo App", "scanfix_app.exe", "00002.00000.00000.00000"}});
    storage->SaveContribution(std::nullopt, AppUrls("https://pending/", ""));
    CatalogueEntry changed = DemoCatalogue()[0];
    changed.productUrl = "https://pending/";
    const struct {
        const char* trigger;
        std::function<void()> write;
    } cases[] = {
        {"BEFORE INSERT ON url_submissions",
         [&] {
             storage->SaveContribution(AppNote("kept?", "2026-12-11 10:00:00"),
                                       AppUrls("https://a/", ""));
         }},
        {"BEFORE UPDATE ON url_submissions", [&] { storage->ApproveUrls(changed, 1); }},
        {"BEFORE UPDATE ON url_submissions",
         [&] { storage->RejectPending("Demo App", "scanfix_app.exe", ""); }},
    };
    const auto catalogue = Fields(storage->LoadCatalogue());
    for (const auto& c : cases) {
        Peek().Execute(std::string("CREATE TRIGGER refuse ") + c.trigger +
                       " BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
        EXPECT_THROW(c.write(), StorageError) << c.trigger;
        Peek().Execute("DROP TRIGGER refuse");
        EXPECT_TRUE(storage->LoadNotes("Demo App", "scanfix_app.exe", 10).empty());
        EXPECT_EQ(Fields(storage->LoadCatalogue()), catalogue);
        EXPECT_TRUE(storage->HighestSubmission("Demo App", "scanfix_app.exe", ""));
        ASSERT_TRUE(storage->NewestUrls("Demo App", "scanfix_app.exe"));
        EXPECT_EQ(storage->NewestUrls("Demo App", "scanfix_app.exe")->productUrl,
                  "https://pending/");
    }
    // A comment must not be empty, whoever writes.
    EXPECT_THROW(storage->SaveContribution(AppNote("", "x"), std::nullopt), StorageError);
}

TEST_F(ContributionsOnDisk, UpgradesASchemaVersion3DatabaseKeepingEveryRow) {
    const std::string png("\x89PNG\r\n\x1a\n\0 icon", 14);
    std::filesystem::create_directories(DataDir());
    {
        auto db = Peek();
        SqliteStorage::MigrateTo(db, 3);
        db.Execute(R"sql(
INSERT INTO programs VALUES ('demo app', 'scanfix_app.exe', 'Demo App', 'scanfix_app.exe',
    '1.3.0.0', 'https://example.org/demo-app', '', 'Faster start', 0);
INSERT INTO installations (id, installation) VALUES (1, 'inst-1'), (2, 'inst-2');
INSERT INTO report_programs (id, name_key, exe_key, program_name, exe_filename)
VALUES (1, 'demo app', 'scanfix_app.exe', 'Demo App', 'scanfix_app.exe');
INSERT INTO reports VALUES (1, 1, '00001.00000.00000.00000', 'c:\a\', '2024-05-01 12:00:00',
    4096, NULL, NULL);
INSERT INTO reports VALUES (2, 1, '00002.00000.00000.00000', '', '', 1, 'DEMO app',
    'SCANFIX_APP.EXE');
INSERT INTO details VALUES ('scanfix_app.exe', '00001.00000.00000.00000', 'scanfix_app.exe', 'd');
INSERT INTO submissions VALUES ('inst-2', 'demo app', 'scanfix_app.exe',
    '00002.00000.00000.00000', 'DEMO app', 'SCANFIX_APP.EXE');
INSERT INTO accounts (name_key, name, moderator) VALUES ('moderator', 'Moderator', 1);
)sql");
        SqliteStatement icon(db, "INSERT INTO icons VALUES ('demo app', 'scanfix_app.exe', "
                                 "'Demo App', 'scanfix_app.exe', ?1)");
        icon.BindBlob(1, png);
        icon.Run();
    }

    auto storage = SqliteStorage::Open(DataDir());
    {
        auto db = Peek();
        SqliteStatement version(db, "PRAGMA user_version");
        ASSERT_TRUE(version.Step());
        EXPECT_EQ(version.ColumnInt64(0), SqliteStorage::SchemaVersion());
        SqliteStatement details(db, "SELECT count(*) FROM details");
        ASSERT_TRUE(details.Step());
        EXPECT_EQ(details.ColumnInt64(0), 1);
    }
    CatalogueEntry app = DemoCatalogue()[0];
    app.downloadUrl = "";
    app.comments = "Faster start";
    app.hasIcon = true; // uploaded
    EXPECT_EQ(Fields(storage->LoadCatalogue()), Fields({app}));
    const auto reports = storage->LoadReports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(std::tie(reports[0].installation, reports[0].programName, reports[0].versionX,
                       reports[0].exePath, reports[0].exeDate, reports[0].exeSize),
              std::make_tuple("inst-1", "Demo App", "00001.00000.00000.00000", "c:\\a\\",
                              "2024-05-01 12:00:00", 4096));
    EXPECT_EQ(std::tie(reports[1].installation, reports[1].programName, reports[1].exeFilename,
                       reports[1].versionX),
              std::make_tuple("inst-2", "DEMO app", "SCANFIX_APP.EXE", "00002.00000.00000.00000"));
    const auto submissions = storage->LoadSubmissions();
    ASSERT_EQ(submissions.size(), 1u);
    EXPECT_EQ(
        std::tie(submissions[0].installation, submissions[0].programName, submissions[0].versionX),
        std::make_tuple("inst-2", "DEMO app", "00002.00000.00000.00000"));
    EXPECT_EQ(storage->LoadIcon("Demo App", "scanfix_app.exe"), png);
    const auto moderator = storage->FindAccount("Moderator");
    ASSERT_TRUE(moderator);
    EXPECT_TRUE(moderator->moderator);
    EXPECT_EQ(moderator->installation, "");
    // The old submission is pending, and the new tables take rows.
    ASSERT_TRUE(storage->HighestSubmission("Demo App", "scanfix_app.exe", "00001.00003"));
    storage->SaveContribution(AppNote("after the upgrade", "2026-12-11 10:00:00"),
                              AppUrls("https://u/", ""));
    EXPECT_EQ(storage->LoadNotes("Demo App", "scanfix_app.exe", 1).size(), 1u);
    EXPECT_TRUE(storage->NewestUrls("Demo App", "scanfix_app.exe"));
}

} // namespace
} // namespace torvik::server
