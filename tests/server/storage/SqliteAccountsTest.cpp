// Accounts in SQLite: renamed through their installation, made on a first
// rename, unique names ignoring letter case.
#include <gtest/gtest.h>

#include <tuple>

#include "TempDir.h"
#include "server/Sqlite.h"
#include "server/SqliteStorage.h"

namespace torvik::server {
namespace {

using Renaming = AccountRenaming;

TEST(SqliteAccountsTest, ANameFollowsItsInstallationAndStaysUniqueIgnoringCase) {
    auto storage = SqliteStorage::InMemory();
    storage->AddAccount({.name = "Mod", .moderator = true, .installation = "inst-mod"});
    storage->AddAccount({.name = "Unlinked", .moderator = false, .installation = ""});
    const struct {
        std::string installation, previous, name;
        Renaming outcome;
        std::string linked; // the installation's account name afterwards
    } steps[] = {
        {"inst-1", "", "Alice", Renaming::Created, "Alice"},
        {"inst-1", "ALICE", "Alicia", Renaming::Renamed, "Alicia"},
        {"inst-1", "", "ALICIA", Renaming::Renamed, "ALICIA"},
        {"inst-2", "", "alicia", Renaming::NameTaken, ""},
        {"inst-2", "", "unlinked", Renaming::NameTaken, ""},
        {"inst-2", "", "Alice", Renaming::Created, "Alice"}, // free again
        {"inst-1", "Alice", "Bob", Renaming::NotPrevious, "ALICIA"},
        {"inst-3", "Alice", "Carol", Renaming::NotPrevious, ""},
        {"inst-mod", "mod", "Moderator", Renaming::Renamed, "Moderator"},
        {"inst-1", "", "MODERATOR", Renaming::NameTaken, "ALICIA"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.installation + " " + s.previous + " -> " + s.name);
        EXPECT_EQ(storage->RenameAccountOf(s.installation, s.previous, s.name), s.outcome);
        const auto linked = storage->FindAccountOf(s.installation);
        EXPECT_EQ(linked ? linked->name : "", s.linked);
    }
    const auto moderator = storage->FindAccount("moderator");
    ASSERT_TRUE(moderator);
    EXPECT_TRUE(moderator->moderator) << "a rename keeps the flag";
    EXPECT_EQ(storage->FindAccount("Mod"), std::nullopt);
    EXPECT_EQ(storage->FindAccount("carol"), std::nullopt);
    EXPECT_EQ(storage->FindAccount("bob"), std::nullopt);
    EXPECT_EQ(storage->FindAccount("Unlinked")->installation, "");
}

using AccountRow = std::tuple<std::string, std::string, std::string, int64_t, std::string>;

class SqliteAccountsOnDisk : public ::testing::Test {
protected:
    std::vector<AccountRow> Rows() const {
        auto db = Peek();
        SqliteStatement select(db, "SELECT name_key, name, password_hash, moderator, "
                                   "coalesce(installation, '') FROM accounts ORDER BY name_key");
        std::vector<AccountRow> rows;
        while (select.Step()) {
            rows.emplace_back(select.ColumnText(0), select.ColumnText(1), select.ColumnText(2),
                              select.ColumnInt64(3), select.ColumnText(4));
        }
        return rows;
    }
    SqliteConnection Peek() const {
        return SqliteConnection::Open(SqliteStorage::DatabasePath(DataDir()));
    }
    std::string DataDir() const { return dir.Native("data").string(); }

    testing::TempDir dir;
};

TEST_F(SqliteAccountsOnDisk, AMadeAccountHasNoPasswordAndFailedWritesChangeNothing) {
    auto storage = SqliteStorage::Open(DataDir());
    ASSERT_EQ(storage->RenameAccountOf("inst-1", "", "Alice"), Renaming::Created);
    const std::vector<AccountRow> made = {{"alice", "Alice", "", 0, "inst-1"}};
    EXPECT_EQ(Rows(), made);

    const struct {
        const char* trigger;
        std::string installation, name;
    } cases[] = {
        {"BEFORE UPDATE ON accounts", "inst-1", "Alicia"},
        {"BEFORE INSERT ON accounts", "inst-2", "Bob"},
    };
    for (const auto& c : cases) {
        Peek().Execute(std::string("CREATE TRIGGER refuse ") + c.trigger +
                       " BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
        EXPECT_THROW(storage->RenameAccountOf(c.installation, "", c.name), StorageError)
            << c.trigger;
        Peek().Execute("DROP TRIGGER refuse");
        EXPECT_EQ(Rows(), made) << c.trigger;
    }
    EXPECT_THROW(storage->RenameAccountOf("", "", "Nobody"), StorageError);
    EXPECT_EQ(storage->RenameAccountOf("inst-1", "alice", "Alicia"), Renaming::Renamed);
    EXPECT_EQ(Rows(), (std::vector<AccountRow>{{"alicia", "Alicia", "", 0, "inst-1"}}));
}

} // namespace
} // namespace torvik::server
