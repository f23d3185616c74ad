#include "server/SqliteStorage.h"

#include <filesystem>
#include <iterator>
#include <string_view>

#include "server/CatalogueFile.h"
#include "server/ProgramLines.h"

namespace torvik::server {
namespace {

// The schema steps in order: step i takes a database from version i to
// i + 1 and ends by recording that version. A released step never changes;
// a new layout is a new step at the end.
constexpr std::string_view kSchemaSteps[] = {
    R"sql(
CREATE TABLE programs (
    name_key       TEXT NOT NULL CHECK (name_key <> ''),
    exe_key        TEXT NOT NULL CHECK (exe_key <> ''),
    program_name   TEXT NOT NULL,
    exe_filename   TEXT NOT NULL,
    latest_version TEXT NOT NULL CHECK (latest_version <> ''),
    product_url    TEXT NOT NULL,
    download_url   TEXT NOT NULL,
    comments       TEXT NOT NULL,
    has_icon       INTEGER NOT NULL CHECK (has_icon IN (0, 1)),
    PRIMARY KEY (name_key, exe_key)
) WITHOUT ROWID;
CREATE TABLE reports (
    installation TEXT NOT NULL,
    name_key     TEXT NOT NULL,
    exe_key      TEXT NOT NULL,
    program_name TEXT NOT NULL,
    exe_filename TEXT NOT NULL,
    version_x    TEXT NOT NULL,
    exe_path     TEXT NOT NULL,
    exe_date     TEXT NOT NULL,
    exe_size     INTEGER NOT NULL,
    PRIMARY KEY (installation, name_key, exe_key)
) WITHOUT ROWID;
CREATE TABLE details (
    exe_key      TEXT NOT NULL,
    version_x    TEXT NOT NULL,
    exe_filename TEXT NOT NULL,
    details      TEXT NOT NULL,
    PRIMARY KEY (exe_key, version_x)
) WITHOUT ROWID;
CREATE TABLE submissions (
    installation TEXT NOT NULL,
    name_key     TEXT NOT NULL,
    exe_key      TEXT NOT NULL,
    version_x    TEXT NOT NULL,
    program_name TEXT NOT NULL,
    exe_filename TEXT NOT NULL,
    PRIMARY KEY (installation, name_key, exe_key, version_x)
) WITHOUT ROWID;
CREATE TABLE accounts (
    name_key      TEXT NOT NULL PRIMARY KEY,
    name          TEXT NOT NULL CHECK (name <> ''),
    password_hash TEXT NOT NULL DEFAULT '',
    moderator     INTEGER NOT NULL CHECK (moderator IN (0, 1))
) WITHOUT ROWID;
PRAGMA user_version = 1;
)sql",
};

constexpr int kSchemaVersion = static_cast<int>(std::size(kSchemaSteps));

int64_t UserVersion(const SqliteConnection& connection) {
    SqliteStatement statement(connection, "PRAGMA user_version");
    statement.Step();
    return statement.ColumnInt64(0);
}

// Brings the schema up to date, one step per transaction, so that a failed
// step leaves the last good version. An up-to-date database is only read,
// so opening it does not wait for another connection's write. A step
// re-reads the version under the write lock: of two processes opening a new
// database, only one creates the tables.
void Migrate(SqliteConnection& connection) {
    for (;;) {
        const int64_t version = UserVersion(connection);
        if (version > kSchemaVersion) {
            throw StorageError("the database has schema version " + std::to_string(version) +
                               ", newer than version " + std::to_string(kSchemaVersion) +
                               " that this torvik-service knows; use a newer torvik-service");
        }
        if (version == kSchemaVersion) {
            return;
        }
        SqliteTransaction transaction(connection);
        if (UserVersion(connection) != version) {
            continue; // another connection took the step meanwhile
        }
        connection.Execute(kSchemaSteps[version]);
        if (UserVersion(connection) != version + 1) {
            throw StorageError("schema step " + std::to_string(version + 1) +
                               " did not record its version");
        }
        transaction.Commit();
    }
}

} // namespace

int SqliteStorage::SchemaVersion() {
    return kSchemaVersion;
}

std::string SqliteStorage::DatabasePath(const std::string& dataDir) {
    return (std::filesystem::path(dataDir) / "torvik.db").string();
}

std::unique_ptr<SqliteStorage> SqliteStorage::Open(const std::string& dataDir) {
    std::error_code error;
    std::filesystem::create_directories(dataDir, error);
    if (error) {
        throw StorageError("cannot create the data folder \"" + dataDir + "\": " + error.message());
    }
    return std::make_unique<SqliteStorage>(SqliteConnection::Open(DatabasePath(dataDir)));
}

std::unique_ptr<SqliteStorage> SqliteStorage::InMemory() {
    return std::make_unique<SqliteStorage>(SqliteConnection::Open(":memory:"));
}

SqliteStorage::SqliteStorage(SqliteConnection connection) : connection_(std::move(connection)) {
    Migrate(connection_);
}

void SqliteStorage::ImportCatalogue(const std::vector<CatalogueEntry>& entries) {
    const std::lock_guard lock(mutex_);
    SqliteTransaction transaction(connection_);
    SqliteStatement upsert(connection_, R"sql(
INSERT INTO programs (name_key, exe_key, program_name, exe_filename, latest_version,
                      product_url, download_url, comments, has_icon)
VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)
ON CONFLICT (name_key, exe_key) DO UPDATE SET
    program_name = excluded.program_name, exe_filename = excluded.exe_filename,
    latest_version = excluded.latest_version, product_url = excluded.product_url,
    download_url = excluded.download_url, comments = excluded.comments,
    has_icon = excluded.has_icon)sql");
    for (const auto& entry : entries) {
        upsert.BindText(1, KeyOf(entry.programName));
        upsert.BindText(2, KeyOf(entry.exeFilename));
        upsert.BindText(3, entry.programName);
        upsert.BindText(4, entry.exeFilename);
        upsert.BindText(5, entry.latestVersion);
        upsert.BindText(6, entry.productUrl);
        upsert.BindText(7, entry.downloadUrl);
        upsert.BindText(8, entry.comments);
        upsert.BindInt64(9, entry.hasIcon ? 1 : 0);
        upsert.Run();
        upsert.Reset();
    }
    transaction.Commit();
}

std::vector<CatalogueEntry> SqliteStorage::LoadCatalogue() const {
    const std::lock_guard lock(mutex_);
    SqliteStatement select(connection_, R"sql(
SELECT program_name, exe_filename, latest_version, product_url, download_url, comments, has_icon
FROM programs ORDER BY name_key, exe_key)sql");
    std::vector<CatalogueEntry> entries;
    while (select.Step()) {
        entries.push_back({.programName = select.ColumnText(0),
                           .exeFilename = select.ColumnText(1),
                           .latestVersion = select.ColumnText(2),
                           .productUrl = select.ColumnText(3),
                           .downloadUrl = select.ColumnText(4),
                           .comments = select.ColumnText(5),
                           .hasIcon = select.ColumnInt64(6) != 0});
    }
    return entries;
}

void SqliteStorage::ForEachReport(const std::function<void(const Report&)>& each) const {
    const std::lock_guard lock(mutex_);
    SqliteStatement select(connection_, R"sql(
SELECT installation, program_name, exe_filename, version_x, exe_path, exe_date, exe_size
FROM reports ORDER BY installation, name_key, exe_key)sql");
    while (select.Step()) {
        each({.installation = select.ColumnText(0),
              .programName = select.ColumnText(1),
              .exeFilename = select.ColumnText(2),
              .versionX = select.ColumnText(3),
              .exePath = select.ColumnText(4),
              .exeDate = select.ColumnText(5),
              .exeSize = select.ColumnInt64(6)});
    }
}

void SqliteStorage::ForEachSubmission(const std::function<void(const Submission&)>& each) const {
    const std::lock_guard lock(mutex_);
    SqliteStatement select(connection_, R"sql(
SELECT installation, program_name, exe_filename, version_x
FROM submissions ORDER BY installation, name_key, exe_key, version_x)sql");
    while (select.Step()) {
        each({.installation = select.ColumnText(0),
              .programName = select.ColumnText(1),
              .exeFilename = select.ColumnText(2),
              .versionX = select.ColumnText(3)});
    }
}

void SqliteStorage::SaveCheck(const std::vector<Report>& changedReports,
                              const std::vector<DetailsRow>& details,
                              const std::vector<Submission>& submissions) {
    const std::lock_guard lock(mutex_);
    SqliteTransaction transaction(connection_);
    SqliteStatement report(connection_, R"sql(
INSERT INTO reports (installation, name_key, exe_key, program_name, exe_filename, version_x,
                     exe_path, exe_date, exe_size)
VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)
ON CONFLICT (installation, name_key, exe_key) DO UPDATE SET
    program_name = excluded.program_name, exe_filename = excluded.exe_filename,
    version_x = excluded.version_x, exe_path = excluded.exe_path,
    exe_date = excluded.exe_date, exe_size = excluded.exe_size)sql");
    for (const auto& row : changedReports) {
        report.BindText(1, row.installation);
        report.BindText(2, KeyOf(row.programName));
        report.BindText(3, KeyOf(row.exeFilename));
        report.BindText(4, row.programName);
        report.BindText(5, row.exeFilename);
        report.BindText(6, row.versionX);
        report.BindText(7, row.exePath);
        report.BindText(8, row.exeDate);
        report.BindInt64(9, row.exeSize);
        report.Run();
        report.Reset();
    }
    SqliteStatement detailsText(connection_, R"sql(
INSERT INTO details (exe_key, version_x, exe_filename, details) VALUES (?1, ?2, ?3, ?4)
ON CONFLICT (exe_key, version_x) DO NOTHING)sql");
    for (const auto& row : details) {
        detailsText.BindText(1, KeyOf(row.exeFilename));
        detailsText.BindText(2, row.versionX);
        detailsText.BindText(3, row.exeFilename);
        detailsText.BindText(4, row.details);
        detailsText.Run();
        detailsText.Reset();
    }
    SqliteStatement submission(connection_, R"sql(
INSERT INTO submissions (installation, name_key, exe_key, version_x, program_name, exe_filename)
VALUES (?1, ?2, ?3, ?4, ?5, ?6)
ON CONFLICT (installation, name_key, exe_key, version_x) DO NOTHING)sql");
    for (const auto& row : submissions) {
        submission.BindText(1, row.installation);
        submission.BindText(2, KeyOf(row.programName));
        submission.BindText(3, KeyOf(row.exeFilename));
        submission.BindText(4, row.versionX);
        submission.BindText(5, row.programName);
        submission.BindText(6, row.exeFilename);
        submission.Run();
        submission.Reset();
    }
    transaction.Commit();
}

int64_t SqliteStorage::DataVersion() const {
    const std::lock_guard lock(mutex_);
    SqliteStatement pragma(connection_, "PRAGMA data_version");
    pragma.Step();
    return pragma.ColumnInt64(0);
}

void SqliteStorage::AddAccount(const Account& account) {
    const std::lock_guard lock(mutex_);
    SqliteTransaction transaction(connection_);
    SqliteStatement existing(connection_, "SELECT 1 FROM accounts WHERE name_key = ?1");
    existing.BindText(1, KeyOf(account.name));
    if (existing.Step()) {
        throw StorageError("an account named \"" + account.name + "\" exists already");
    }
    SqliteStatement insert(connection_,
                           "INSERT INTO accounts (name_key, name, moderator) VALUES (?1, ?2, ?3)");
    insert.BindText(1, KeyOf(account.name));
    insert.BindText(2, account.name);
    insert.BindInt64(3, account.moderator ? 1 : 0);
    insert.Run();
    transaction.Commit();
}

std::optional<Account> SqliteStorage::FindAccount(const std::string& name) const {
    const std::lock_guard lock(mutex_);
    SqliteStatement select(connection_, "SELECT name, moderator FROM accounts WHERE name_key = ?1");
    select.BindText(1, KeyOf(name));
    if (!select.Step()) {
        return std::nullopt;
    }
    return Account{.name = select.ColumnText(0), .moderator = select.ColumnInt64(1) != 0};
}

} // namespace torvik::server
