// SqliteStorage: what users contribute beside their checks (notes, proposed
// URLs) and the moderators' decisions on it.
#include "server/ProgramLines.h"
#include "server/SqliteStorage.h"

namespace torvik::server {
namespace {

// Binds a program's keys to ?1 and ?2.
void BindProgramKeys(SqliteStatement& statement, const std::string& programName,
                     const std::string& exeFilename) {
    statement.BindText(1, KeyOf(programName));
    statement.BindText(2, KeyOf(exeFilename));
}

int64_t Limit(size_t limit) {
    return static_cast<int64_t>(std::min<size_t>(limit, INT64_MAX));
}

} // namespace

void SqliteStorage::SaveContribution(const std::optional<Note>& note,
                                     const std::optional<UrlSubmission>& urls) {
    const std::lock_guard lock(mutex_);
    SqliteTransaction transaction(connection_);
    if (note) {
        SqliteStatement insert(connection_, R"sql(
INSERT INTO notes (name_key, exe_key, program_name, exe_filename, installation, alias, comment,
                   tags, posted_at)
VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9))sql");
        BindProgramKeys(insert, note->programName, note->exeFilename);
        insert.BindText(3, note->programName);
        insert.BindText(4, note->exeFilename);
        insert.BindText(5, note->installation);
        insert.BindText(6, note->alias);
        insert.BindText(7, note->comment);
        insert.BindText(8, note->tags);
        insert.BindText(9, note->postedAt);
        insert.Run();
    }
    if (urls) {
        SqliteStatement insert(connection_, R"sql(
INSERT INTO url_submissions (name_key, exe_key, program_name, exe_filename, installation,
                             product_url, download_url, submitted_at)
VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8))sql");
        BindProgramKeys(insert, urls->programName, urls->exeFilename);
        insert.BindText(3, urls->programName);
        insert.BindText(4, urls->exeFilename);
        insert.BindText(5, urls->installation);
        insert.BindText(6, urls->productUrl);
        insert.BindText(7, urls->downloadUrl);
        insert.BindText(8, urls->submittedAt);
        insert.Run();
    }
    transaction.Commit();
}

std::vector<Note> SqliteStorage::LoadNotes(const std::string& programName,
                                           const std::string& exeFilename, size_t limit) const {
    const std::lock_guard lock(mutex_);
    SqliteStatement select(connection_, R"sql(
SELECT program_name, exe_filename, installation, alias, comment, tags, posted_at FROM notes
WHERE name_key = ?1 AND exe_key = ?2 ORDER BY id DESC LIMIT ?3)sql");
    BindProgramKeys(select, programName, exeFilename);
    select.BindInt64(3, Limit(limit));
    std::vector<Note> notes;
    while (select.Step()) {
        notes.push_back({.programName = select.ColumnText(0),
                         .exeFilename = select.ColumnText(1),
                         .installation = select.ColumnText(2),
                         .alias = select.ColumnText(3),
                         .comment = select.ColumnText(4),
                         .tags = select.ColumnText(5),
                         .postedAt = select.ColumnText(6)});
    }
    return notes;
}

std::vector<std::string> SqliteStorage::ReportedNames(const std::string& exeFilename,
                                                      size_t limit) const {
    const std::lock_guard lock(mutex_);
    SqliteStatement select(connection_, R"sql(
SELECT program_name FROM report_programs WHERE exe_key = ?1 ORDER BY name_key LIMIT ?2)sql");
    select.BindText(1, KeyOf(exeFilename));
    select.BindInt64(2, Limit(limit));
    std::vector<std::string> names;
    while (select.Step()) {
        names.push_back(select.ColumnText(0));
    }
    return names;
}

std::optional<Submission> SqliteStorage::HighestSubmission(const std::string& programName,
                                                           const std::string& exeFilename,
                                                           const std::string& aboveVersionX) const {
    const std::lock_guard lock(mutex_);
    // Padded versions order as the versions do.
    SqliteStatement select(connection_, R"sql(
SELECT installation, program_name, exe_filename, version_x FROM submissions
WHERE name_key = ?1 AND exe_key = ?2 AND version_x > ?3 AND NOT rejected
ORDER BY version_x DESC, installation LIMIT 1)sql");
    BindProgramKeys(select, programName, exeFilename);
    select.BindText(3, aboveVersionX);
    if (!select.Step()) {
        return std::nullopt;
    }
    return Submission{select.ColumnText(0), select.ColumnText(1), select.ColumnText(2),
                      select.ColumnText(3)};
}

std::optional<UrlSubmission> SqliteStorage::NewestUrls(const std::string& programName,
                                                       const std::string& exeFilename) const {
    const std::lock_guard lock(mutex_);
    SqliteStatement select(connection_, R"sql(
SELECT id, program_name, exe_filename, installation, product_url, download_url, submitted_at
FROM url_submissions WHERE name_key = ?1 AND exe_key = ?2 AND state = 'pending'
ORDER BY id DESC LIMIT 1)sql");
    BindProgramKeys(select, programName, exeFilename);
    if (!select.Step()) {
        return std::nullopt;
    }
    return UrlSubmission{.id = select.ColumnInt64(0),
                         .programName = select.ColumnText(1),
                         .exeFilename = select.ColumnText(2),
                         .installation = select.ColumnText(3),
                         .productUrl = select.ColumnText(4),
                         .downloadUrl = select.ColumnText(5),
                         .submittedAt = select.ColumnText(6)};
}

void SqliteStorage::ApproveUrls(const CatalogueEntry& entry, int64_t urlsId) {
    const std::lock_guard lock(mutex_);
    SqliteTransaction transaction(connection_);
    UpsertCatalogue({entry});
    SqliteStatement decide(connection_, R"sql(
UPDATE url_submissions SET state = CASE WHEN id = ?3 THEN 'approved' ELSE 'superseded' END
WHERE name_key = ?1 AND exe_key = ?2 AND state = 'pending' AND id <= ?3)sql");
    BindProgramKeys(decide, entry.programName, entry.exeFilename);
    decide.BindInt64(3, urlsId);
    decide.Run();
    transaction.Commit();
}

size_t SqliteStorage::RejectPending(const std::string& programName, const std::string& exeFilename,
                                    const std::string& aboveVersionX) {
    const std::lock_guard lock(mutex_);
    SqliteTransaction transaction(connection_);
    SqliteStatement versions(connection_, R"sql(
UPDATE submissions SET rejected = 1
WHERE name_key = ?1 AND exe_key = ?2 AND version_x > ?3 AND NOT rejected)sql");
    BindProgramKeys(versions, programName, exeFilename);
    versions.BindText(3, aboveVersionX);
    versions.Run();
    auto rejected = static_cast<size_t>(connection_.Changes());
    SqliteStatement urls(connection_, R"sql(
UPDATE url_submissions SET state = 'rejected'
WHERE name_key = ?1 AND exe_key = ?2 AND state = 'pending')sql");
    BindProgramKeys(urls, programName, exeFilename);
    urls.Run();
    rejected += static_cast<size_t>(connection_.Changes());
    transaction.Commit();
    return rejected;
}

} // namespace torvik::server
