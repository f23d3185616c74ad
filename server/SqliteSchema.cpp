// The tables of SqliteStorage, version after version.
#include "server/SqliteSchema.h"

#include <iterator>
#include <string>

#include "server/Storage.h"

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
    // Reports name their installation and program by number: the texts
    // repeated on every row made the rows, and so each check's writes,
    // twice as large. A report keeps its own spelling of the names only
    // where it differs from the program's (NULL otherwise).
    R"sql(
CREATE TABLE installations (
    id           INTEGER PRIMARY KEY,
    installation TEXT NOT NULL UNIQUE
);
CREATE TABLE report_programs (
    id           INTEGER PRIMARY KEY,
    name_key     TEXT NOT NULL,
    exe_key      TEXT NOT NULL,
    program_name TEXT NOT NULL,
    exe_filename TEXT NOT NULL,
    UNIQUE (name_key, exe_key)
);
INSERT INTO installations (installation)
SELECT DISTINCT installation FROM reports ORDER BY installation;
INSERT INTO report_programs (name_key, exe_key, program_name, exe_filename)
SELECT name_key, exe_key, min(program_name), min(exe_filename) FROM reports
GROUP BY name_key, exe_key ORDER BY name_key, exe_key;
CREATE TABLE reports_by_id (
    installation_id INTEGER NOT NULL,
    program_id      INTEGER NOT NULL,
    version_x       TEXT NOT NULL,
    exe_path        TEXT NOT NULL,
    exe_date        TEXT NOT NULL,
    exe_size        INTEGER NOT NULL,
    program_name    TEXT,
    exe_filename    TEXT,
    PRIMARY KEY (installation_id, program_id)
) WITHOUT ROWID;
INSERT INTO reports_by_id
SELECT i.id, p.id, r.version_x, r.exe_path, r.exe_date, r.exe_size,
       nullif(r.program_name, p.program_name), nullif(r.exe_filename, p.exe_filename)
FROM reports r
JOIN installations i ON i.installation = r.installation
JOIN report_programs p ON p.name_key = r.name_key AND p.exe_key = r.exe_key;
DROP TABLE reports;
ALTER TABLE reports_by_id RENAME TO reports;
PRAGMA user_version = 2;
)sql",
    // Icons that clients uploaded, once per program: kept apart from the
    // catalogue, so that an import does not lose them.
    R"sql(
CREATE TABLE icons (
    name_key     TEXT NOT NULL,
    exe_key      TEXT NOT NULL,
    program_name TEXT NOT NULL,
    exe_filename TEXT NOT NULL,
    png          BLOB NOT NULL,
    PRIMARY KEY (name_key, exe_key)
) WITHOUT ROWID;
PRAGMA user_version = 3;
)sql",
    // What users contribute beside their checks: notes and proposed URLs,
    // and what moderators decide on them. A rejected version submission
    // stays, so that the next check of its installation does not submit it
    // again; accounts learn the installation they moderate from.
    R"sql(
CREATE TABLE notes (
    id           INTEGER PRIMARY KEY,
    name_key     TEXT NOT NULL,
    exe_key      TEXT NOT NULL,
    program_name TEXT NOT NULL,
    exe_filename TEXT NOT NULL,
    installation TEXT NOT NULL,
    alias        TEXT NOT NULL,
    comment      TEXT NOT NULL CHECK (comment <> ''),
    tags         TEXT NOT NULL,
    posted_at    TEXT NOT NULL
);
CREATE INDEX notes_by_program ON notes (name_key, exe_key, id);
CREATE TABLE url_submissions (
    id           INTEGER PRIMARY KEY,
    name_key     TEXT NOT NULL,
    exe_key      TEXT NOT NULL,
    program_name TEXT NOT NULL,
    exe_filename TEXT NOT NULL,
    installation TEXT NOT NULL,
    product_url  TEXT NOT NULL,
    download_url TEXT NOT NULL,
    submitted_at TEXT NOT NULL,
    state        TEXT NOT NULL DEFAULT 'pending'
                 CHECK (state IN ('pending', 'approved', 'superseded', 'rejected')),
    CHECK (product_url <> '' OR download_url <> '')
);
CREATE INDEX url_submissions_by_program ON url_submissions (name_key, exe_key, state, id);
CREATE INDEX report_programs_by_exe ON report_programs (exe_key);
ALTER TABLE submissions ADD COLUMN rejected INTEGER NOT NULL DEFAULT 0
    CHECK (rejected IN (0, 1));
ALTER TABLE accounts ADD COLUMN installation TEXT;
CREATE UNIQUE INDEX accounts_by_installation ON accounts (installation)
    WHERE installation IS NOT NULL;
PRAGMA user_version = 4;
)sql",
    // An account may be used from several installations (a reinstall, a
    // second computer): the links move to a table of their own, one account
    // per installation, and the newest link of an account is the one with
    // the highest id.
    R"sql(
CREATE TABLE account_links (
    id           INTEGER PRIMARY KEY,
    installation TEXT NOT NULL UNIQUE CHECK (installation <> ''),
    name_key     TEXT NOT NULL
);
CREATE INDEX account_links_by_account ON account_links (name_key);
INSERT INTO account_links (installation, name_key)
SELECT installation, name_key FROM accounts WHERE installation IS NOT NULL ORDER BY name_key;
DROP INDEX accounts_by_installation;
ALTER TABLE accounts DROP COLUMN installation;
PRAGMA user_version = 5;
)sql",
};

constexpr int kSchemaVersion = static_cast<int>(std::size(kSchemaSteps));

int64_t UserVersion(const SqliteConnection& connection) {
    SqliteStatement statement(connection, "PRAGMA user_version");
    statement.Step();
    return statement.ColumnInt64(0);
}

} // namespace

// One step per transaction, so that a failed step leaves the last good
// version. An up-to-date database is only read, so opening it does not wait
// for another connection's write. A step re-reads the version under the
// write lock: of two processes opening a new database, only one creates the
// tables.
void MigrateSchema(SqliteConnection& connection, int64_t target) {
    for (;;) {
        const int64_t version = UserVersion(connection);
        if (version > kSchemaVersion) {
            throw StorageError("the database has schema version " + std::to_string(version) +
                               ", newer than version " + std::to_string(kSchemaVersion) +
                               " that this torvik-service knows; use a newer torvik-service");
        }
        if (version >= target) {
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

SqliteConnection MigrateSchema(SqliteConnection connection) {
    MigrateSchema(connection, kSchemaVersion);
    return connection;
}

int SchemaVersionOfCode() {
    return kSchemaVersion;
}

} // namespace torvik::server
