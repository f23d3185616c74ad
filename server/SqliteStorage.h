#pragma once
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "server/Sqlite.h"
#include "server/Storage.h"

namespace torvik::server {

// Storage in one SQLite database, "torvik.db" in the data folder (the
// schema's steps in SqliteSchema.cpp; accounts in SqliteAccounts.cpp, users'
// contributions and moderation in SqliteContributions.cpp). Several
// processes may open the same file (WAL mode); within a process, one
// connection serves every thread in turn.
//
// Tables (schema version 5). Keys are KeyOf() of the texts beside
// them; the texts keep the spelling of their last write.
//   programs    (name_key, exe_key) primary key, program_name,
//               exe_filename, latest_version, product_url, download_url,
//               comments, has_icon (0 or 1): the catalogue.
//   installations   id primary key, installation (unique).
//   report_programs id primary key, (name_key, exe_key) unique,
//               program_name, exe_filename (the first spelling reported):
//               the programs that reports name.
//   reports     (installation_id, program_id) primary key, version_x,
//               exe_path, exe_date, exe_size, program_name and exe_filename
//               (NULL when spelt as in report_programs): each
//               installation's last report of a program.
//   details     (exe_key, version_x) primary key, exe_filename, details:
//               the first details text of an executable and version.
//   submissions (installation, name_key, exe_key, version_x) primary key,
//               program_name, exe_filename.
//   icons       (name_key, exe_key) primary key, program_name,
//               exe_filename, png: uploaded icons, the first per program;
//               a program with one reads has_icon true.
//   submissions also rejected (0 or 1): a moderator took it offline.
//   accounts    name_key primary key, name, password_hash (a libsodium
//               crypto_pwhash_str text; "" while the account has no
//               password: it cannot be logged into), moderator (0 or 1).
//   account_links id primary key, installation unique, name_key: the
//               account each installation acts for (schema version 5).
//   notes       id primary key, name_key, exe_key, program_name,
//               exe_filename, installation, alias, comment (not empty),
//               tags, posted_at ("yyyy-mm-dd hh:nn:ss" UTC).
//   url_submissions id primary key, name_key, exe_key, program_name,
//               exe_filename, installation, product_url, download_url (one
//               of them not empty), submitted_at, state ('pending',
//               'approved', 'superseded' by a later approval, 'rejected').
// Lists are loaded in key order.
class SqliteStorage : public Storage {
public:
    // The schema version this code creates and reads.
    static int SchemaVersion();
    // Brings a database up to the given schema version (at most
    // SchemaVersion()), for tests of the later steps on older data.
    static void MigrateTo(SqliteConnection& connection, int version);
    // The database file of a data folder.
    static std::string DatabasePath(const std::string& dataDir);

    // Opens the database of a data folder, creating the folder and the
    // database when missing and bringing an older schema up to date. Throws
    // StorageError, also when the database was written by a newer version
    // of the service (a higher schema version).
    static std::unique_ptr<SqliteStorage> Open(const std::string& dataDir);
    // A fresh private database in memory, gone with the object.
    static std::unique_ptr<SqliteStorage> InMemory();
    // Takes over an open connection and brings its schema up to date, as
    // Open does. Throws StorageError.
    explicit SqliteStorage(SqliteConnection connection);

    void ImportCatalogue(const std::vector<CatalogueEntry>& entries) override;
    std::vector<CatalogueEntry> LoadCatalogue() const override;
    void ForEachReport(const std::function<void(const Report&)>& each) const override;
    void ForEachSubmission(const std::function<void(const Submission&)>& each) const override;
    void SaveCheck(const std::vector<Report>& changedReports,
                   const std::vector<DetailsRow>& details,
                   const std::vector<Submission>& submissions) override;
    // SQLite's data version: it changes with every commit of another
    // connection to the file (another process, another SqliteStorage
    // object) that changed stored bytes, not with this object's own writes,
    // which its owner knows of. Constant for an in-memory database. Does
    // not wait for a write of this object: during one it gives the value
    // read last (at the latest when the previous write ended).
    int64_t DataVersion() const override;
    bool SaveIcon(const std::string& programName, const std::string& exeFilename,
                  const std::string& png) override;
    std::optional<std::string> LoadIcon(const std::string& programName,
                                        const std::string& exeFilename) const override;
    void AddAccount(const Account& account) override;
    std::optional<Account> FindAccount(const std::string& name) const override;
    std::optional<Account> FindAccountOf(const std::string& installation) const override;
    AccountRenaming RenameAccountOf(const std::string& installation,
                                    const std::string& previousName,
                                    const std::string& newName) override;
    std::optional<Credentials> FindCredentials(const std::string& name,
                                               const std::string& installation) const override;
    std::optional<std::string> RegisterAccount(const std::string& installation,
                                               const std::string& name,
                                               const std::string& passwordHash) override;
    std::optional<std::string> LinkInstallation(const std::string& installation,
                                                const std::string& name,
                                                const std::string& passwordHash) override;
    bool SetPassword(const std::string& installation, const std::string& name,
                     const std::string& passwordHash) override;
    void SaveContribution(const std::optional<Note>& note,
                          const std::optional<UrlSubmission>& urls) override;
    std::vector<Note> LoadNotes(const std::string& programName, const std::string& exeFilename,
                                size_t limit) const override;
    std::vector<std::string> ReportedNames(const std::string& exeFilename,
                                           size_t limit) const override;
    std::optional<Submission> HighestSubmission(const std::string& programName,
                                                const std::string& exeFilename,
                                                const std::string& aboveVersionX) const override;
    std::optional<UrlSubmission> NewestUrls(const std::string& programName,
                                            const std::string& exeFilename) const override;
    void ApproveUrls(const CatalogueEntry& entry, int64_t urlsId) override;
    size_t RejectPending(const std::string& programName, const std::string& exeFilename,
                         const std::string& aboveVersionX) override;

private:
    // A program of report_programs.
    struct ProgramRow {
        int64_t id = 0;
        std::string programName, exeFilename;
    };
    // Reads the data version; the caller holds mutex_.
    int64_t ReadDataVersion() const;
    // The numbers of an installation and of a program, new ones when they
    // have none yet; the caller holds mutex_ and a write transaction.
    int64_t FindInstallation(const std::string& installation);
    ProgramRow FindProgram(std::string_view programName, std::string_view exeFilename);
    // The first account where condition (on ?1 = value) holds; the caller
    // holds mutex_.
    std::optional<Account> FindAccountWhere(std::string_view condition,
                                            const std::string& value) const;
    // Adds an account (linked to account.installation unless empty); the
    // caller holds mutex_ and a write transaction.
    void InsertAccount(const Account& account, const std::string& passwordHash = "");
    // Links installation to the account of nameKey, unlinking it from any
    // other; the caller holds mutex_ and a write transaction.
    void Link(const std::string& installation, const std::string& nameKey);
    // Whether installation is linked to the account of nameKey; the caller
    // holds mutex_.
    bool IsLinked(const std::string& installation, const std::string& nameKey) const;
    // The password hash of the account of nameKey; the caller holds mutex_.
    std::optional<std::string> PasswordHashOf(const std::string& nameKey) const;
    // Gives the account of nameKey a password hash; the caller holds mutex_
    // and a write transaction.
    void WritePasswordHash(const std::string& nameKey, const std::string& passwordHash);
    // Writes the catalogue entries; the caller holds mutex_ and a write
    // transaction.
    void UpsertCatalogue(const std::vector<CatalogueEntry>& entries);

    mutable std::mutex mutex_;
    SqliteConnection connection_;
    // The inserts of SaveCheck, for many rows and for one, prepared once
    // (preparing was a good part of a check's cost); declared after the
    // connection, so that they end before it.
    struct Inserts {
        SqliteStatement many, one;
    };
    Inserts reports_, details_, submissions_;
    struct Numbering {
        SqliteStatement insertInstallation, findInstallation, insertProgram, findProgram;
    };
    Numbering ids_;
    // The committed programs of report_programs by ProgramKey(), filled as
    // writes meet them: a row, once written, never changes, so this holds
    // also when another connection wrote it.
    std::unordered_map<std::string, ProgramRow> programs_;
    mutable SqliteStatement dataVersion_;
    mutable std::atomic<int64_t> lastDataVersion_{-1};
};

} // namespace torvik::server
