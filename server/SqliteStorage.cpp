#include "server/SqliteStorage.h"

#include <array>
#include <filesystem>
#include <string_view>

#include "server/CatalogueFile.h"
#include "server/ProgramIds.h"
#include "server/ProgramLines.h"
#include "server/SqliteSchema.h"

namespace torvik::server {
namespace {

// The writes of a check, one statement for up to kRowsPerInsert rows:
// SQLite's work per statement run (about a third of a row's cost) is then
// shared by all its rows. A row whose key an earlier row of the same
// statement has is an update of that one, as it would be run alone.
constexpr size_t kRowsPerInsert = 32;
constexpr std::string_view kReportInsert = R"sql(
INSERT INTO reports (installation_id, program_id, version_x, exe_path, exe_date, exe_size,
                     program_name, exe_filename))sql";
constexpr int kReportColumns = 8;
constexpr std::string_view kReportConflict = R"sql(
ON CONFLICT (installation_id, program_id) DO UPDATE SET
    version_x = excluded.version_x, exe_path = excluded.exe_path,
    exe_date = excluded.exe_date, exe_size = excluded.exe_size,
    program_name = excluded.program_name, exe_filename = excluded.exe_filename)sql";
constexpr std::string_view kDetailsInsert = R"sql(
INSERT INTO details (exe_key, version_x, exe_filename, details))sql";
constexpr int kDetailsColumns = 4;
constexpr std::string_view kDetailsConflict = R"sql(
ON CONFLICT (exe_key, version_x) DO NOTHING)sql";
constexpr std::string_view kSubmissionInsert = R"sql(
INSERT INTO submissions (installation, name_key, exe_key, version_x, program_name, exe_filename))sql";
constexpr int kSubmissionColumns = 6;
constexpr std::string_view kSubmissionConflict = R"sql(
ON CONFLICT (installation, name_key, exe_key, version_x) DO NOTHING)sql";

// "insert VALUES (?, ...), ... conflict" for that many rows.
std::string InsertSql(std::string_view insert, int columns, size_t rows,
                      std::string_view conflict) {
    std::string sql(insert);
    sql += "\nVALUES ";
    for (size_t row = 0; row < rows; ++row) {
        sql += row == 0 ? "(" : ", (";
        for (int column = 0; column < columns; ++column) {
            sql += column == 0 ? "?" : ", ?";
        }
        sql += ")";
    }
    sql += conflict;
    return sql;
}

// Leaves a prepared statement ready for its next use, also after a failure.
class ResetOnExit {
public:
    explicit ResetOnExit(SqliteStatement& statement) : statement_(statement) {}
    ~ResetOnExit() { statement_.Reset(); }
    ResetOnExit(const ResetOnExit&) = delete;
    ResetOnExit& operator=(const ResetOnExit&) = delete;

private:
    SqliteStatement& statement_;
};

// Writes rows kRowsPerInsert at a time with many, the rest one at a time
// with one. bind(statement, first, row, slot) binds a row's values from
// parameter first on; slot (below kRowsPerInsert) is the row's place in the
// statement, for texts the caller keeps until the statement has run.
template <typename Row, typename Bind>
void WriteRows(SqliteStatement& many, SqliteStatement& one, int columns,
               const std::vector<Row>& rows, const Bind& bind) {
    size_t next = 0;
    for (; rows.size() - next >= kRowsPerInsert; next += kRowsPerInsert) {
        const ResetOnExit reset(many);
        for (size_t slot = 0; slot < kRowsPerInsert; ++slot) {
            bind(many, static_cast<int>(slot) * columns + 1, rows[next + slot], slot);
        }
        many.Run();
    }
    for (; next < rows.size(); ++next) {
        const ResetOnExit reset(one);
        bind(one, 1, rows[next], 0);
        one.Run();
    }
}

} // namespace

int SqliteStorage::SchemaVersion() {
    return SchemaVersionOfCode();
}

void SqliteStorage::MigrateTo(SqliteConnection& connection, int version) {
    MigrateSchema(connection, version);
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

SqliteStorage::SqliteStorage(SqliteConnection connection)
    : connection_(MigrateSchema(std::move(connection))),
      reports_{
          {connection_, InsertSql(kReportInsert, kReportColumns, kRowsPerInsert, kReportConflict)},
          {connection_, InsertSql(kReportInsert, kReportColumns, 1, kReportConflict)}},
      details_{{connection_,
                InsertSql(kDetailsInsert, kDetailsColumns, kRowsPerInsert, kDetailsConflict)},
               {connection_, InsertSql(kDetailsInsert, kDetailsColumns, 1, kDetailsConflict)}},
      submissions_{
          {connection_,
           InsertSql(kSubmissionInsert, kSubmissionColumns, kRowsPerInsert, kSubmissionConflict)},
          {connection_, InsertSql(kSubmissionInsert, kSubmissionColumns, 1, kSubmissionConflict)}},
      ids_{
          .insertInstallation = {connection_, R"sql(
INSERT INTO installations (installation) VALUES (?1) ON CONFLICT (installation) DO NOTHING)sql"},
          .findInstallation = {connection_, "SELECT id FROM installations WHERE installation = ?1"},
          .insertProgram = {connection_, R"sql(
INSERT INTO report_programs (name_key, exe_key, program_name, exe_filename)
VALUES (?1, ?2, ?3, ?4) ON CONFLICT (name_key, exe_key) DO NOTHING)sql"},
          .findProgram = {connection_, R"sql(
SELECT id, program_name, exe_filename FROM report_programs
WHERE name_key = ?1 AND exe_key = ?2)sql"}},
      dataVersion_(connection_, "PRAGMA data_version") {
    ReadDataVersion();
}

void SqliteStorage::ImportCatalogue(const std::vector<CatalogueEntry>& entries) {
    const std::lock_guard lock(mutex_);
    SqliteTransaction transaction(connection_);
    UpsertCatalogue(entries);
    transaction.Commit();
}

void SqliteStorage::UpsertCatalogue(const std::vector<CatalogueEntry>& entries) {
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
}

std::vector<CatalogueEntry> SqliteStorage::LoadCatalogue() const {
    const std::lock_guard lock(mutex_);
    SqliteStatement select(connection_, R"sql(
SELECT p.program_name, p.exe_filename, p.latest_version, p.product_url, p.download_url,
       p.comments, p.has_icon OR i.name_key IS NOT NULL
FROM programs p LEFT JOIN icons i ON i.name_key = p.name_key AND i.exe_key = p.exe_key
ORDER BY p.name_key, p.exe_key)sql");
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

bool SqliteStorage::SaveIcon(const std::string& programName, const std::string& exeFilename,
                             const std::string& png) {
    const std::lock_guard lock(mutex_);
    SqliteTransaction transaction(connection_);
    SqliteStatement insert(connection_, R"sql(
INSERT INTO icons (name_key, exe_key, program_name, exe_filename, png)
VALUES (?1, ?2, ?3, ?4, ?5) ON CONFLICT (name_key, exe_key) DO NOTHING)sql");
    insert.BindText(1, KeyOf(programName));
    insert.BindText(2, KeyOf(exeFilename));
    insert.BindText(3, programName);
    insert.BindText(4, exeFilename);
    insert.BindBlob(5, png);
    insert.Run();
    const bool kept = connection_.Changes() > 0;
    transaction.Commit();
    return kept;
}

std::optional<std::string> SqliteStorage::LoadIcon(const std::string& programName,
                                                   const std::string& exeFilename) const {
    const std::lock_guard lock(mutex_);
    SqliteStatement select(connection_,
                           "SELECT png FROM icons WHERE name_key = ?1 AND exe_key = ?2");
    select.BindText(1, KeyOf(programName));
    select.BindText(2, KeyOf(exeFilename));
    if (!select.Step()) {
        return std::nullopt;
    }
    return select.ColumnBlob(0);
}

void SqliteStorage::ForEachReport(const std::function<void(const Report&)>& each) const {
    const std::lock_guard lock(mutex_);
    SqliteStatement select(connection_, R"sql(
SELECT i.installation, coalesce(r.program_name, p.program_name),
       coalesce(r.exe_filename, p.exe_filename), r.version_x, r.exe_path, r.exe_date, r.exe_size
FROM reports r
JOIN installations i ON i.id = r.installation_id
JOIN report_programs p ON p.id = r.program_id
ORDER BY i.installation, p.name_key, p.exe_key)sql");
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
    // The keys of the rows of one statement, bound in place.
    std::array<std::string, kRowsPerInsert> nameKeys, exeKeys;
    const auto keys = [&](size_t slot, std::string_view programName, std::string_view exeFilename) {
        nameKeys[slot].clear();
        AppendKeyOf(nameKeys[slot], programName);
        exeKeys[slot].clear();
        AppendKeyOf(exeKeys[slot], exeFilename);
    };
    // Programs first numbered by this write join programs_ once it is
    // committed: a rolled-back number may go to another program later.
    std::unordered_map<std::string, ProgramRow> added;
    std::string key;
    const auto program = [&](std::string_view programName,
                             std::string_view exeFilename) -> const ProgramRow& {
        MakeProgramKey(key, programName, exeFilename);
        if (const auto known = programs_.find(key); known != programs_.end()) {
            return known->second;
        }
        if (const auto known = added.find(key); known != added.end()) {
            return known->second;
        }
        return added.emplace(key, FindProgram(programName, exeFilename)).first->second;
    };
    std::string lastInstallation;
    int64_t installationId = 0;
    WriteRows(reports_.many, reports_.one, kReportColumns, changedReports,
              [&](SqliteStatement& insert, int first, const Report& row, size_t) {
                  // A check's rows are all of one installation: one lookup a check.
                  if (installationId == 0 || row.installation != lastInstallation) {
                      installationId = FindInstallation(row.installation);
                      lastInstallation = row.installation;
                  }
                  const ProgramRow& p = program(row.programName, row.exeFilename);
                  insert.BindInt64(first, installationId);
                  insert.BindInt64(first + 1, p.id);
                  insert.BindTextInPlace(first + 2, row.versionX);
                  insert.BindTextInPlace(first + 3, row.exePath);
                  insert.BindTextInPlace(first + 4, row.exeDate);
                  insert.BindInt64(first + 5, row.exeSize);
                  const auto spelling = [&](int index, std::string_view own,
                                            const std::string& programs) {
                      if (own == programs) {
                          insert.BindNull(index);
                      } else {
                          insert.BindTextInPlace(index, own);
                      }
                  };
                  spelling(first + 6, row.programName, p.programName);
                  spelling(first + 7, row.exeFilename, p.exeFilename);
              });
    WriteRows(details_.many, details_.one, kDetailsColumns, details,
              [&](SqliteStatement& insert, int first, const DetailsRow& row, size_t slot) {
                  keys(slot, "", row.exeFilename);
                  insert.BindTextInPlace(first, exeKeys[slot]);
                  insert.BindTextInPlace(first + 1, row.versionX);
                  insert.BindTextInPlace(first + 2, row.exeFilename);
                  insert.BindTextInPlace(first + 3, row.details);
              });
    WriteRows(submissions_.many, submissions_.one, kSubmissionColumns, submissions,
              [&](SqliteStatement& insert, int first, const Submission& row, size_t slot) {
                  keys(slot, row.programName, row.exeFilename);
                  insert.BindTextInPlace(first, row.installation);
                  insert.BindTextInPlace(first + 1, nameKeys[slot]);
                  insert.BindTextInPlace(first + 2, exeKeys[slot]);
                  insert.BindTextInPlace(first + 3, row.versionX);
                  insert.BindTextInPlace(first + 4, row.programName);
                  insert.BindTextInPlace(first + 5, row.exeFilename);
              });
    transaction.Commit();
    programs_.merge(added);
    // Read while the connection is at hand, for checks that come during the
    // next write. The commit stands even if this fails.
    try {
        ReadDataVersion();
    } catch (const StorageError&) {
    }
}

int64_t SqliteStorage::FindInstallation(const std::string& installation) {
    {
        const ResetOnExit reset(ids_.insertInstallation);
        ids_.insertInstallation.BindTextInPlace(1, installation);
        ids_.insertInstallation.Run();
    }
    const ResetOnExit reset(ids_.findInstallation);
    ids_.findInstallation.BindTextInPlace(1, installation);
    if (!ids_.findInstallation.Step()) {
        throw StorageError("the installation was not numbered");
    }
    return ids_.findInstallation.ColumnInt64(0);
}

SqliteStorage::ProgramRow SqliteStorage::FindProgram(std::string_view programName,
                                                     std::string_view exeFilename) {
    const std::string nameKey = KeyOf(programName), exeKey = KeyOf(exeFilename);
    {
        const ResetOnExit reset(ids_.insertProgram);
        ids_.insertProgram.BindTextInPlace(1, nameKey);
        ids_.insertProgram.BindTextInPlace(2, exeKey);
        ids_.insertProgram.BindTextInPlace(3, programName);
        ids_.insertProgram.BindTextInPlace(4, exeFilename);
        ids_.insertProgram.Run();
    }
    const ResetOnExit reset(ids_.findProgram);
    ids_.findProgram.BindTextInPlace(1, nameKey);
    ids_.findProgram.BindTextInPlace(2, exeKey);
    if (!ids_.findProgram.Step()) {
        throw StorageError("the program was not numbered");
    }
    return {.id = ids_.findProgram.ColumnInt64(0),
            .programName = ids_.findProgram.ColumnText(1),
            .exeFilename = ids_.findProgram.ColumnText(2)};
}

int64_t SqliteStorage::DataVersion() const {
    std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock()) {
        // This object is writing (or loading): answer with the version read
        // last, at the latest at the end of the previous write, rather than
        // have every check wait for the write. Another connection's commit
        // made meanwhile is seen by the next check that finds the
        // connection free, or after this write.
        return lastDataVersion_.load();
    }
    return ReadDataVersion();
}

int64_t SqliteStorage::ReadDataVersion() const {
    const ResetOnExit reset(dataVersion_);
    dataVersion_.Step();
    const int64_t version = dataVersion_.ColumnInt64(0);
    lastDataVersion_.store(version);
    return version;
}

} // namespace torvik::server
