#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <limits>
#include <stdexcept>

#include "TempDir.h"
#include "server/Sqlite.h"
#include "server/Storage.h"

namespace torvik::server {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using testing::TempDir;

int64_t CountRows(const SqliteConnection& db) {
    SqliteStatement count(db, "SELECT count(*) FROM t");
    count.Step();
    return count.ColumnInt64(0);
}

void Insert(SqliteConnection& db, int64_t value) {
    SqliteStatement insert(db, "INSERT INTO t (x) VALUES (?1)");
    insert.BindInt64(1, value);
    insert.Run();
}

class SqliteTest : public ::testing::Test {
protected:
    SqliteTest() { db.Execute("CREATE TABLE t (x UNIQUE)"); }
    SqliteConnection db = SqliteConnection::Open(":memory:");
};

TEST_F(SqliteTest, TransactionRollsBackUnlessCommitted) {
    {
        SqliteTransaction forgotten(db);
        Insert(db, 1);
    }
    EXPECT_EQ(CountRows(db), 0);

    EXPECT_THROW(
        {
            SqliteTransaction interrupted(db);
            Insert(db, 2);
            throw std::runtime_error("interrupted");
        },
        std::runtime_error);
    EXPECT_EQ(CountRows(db), 0);

    {
        SqliteTransaction first(db);
        Insert(db, 3);
        // The moved-from object must neither roll back nor commit.
        SqliteTransaction moved = std::move(first);
        Insert(db, 4);
        moved.Commit();
    }
    EXPECT_EQ(CountRows(db), 2);
    // The connection is out of the transaction: a new one can begin.
    SqliteTransaction next(db);
    next.Commit();
}

TEST_F(SqliteTest, BindsAndReadsTextIntegersAndNull) {
    const std::string withNul("a\0b|'\xC3\xA9", 7);
    SqliteStatement echo(db, "SELECT ?1, typeof(?1), ?2, ?3, typeof(?3), ?4, typeof(?4)");
    echo.BindText(1, withNul);
    echo.BindInt64(2, std::numeric_limits<int64_t>::min());
    echo.BindNull(3);
    // An empty view without data is still text, not NULL.
    echo.BindText(4, std::string_view());
    ASSERT_TRUE(echo.Step());
    EXPECT_EQ(echo.ColumnText(0), withNul);
    EXPECT_EQ(echo.ColumnText(1), "text");
    EXPECT_EQ(echo.ColumnInt64(2), std::numeric_limits<int64_t>::min());
    EXPECT_TRUE(echo.ColumnIsNull(3));
    EXPECT_EQ(echo.ColumnText(3), "");
    EXPECT_EQ(echo.ColumnText(4), "null");
    EXPECT_FALSE(echo.ColumnIsNull(5));
    EXPECT_EQ(echo.ColumnText(6), "text");
    EXPECT_FALSE(echo.Step());

    // Reset clears the bindings, so the statement runs again from scratch.
    echo.Reset();
    echo.BindInt64(2, 7);
    ASSERT_TRUE(echo.Step());
    EXPECT_TRUE(echo.ColumnIsNull(0));
    EXPECT_EQ(echo.ColumnInt64(2), 7);
}

TEST_F(SqliteTest, FailuresNameTheOperationAndSqlitesReason) {
    Insert(db, 1);
    const struct {
        const char* operation;
        std::function<void()> run;
        const char* reason;
    } cases[] = {
        {"prepare", [&] { SqliteStatement(db, "SELEC 1"); }, "syntax error"},
        {"step", [&] { Insert(db, 1); }, "UNIQUE constraint failed: t.x"},
        {"bind parameter 2", [&] { SqliteStatement(db, "SELECT ?1").BindInt64(2, 0); },
         "column index out of range"},
        {"execute", [&] { db.Execute("DROP TABLE missing"); }, "no such table: missing"},
        {"open", [] { SqliteConnection::Open("/nonexistent-folder/x.db"); },
         "unable to open database file"},
    };
    for (const auto& c : cases) {
        try {
            c.run();
            ADD_FAILURE() << c.operation << " did not fail";
        } catch (const StorageError& e) {
            EXPECT_THAT(e.what(), AllOf(HasSubstr(c.operation), HasSubstr(c.reason)));
        }
    }
    EXPECT_EQ(CountRows(db), 1);
}

TEST(SqliteFileTest, FilesUseWalAndForeignKeys) {
    TempDir dir;
    auto db = SqliteConnection::Open(dir.Native("a.db").string());
    SqliteStatement journal(db, "PRAGMA journal_mode");
    ASSERT_TRUE(journal.Step());
    EXPECT_EQ(journal.ColumnText(0), "wal");
    db.Execute("CREATE TABLE parent (id INTEGER PRIMARY KEY);"
               "CREATE TABLE child (parent REFERENCES parent (id))");
    EXPECT_THROW(db.Execute("INSERT INTO child VALUES (1)"), StorageError);
}

TEST(SqliteFileTest, AWriteLockOfAnotherConnectionFailsAfterTheBusyTimeout) {
    TempDir dir;
    const std::string path = dir.Native("a.db").string();
    auto holder = SqliteConnection::Open(path);
    auto waiter = SqliteConnection::Open(path, std::chrono::milliseconds(50));
    auto lock = std::make_unique<SqliteTransaction>(holder);

    const auto start = std::chrono::steady_clock::now();
    try {
        SqliteTransaction blocked(waiter);
        ADD_FAILURE() << "the write lock was had twice";
    } catch (const StorageError& e) {
        EXPECT_THAT(e.what(), HasSubstr("database is locked"));
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));

    lock.reset();
    SqliteTransaction free(waiter);
    free.Commit();
}

} // namespace
} // namespace torvik::server
