#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <thread>
#include <tuple>

#include "EntryFields.h"
#include "TempDir.h"
#include "server/DemoCatalogue.h"
#include "server/ProgramLines.h"
#include "server/Sqlite.h"
#include "server/SqliteStorage.h"

namespace torvik::server {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::TempDir;
// The entries' form, beside the reports' and submissions' below.
using server::Fields;

using ReportFields = std::tuple<std::string, std::string, std::string, std::string, std::string,
                                std::string, int64_t>;
std::vector<ReportFields> Fields(const std::vector<Report>& reports) {
    std::vector<ReportFields> fields;
    for (const auto& r : reports) {
        fields.emplace_back(r.installation, r.programName, r.exeFilename, r.versionX, r.exePath,
                            r.exeDate, r.exeSize);
    }
    return fields;
}
using SubmissionFields = std::tuple<std::string, std::string, std::string, std::string>;
std::vector<SubmissionFields> Fields(const std::vector<Submission>& submissions) {
    std::vector<SubmissionFields> fields;
    for (const auto& s : submissions) {
        fields.emplace_back(s.installation, s.programName, s.exeFilename, s.versionX);
    }
    return fields;
}

CatalogueEntry Program(const std::string& name, const std::string& exe,
                       const std::string& version) {
    CatalogueEntry entry;
    entry.programName = name;
    entry.exeFilename = exe;
    entry.latestVersion = version;
    return entry;
}

Report AppReport(const std::string& installation, const std::string& versionX) {
    return {.installation = installation,
            .programName = "Demo App",
            .exeFilename = "scanfix_app.exe",
            .versionX = versionX,
            .exePath = "c:\\apps\\scanfix_app.exe",
            .exeDate = "2024-05-01 12:00:00",
            .exeSize = 4096};
}

// Storage in a file, with a second connection to look at or lock the file.
class SqliteStorageTest : public ::testing::Test {
protected:
    SqliteStorageTest() : storage(SqliteStorage::Open(DataDir())) {}

    std::string DataDir() const { return dir.Native("data").string(); }
    SqliteConnection Peek() const {
        return SqliteConnection::Open(SqliteStorage::DatabasePath(DataDir()));
    }
    std::vector<std::tuple<std::string, std::string, std::string>> DetailsRows() const {
        auto db = Peek();
        SqliteStatement select(db, "SELECT exe_filename, version_x, details FROM details "
                                   "ORDER BY exe_key, version_x");
        std::vector<std::tuple<std::string, std::string, std::string>> rows;
        while (select.Step()) {
            rows.emplace_back(select.ColumnText(0), select.ColumnText(1), select.ColumnText(2));
        }
        return rows;
    }

    TempDir dir;
    std::unique_ptr<SqliteStorage> storage;
};

TEST_F(SqliteStorageTest, CreatesTheCurrentSchemaAndKeepsTheDataAcrossReopening) {
    {
        auto db = Peek();
        SqliteStatement version(db, "PRAGMA user_version");
        ASSERT_TRUE(version.Step());
        EXPECT_EQ(version.ColumnInt64(0), SqliteStorage::SchemaVersion());
    }
    storage->ImportCatalogue(DemoCatalogue());
    storage->SaveCheck({AppReport("inst-1", "00001.00002.00000.00000")}, {}, {});
    storage->AddAccount({.name = "Moderator", .moderator = true});
    storage.reset();

    storage = SqliteStorage::Open(DataDir());
    EXPECT_EQ(Fields(storage->LoadCatalogue()).size(), DemoCatalogue().size());
    EXPECT_THAT(Fields(storage->LoadReports()),
                ElementsAre(Fields({AppReport("inst-1", "00001.00002.00000.00000")})[0]));
    ASSERT_TRUE(storage->FindAccount("moderator").has_value());
    EXPECT_TRUE(storage->FindAccount("moderator")->moderator);
}

TEST_F(SqliteStorageTest, RefusesADatabaseOfANewerSchemaAndLeavesItAlone) {
    storage.reset();
    ASSERT_LT(SqliteStorage::SchemaVersion(), 1000);
    Peek().Execute("PRAGMA user_version = 1000");
    try {
        SqliteStorage::Open(DataDir());
        ADD_FAILURE() << "a newer database was opened";
    } catch (const StorageError& e) {
        EXPECT_THAT(e.what(),
                    AllOf(HasSubstr("schema version 1000"), HasSubstr("newer torvik-service")));
    }
    auto db = Peek();
    SqliteStatement version(db, "PRAGMA user_version");
    ASSERT_TRUE(version.Step());
    EXPECT_EQ(version.ColumnInt64(0), 1000);
}

TEST_F(SqliteStorageTest, UpgradesASchemaVersion1DatabaseKeepingEveryRow) {
    storage.reset();
    std::filesystem::remove(SqliteStorage::DatabasePath(DataDir()));
    // Reports as version 1 held them: each row with its own spelling of the
    // names, two spellings of one program among the installations.
    const std::vector<Report> reports = {
        AppReport("inst-1", "00001.00000.00000.00000"),
        {"inst-1", "Other Tool", "other.exe", "00000.00009.00000.00000", "d:\\other.exe",
         "2023-01-02 03:04:05", 7},
        {"inst-2", "DEMO app", "SCANFIX_APP.EXE", "00002.00000.00000.00000",
         "c:\\x\\SCANFIX_APP.EXE", "2024-06-01 00:00:00", 1},
        {"inst-3", "demo App", "scanfix_app.exe", "00003.00000.00000.00000", "", "", 0},
    };
    const std::vector<Submission> submissions = {
        {"inst-2", "DEMO app", "SCANFIX_APP.EXE", "00002.00000.00000.00000"}};
    {
        auto db = Peek();
        SqliteStorage::MigrateTo(db, 1);
        SqliteStatement report(db, R"sql(
INSERT INTO reports (installation, name_key, exe_key, program_name, exe_filename, version_x,
                     exe_path, exe_date, exe_size)
VALUES (?1, lower(?2), lower(?3), ?2, ?3, ?4, ?5, ?6, ?7))sql");
        for (const Report& r : reports) {
            report.BindText(1, r.installation);
            report.BindText(2, r.programName);
            report.BindText(3, r.exeFilename);
            report.BindText(4, r.versionX);
            report.BindText(5, r.exePath);
            report.BindText(6, r.exeDate);
            report.BindInt64(7, r.exeSize);
            report.Run();
            report.Reset();
        }
        db.Execute(R"sql(
INSERT INTO submissions VALUES
    ('inst-2', 'demo app', 'scanfix_app.exe', '00002.00000.00000.00000', 'DEMO app',
     'SCANFIX_APP.EXE');
INSERT INTO details VALUES ('scanfix_app.exe', '00001.00000.00000.00000', 'scanfix_app.exe', 'd');
INSERT INTO accounts (name_key, name, moderator) VALUES ('moderator', 'Moderator', 1);
)sql");
        SqliteStatement version(db, "PRAGMA user_version");
        ASSERT_TRUE(version.Step());
        ASSERT_EQ(version.ColumnInt64(0), 1);
    }

    storage = SqliteStorage::Open(DataDir());
    {
        auto db = Peek();
        SqliteStatement version(db, "PRAGMA user_version");
        ASSERT_TRUE(version.Step());
        EXPECT_EQ(version.ColumnInt64(0), SqliteStorage::SchemaVersion());
    }
    EXPECT_EQ(Fields(storage->LoadReports()), Fields(reports));
    EXPECT_EQ(Fields(storage->LoadSubmissions()), Fields(submissions));
    EXPECT_EQ(DetailsRows().size(), 1u);
    EXPECT_TRUE(storage->FindAccount("moderator").has_value());

    // An upgraded row is replaced by the next report of its program, in any
    // spelling, and the installations and programs keep their numbers.
    Report later = AppReport("inst-3", "00004.00000.00000.00000");
    later.programName = "Demo APP";
    storage->SaveCheck({later, AppReport("inst-4", "00001.00000.00000.00000")}, {}, {});
    std::vector<Report> expected = reports;
    expected[3] = later;
    expected.push_back(AppReport("inst-4", "00001.00000.00000.00000"));
    EXPECT_EQ(Fields(storage->LoadReports()), Fields(expected));
    storage.reset();
    storage = SqliteStorage::Open(DataDir());
    EXPECT_EQ(Fields(storage->LoadReports()), Fields(expected));
}

TEST_F(SqliteStorageTest, OpenCreatesMissingFoldersAndFailsOnAFileInTheWay) {
    const std::string nested = dir.Native("a/b/c").string();
    SqliteStorage::Open(nested);
    EXPECT_TRUE(std::filesystem::exists(SqliteStorage::DatabasePath(nested)));

    dir.Write("plain-file");
    EXPECT_THROW(SqliteStorage::Open(dir.Native("plain-file/data").string()), StorageError);
}

TEST_F(SqliteStorageTest, ImportReplacesProgramsByKeyIgnoringAsciiCaseAndKeepsTheOthers) {
    storage->ImportCatalogue({Program("Demo App", "scanfix_app.exe", "1.0"),
                              Program("Demo Tool", "scanfix_tool.exe", "2.0"),
                              Program("\xC3\x89"
                                      "diteur",
                                      "e.exe", "1")}); // "Éditeur"
    storage->ImportCatalogue({Program("DEMO APP", "Scanfix_App.EXE", "1.1"),
                              // Only A to Z fold: "éditeur" is another program.
                              Program("\xC3\xA9"
                                      "diteur",
                                      "E.EXE", "2")});
    EXPECT_THAT(Fields(storage->LoadCatalogue()),
                ElementsAre(Fields({Program("DEMO APP", "Scanfix_App.EXE", "1.1")})[0],
                            Fields({Program("Demo Tool", "scanfix_tool.exe", "2.0")})[0],
                            Fields({Program("\xC3\x89"
                                            "diteur",
                                            "e.exe", "1")})[0],
                            Fields({Program("\xC3\xA9"
                                            "diteur",
                                            "E.EXE", "2")})[0]));
}

TEST_F(SqliteStorageTest, TextsRoundTripByteForByte) {
    const std::string texts[] = {"'; DROP TABLE programs; --",
                                 "a|b|c",
                                 "\"quoted\" %_\\ ?1 :x @y $z",
                                 "\xE6\x97\xA5\xE6\x9C\xAC \xC3\xBC\xC3\x9F",
                                 "line\r\nbreak",
                                 std::string("nul\0in", 6)};
    std::vector<CatalogueEntry> entries;
    std::vector<Report> reports;
    std::vector<Submission> submissions;
    for (size_t i = 0; i < std::size(texts); ++i) {
        const std::string& t = texts[i];
        const std::string exe = std::to_string(i) + t + ".exe";
        entries.push_back({t, exe, "1.0", t, t, t, true});
        reports.push_back({t, t, exe, t, t, t, static_cast<int64_t>(i) << 40});
        submissions.push_back({t, t, exe, t});
        storage->AddAccount({.name = exe});
        EXPECT_EQ(storage->FindAccount(exe).value().name, exe);
    }
    storage->ImportCatalogue(entries);
    storage->SaveCheck(reports, {}, submissions);
    auto sorted = [](auto fields) {
        std::sort(fields.begin(), fields.end());
        return fields;
    };
    EXPECT_EQ(sorted(Fields(storage->LoadCatalogue())), sorted(Fields(entries)));
    EXPECT_EQ(sorted(Fields(storage->LoadReports())), sorted(Fields(reports)));
    EXPECT_EQ(sorted(Fields(storage->LoadSubmissions())), sorted(Fields(submissions)));
}

TEST_F(SqliteStorageTest, AFailedImportLeavesTheCatalogueAsItWas) {
    storage->ImportCatalogue(DemoCatalogue());
    const auto before = Fields(storage->LoadCatalogue());
    // The second program breaks a constraint after the first was written.
    EXPECT_THROW(storage->ImportCatalogue(
                     {Program("Demo App", "scanfix_app.exe", "9.9"), Program("", "x.exe", "1.0")}),
                 StorageError);
    EXPECT_EQ(Fields(storage->LoadCatalogue()), before);
}

TEST_F(SqliteStorageTest, SaveCheckReplacesReportsAddsDetailsOnceAndSubmissionsOnce) {
    storage->SaveCheck({AppReport("inst-1", "00001.00000.00000.00000"),
                        AppReport("inst-2", "00001.00000.00000.00000")},
                       {{"scanfix_app.exe", "00001.00000.00000.00000", "first"}},
                       {{"inst-1", "Demo App", "scanfix_app.exe", "00002.00000.00000.00000"}});

    Report changed = AppReport("inst-1", "00002.00000.00000.00000");
    changed.programName = "DEMO app"; // the same program in another spelling
    changed.exeFilename = "SCANFIX_APP.EXE";
    changed.exeSize = 8192;
    storage->SaveCheck({changed},
                       {{"Scanfix_App.exe", "00001.00000.00000.00000", "second"},
                        {"scanfix_app.exe", "00002.00000.00000.00000", "third"}},
                       {{"inst-1", "demo app", "scanfix_app.exe", "00002.00000.00000.00000"},
                        {"inst-1", "Demo App", "scanfix_app.exe", "00003.00000.00000.00000"}});

    EXPECT_EQ(Fields(storage->LoadReports()),
              Fields({changed, AppReport("inst-2", "00001.00000.00000.00000")}));
    EXPECT_THAT(DetailsRows(),
                ElementsAre(std::tuple("scanfix_app.exe", "00001.00000.00000.00000", "first"),
                            std::tuple("scanfix_app.exe", "00002.00000.00000.00000", "third")));
    EXPECT_EQ(Fields(storage->LoadSubmissions()),
              Fields(std::vector<Submission>{
                  {"inst-1", "Demo App", "scanfix_app.exe", "00002.00000.00000.00000"},
                  {"inst-1", "Demo App", "scanfix_app.exe", "00003.00000.00000.00000"}}));
}

TEST_F(SqliteStorageTest, ALargeCheckKeepsTheLastReportOfEachProgramAndTheFirstDetails) {
    // Rows are written many to a statement: a program reported again later
    // in the same check, in the same statement or a later one, ends with the
    // last report, as row-by-row writing would leave it.
    std::vector<Report> reports;
    std::vector<DetailsRow> details;
    std::vector<Submission> submissions;
    for (int i = 0; i < 100; ++i) {
        Report r = AppReport("inst-1", "00001.00000.00000.00000");
        r.programName = "Program " + std::to_string(i);
        r.exeSize = i;
        reports.push_back(r);
        details.push_back({"app" + std::to_string(i) + ".exe", "00001.00000.00000.00000",
                           "details " + std::to_string(i)});
        submissions.push_back({"inst-1", r.programName, r.exeFilename, "00002.00000.00000.00000"});
    }
    const std::vector<Report> firstReports = reports;
    const std::vector<Submission> firstSubmissions = submissions;
    const auto again = [&](int program, size_t at, int64_t size) {
        Report r = firstReports[static_cast<size_t>(program)];
        r.programName = "PROGRAM " + std::to_string(program); // another spelling, same key
        r.exeSize = size;
        reports.insert(reports.begin() + static_cast<long>(at), r);
        details.insert(
            details.begin() + static_cast<long>(at),
            {"APP" + std::to_string(program) + ".EXE", "00001.00000.00000.00000", "later"});
        submissions.insert(submissions.begin() + static_cast<long>(at),
                           firstSubmissions[static_cast<size_t>(program)]);
    };
    again(4, 5, 1004);               // right after the first, in the same statement
    again(10, 70, 1010);             // in a later statement
    again(20, reports.size(), 1020); // the last row, written alone
    storage->SaveCheck(reports, details, submissions);

    const auto stored = storage->LoadReports();
    ASSERT_EQ(stored.size(), 100u);
    std::map<std::string, Report> byName;
    for (const Report& r : stored) {
        byName[KeyOf(r.programName)] = r;
    }
    for (int i = 0; i < 100; ++i) {
        const Report& r = byName["program " + std::to_string(i)];
        const bool repeated = i == 4 || i == 10 || i == 20;
        EXPECT_EQ(r.exeSize, repeated ? 1000 + i : i) << i;
        EXPECT_EQ(r.programName, (repeated ? "PROGRAM " : "Program ") + std::to_string(i)) << i;
    }
    const auto rows = DetailsRows();
    ASSERT_EQ(rows.size(), 100u);
    for (const auto& [exe, version, text] : rows) {
        EXPECT_EQ(text.rfind("details ", 0), 0u) << exe << ": the first details stay";
    }
    EXPECT_EQ(storage->LoadSubmissions().size(), 100u);
}

TEST_F(SqliteStorageTest, AFailureInTheMiddleOfSaveCheckWritesNothing) {
    // Reports and details are written before the submissions, which fail.
    Peek().Execute("CREATE TRIGGER refuse BEFORE INSERT ON submissions "
                   "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    const Report report = AppReport("inst-1", "00001.00000.00000.00000");
    const DetailsRow details{"scanfix_app.exe", "00001.00000.00000.00000", "text"};
    try {
        storage->SaveCheck({report}, {details},
                           {{"inst-1", "Demo App", "scanfix_app.exe", "00002.00000.00000.00000"}});
        ADD_FAILURE() << "the trigger did not refuse";
    } catch (const StorageError& e) {
        EXPECT_THAT(e.what(), HasSubstr("refused by the test"));
    }
    EXPECT_TRUE(storage->LoadReports().empty());
    EXPECT_TRUE(DetailsRows().empty());

    // The connection is usable again, and a write that avoids the fault lands.
    storage->SaveCheck({report}, {details}, {});
    EXPECT_EQ(storage->LoadReports().size(), 1u);
    EXPECT_EQ(DetailsRows().size(), 1u);
}

TEST_F(SqliteStorageTest, ProgramNumbersOfAFailedOrAnotherConnectionsWriteNameTheRightProgram) {
    // A number handed out in a write that failed may go to another program;
    // one given by another connection must be found, not taken again.
    const auto report = [](const std::string& installation, const std::string& name) {
        Report r = AppReport(installation, "00001.00000.00000.00000");
        r.programName = name;
        return r;
    };
    Peek().Execute("CREATE TRIGGER refuse BEFORE INSERT ON submissions "
                   "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    EXPECT_THROW(storage->SaveCheck({report("inst-1", "Failed First")}, {},
                                    {{"inst-1", "Failed First", "x.exe", "00002"}}),
                 StorageError);
    Peek().Execute("DROP TRIGGER refuse");
    auto other = SqliteStorage::Open(DataDir());
    other->SaveCheck({report("inst-2", "Written Elsewhere")}, {}, {});
    storage->SaveCheck({report("inst-1", "Written Elsewhere"), report("inst-1", "Failed First")},
                       {}, {});
    other->SaveCheck({report("inst-2", "Failed First")}, {}, {});

    const std::vector<Report> expected = {
        report("inst-1", "Failed First"), report("inst-1", "Written Elsewhere"),
        report("inst-2", "Failed First"), report("inst-2", "Written Elsewhere")};
    EXPECT_EQ(Fields(storage->LoadReports()), Fields(expected));
    EXPECT_EQ(Fields(other->LoadReports()), Fields(expected));
}

TEST_F(SqliteStorageTest, AWriteLockedDatabaseFailsTheWriteAfterTheBusyTimeout) {
    auto other = Peek();
    SqliteTransaction lock(other);
    SqliteStorage impatient(SqliteConnection::Open(SqliteStorage::DatabasePath(DataDir()),
                                                   std::chrono::milliseconds(20)));
    EXPECT_THROW(impatient.SaveCheck({AppReport("inst-1", "00001.00000.00000.00000")}, {}, {}),
                 StorageError);
}

TEST_F(SqliteStorageTest, DataVersionChangesWithCommitsOfOtherConnectionsOnly) {
    auto other = SqliteStorage::Open(DataDir());
    const int64_t start = storage->DataVersion();

    storage->ImportCatalogue(DemoCatalogue());
    EXPECT_EQ(storage->DataVersion(), start) << "its own commit";

    other->SaveCheck({AppReport("inst-1", "00001.00000.00000.00000")}, {}, {});
    const int64_t afterOther = storage->DataVersion();
    EXPECT_NE(afterOther, start);

    // A write that changes nothing (the same catalogue again) may leave it.
    other->ImportCatalogue({Program("New", "new.exe", "1")});
    EXPECT_NE(storage->DataVersion(), afterOther);
}

TEST_F(SqliteStorageTest, TheFirstIconOfAProgramStaysAndOutlivesImports) {
    storage->ImportCatalogue({Program("Demo App", "scanfix_app.exe", "1.0")});
    const std::string png("\x89PNG\r\n\x1a\n\0\xff bytes", 16);
    EXPECT_TRUE(storage->SaveIcon("DEMO APP", "Scanfix_App.exe", png));
    EXPECT_FALSE(storage->SaveIcon("Demo App", "scanfix_app.exe", "another"));
    EXPECT_EQ(storage->LoadIcon("demo app", "SCANFIX_APP.EXE"), png) << "bytes, not text";
    EXPECT_EQ(storage->LoadIcon("Demo Tool", "scanfix_tool.exe"), std::nullopt);
    // An import that says the program has no icon does not undo the upload.
    storage->ImportCatalogue({Program("Demo App", "scanfix_app.exe", "2.0"),
                              Program("Demo Tool", "scanfix_tool.exe", "1.0")});
    storage.reset();
    storage = SqliteStorage::Open(DataDir());
    std::map<std::string, bool> hasIcon;
    for (const auto& entry : storage->LoadCatalogue()) {
        hasIcon[entry.programName] = entry.hasIcon;
    }
    EXPECT_EQ(hasIcon, (std::map<std::string, bool>{{"Demo App", true}, {"Demo Tool", false}}));
    EXPECT_EQ(storage->LoadIcon("Demo App", "scanfix_app.exe"), png);
}

TEST_F(SqliteStorageTest, AccountNamesAreUniqueIgnoringAsciiCase) {
    storage->AddAccount({.name = "Alice", .moderator = true});
    EXPECT_THROW(storage->AddAccount({.name = "ALICE"}), StorageError);
    EXPECT_THROW(storage->AddAccount({.name = ""}), StorageError);
    // Only A to Z fold: "Ålice" and "ålice" are two names.
    storage->AddAccount({.name = "\xC3\x85lice"});
    storage->AddAccount({.name = "\xC3\xA5lice"});

    const auto alice = storage->FindAccount("aLiCe");
    ASSERT_TRUE(alice.has_value());
    EXPECT_EQ(alice->name, "Alice");
    EXPECT_TRUE(alice->moderator);
    EXPECT_FALSE(storage->FindAccount("\xC3\xA5lice").value().moderator);
    EXPECT_FALSE(storage->FindAccount("Bob").has_value());
}

TEST_F(SqliteStorageTest, WritesFromSeveralThreadsAllLand) {
    constexpr int kThreads = 4;
    constexpr int kChecks = 25;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < kChecks; ++i) {
                storage->SaveCheck(
                    {AppReport("inst-" + std::to_string(t) + "-" + std::to_string(i), "1")}, {},
                    {});
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(storage->LoadReports().size(), static_cast<size_t>(kThreads * kChecks));
}

TEST(SqliteStorageInMemoryTest, StartsEmptyAndIsPrivateToTheObject) {
    auto first = SqliteStorage::InMemory();
    first->ImportCatalogue(DemoCatalogue());
    EXPECT_EQ(first->LoadCatalogue().size(), DemoCatalogue().size());
    auto second = SqliteStorage::InMemory();
    EXPECT_TRUE(second->LoadCatalogue().empty());
    EXPECT_TRUE(second->LoadReports().empty());
    EXPECT_TRUE(second->LoadSubmissions().empty());
}

} // namespace
} // namespace torvik::server
