#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace torvik::server {

// Move-only wrappers over the sqlite3 C API. Every failure throws
// StorageError (server/Storage.h) naming the operation and giving SQLite's
// message. Values reach SQL only as bound parameters, never in its text.
// None of these objects is safe to share between threads without a lock.

// One database connection, with foreign keys enforced.
class SqliteConnection {
public:
    // Opens or creates a database file in WAL journal mode, or a private
    // in-memory database for ":memory:". A locked database is retried for
    // busyTimeout before the operation fails. Throws StorageError.
    static SqliteConnection Open(const std::string& path,
                                 std::chrono::milliseconds busyTimeout = std::chrono::seconds(5));

    // Runs SQL text without parameters (schema, pragmas); it may hold
    // several statements. Throws StorageError.
    void Execute(std::string_view sql);

    sqlite3* Handle() const noexcept { return db_.get(); }
    // Rows the last INSERT, UPDATE or DELETE of this connection changed.
    int64_t Changes() const noexcept;

private:
    struct Closer {
        void operator()(sqlite3* db) const noexcept;
    };
    explicit SqliteConnection(sqlite3* db) : db_(db) {}

    std::unique_ptr<sqlite3, Closer> db_;
};

// One prepared statement of a connection, which must outlive it. Parameter
// and column indexes follow SQLite: parameters from 1, columns from 0.
class SqliteStatement {
public:
    // Throws StorageError when the SQL does not compile.
    SqliteStatement(const SqliteConnection& connection, std::string_view sql);

    void BindText(int index, std::string_view text);
    // Binds text where it is, without SQLite's copy (for rows written in
    // bulk): it must stay unchanged until the statement is reset.
    void BindTextInPlace(int index, std::string_view text);
    void BindInt64(int index, int64_t value);
    void BindNull(int index);
    // Binds bytes as a BLOB (copied).
    void BindBlob(int index, std::string_view bytes);

    // Runs the statement to its next row: true when a row is available,
    // false when it is done. Throws StorageError.
    bool Step();
    // Runs a statement that gives no rows, to its end.
    void Run();
    // Makes the statement ready to run again with new values; bindings are
    // cleared.
    void Reset();

    // Column getters for the current row; a NULL reads as "" or 0.
    std::string ColumnText(int index) const;
    std::string ColumnBlob(int index) const;
    int64_t ColumnInt64(int index) const;
    bool ColumnIsNull(int index) const;

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const noexcept;
    };
    [[noreturn]] void Fail(const std::string& operation) const;
    void CheckBind(int index, int code) const;

    std::unique_ptr<sqlite3_stmt, Finalizer> statement_;
};

// A write transaction (BEGIN IMMEDIATE: the write lock is taken at once, so
// a busy database fails here rather than half-way). Rolled back when it ends
// without Commit(), also by an exception. The connection must outlive it.
class SqliteTransaction {
public:
    // Throws StorageError when the write lock cannot be had in time.
    explicit SqliteTransaction(SqliteConnection& connection);
    ~SqliteTransaction();
    SqliteTransaction(SqliteTransaction&& other) noexcept;
    SqliteTransaction& operator=(SqliteTransaction&&) = delete;
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    // Throws StorageError; the transaction is then rolled back at its end.
    void Commit();

private:
    SqliteConnection* connection_;
};

} // namespace torvik::server
