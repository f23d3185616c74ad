#include "server/Sqlite.h"

#include <sqlite3.h>

#include <utility>

#include "server/Storage.h"

namespace torvik::server {
namespace {

// Enough of a statement's text to recognise it in a message; the text holds
// no values, so it reveals nothing of the data.
std::string Abbreviated(const char* sql) {
    constexpr size_t kShown = 80;
    std::string text = sql ? sql : "";
    if (text.size() > kShown) {
        text = text.substr(0, kShown) + "...";
    }
    return text;
}

[[noreturn]] void ThrowSqliteError(sqlite3* db, const std::string& operation) {
    throw StorageError("SQLite " + operation + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

} // namespace

void SqliteConnection::Closer::operator()(sqlite3* db) const noexcept {
    // Every statement and transaction of the connection is gone by now, so
    // closing cannot be refused as busy.
    sqlite3_close(db);
}

SqliteConnection SqliteConnection::Open(const std::string& path,
                                        std::chrono::milliseconds busyTimeout) {
    sqlite3* raw = nullptr;
    const int code =
        sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    // The handle exists even when opening failed, to carry the message.
    SqliteConnection connection(raw);
    if (code != SQLITE_OK) {
        ThrowSqliteError(raw, "open \"" + path + "\"");
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, static_cast<int>(busyTimeout.count()));
    connection.Execute("PRAGMA foreign_keys = ON");
    if (path != ":memory:") {
        SqliteStatement journal(connection, "PRAGMA journal_mode = WAL");
        // The pragma answers with the mode in force, which stays the old one
        // when the switch is impossible (a file system without shared memory).
        if (!journal.Step() || journal.ColumnText(0) != "wal") {
            throw StorageError("SQLite open \"" + path + "\": the database cannot use WAL mode");
        }
    }
    return connection;
}

int64_t SqliteConnection::Changes() const noexcept {
    return sqlite3_changes64(db_.get());
}

void SqliteConnection::Execute(std::string_view sql) {
    const std::string text(sql);
    if (sqlite3_exec(db_.get(), text.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        ThrowSqliteError(db_.get(), "execute \"" + Abbreviated(text.c_str()) + "\"");
    }
}

void SqliteStatement::Finalizer::operator()(sqlite3_stmt* statement) const noexcept {
    sqlite3_finalize(statement);
}

SqliteStatement::SqliteStatement(const SqliteConnection& connection, std::string_view sql) {
    sqlite3_stmt* raw = nullptr;
    const int code = sqlite3_prepare_v2(connection.Handle(), sql.data(),
                                        static_cast<int>(sql.size()), &raw, nullptr);
    statement_.reset(raw);
    if (code != SQLITE_OK) {
        ThrowSqliteError(connection.Handle(),
                         "prepare \"" + Abbreviated(std::string(sql).c_str()) + "\"");
    }
}

void SqliteStatement::Fail(const std::string& operation) const {
    throw StorageError("SQLite " + operation + " \"" + Abbreviated(sqlite3_sql(statement_.get())) +
                       "\": " + sqlite3_errmsg(sqlite3_db_handle(statement_.get())));
}

void SqliteStatement::CheckBind(int index, int code) const {
    if (code != SQLITE_OK) {
        Fail("bind parameter " + std::to_string(index) + " of");
    }
}

void SqliteStatement::BindText(int index, std::string_view text) {
    // An empty view may have no data pointer, which SQLite would bind as NULL.
    const char* data = text.data() ? text.data() : "";
    CheckBind(index, sqlite3_bind_text64(statement_.get(), index, data, text.size(),
                                         SQLITE_TRANSIENT, SQLITE_UTF8));
}

void SqliteStatement::BindTextInPlace(int index, std::string_view text) {
    const char* data = text.data() ? text.data() : "";
    CheckBind(index, sqlite3_bind_text64(statement_.get(), index, data, text.size(), SQLITE_STATIC,
                                         SQLITE_UTF8));
}

void SqliteStatement::BindBlob(int index, std::string_view bytes) {
    // An empty view may have no data pointer, which SQLite would bind as NULL.
    const char* data = bytes.data() ? bytes.data() : "";
    CheckBind(index,
              sqlite3_bind_blob64(statement_.get(), index, data, bytes.size(), SQLITE_TRANSIENT));
}

void SqliteStatement::BindInt64(int index, int64_t value) {
    CheckBind(index, sqlite3_bind_int64(statement_.get(), index, value));
}

void SqliteStatement::BindNull(int index) {
    CheckBind(index, sqlite3_bind_null(statement_.get(), index));
}

bool SqliteStatement::Step() {
    const int code = sqlite3_step(statement_.get());
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code == SQLITE_DONE) {
        return false;
    }
    Fail("step");
}

void SqliteStatement::Run() {
    while (Step()) {
    }
}

void SqliteStatement::Reset() {
    // sqlite3_reset repeats the last step's failure, which Step has reported.
    sqlite3_reset(statement_.get());
    sqlite3_clear_bindings(statement_.get());
}

std::string SqliteStatement::ColumnText(int index) const {
    const auto* text = sqlite3_column_text(statement_.get(), index);
    const int size = sqlite3_column_bytes(statement_.get(), index);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(size))
                : std::string();
}

std::string SqliteStatement::ColumnBlob(int index) const {
    const auto* bytes = sqlite3_column_blob(statement_.get(), index);
    const int size = sqlite3_column_bytes(statement_.get(), index);
    return bytes ? std::string(static_cast<const char*>(bytes), static_cast<size_t>(size))
                 : std::string();
}

int64_t SqliteStatement::ColumnInt64(int index) const {
    return sqlite3_column_int64(statement_.get(), index);
}

bool SqliteStatement::ColumnIsNull(int index) const {
    return sqlite3_column_type(statement_.get(), index) == SQLITE_NULL;
}

SqliteTransaction::SqliteTransaction(SqliteConnection& connection) : connection_(&connection) {
    connection.Execute("BEGIN IMMEDIATE");
}

SqliteTransaction::SqliteTransaction(SqliteTransaction&& other) noexcept
    : connection_(std::exchange(other.connection_, nullptr)) {}

SqliteTransaction::~SqliteTransaction() {
    // SQLite ends a transaction by itself after some failures (a full disk),
    // and a second ROLLBACK would only fail.
    if (connection_ && !sqlite3_get_autocommit(connection_->Handle())) {
        sqlite3_exec(connection_->Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void SqliteTransaction::Commit() {
    if (!connection_) {
        throw StorageError("SQLite commit: the transaction has ended");
    }
    connection_->Execute("COMMIT");
    connection_ = nullptr;
}

} // namespace torvik::server
