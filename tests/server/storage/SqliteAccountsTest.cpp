// Accounts in SQLite: renamed through their installation, made on a first
// rename, unique names ignoring letter case; registered, logged into from
// several installations, given passwords only through a linked one; the
// password hashes.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "TempDir.h"
#include "server/Passwords.h"
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
        // The installations of an account, in the order they were linked.
        SqliteStatement select(db, R"sql(
SELECT a.name_key, a.name, a.password_hash, a.moderator,
       coalesce((SELECT group_concat(installation, ' ') FROM
                 (SELECT installation FROM account_links l WHERE l.name_key = a.name_key
                  ORDER BY l.id)), '')
FROM accounts a ORDER BY a.name_key)sql");
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

TEST(PasswordsTest, AHashIsSaltedNeverThePasswordAndVerifiesOnlyIt) {
    Passwords passwords(PasswordCost::Minimum());
    const std::string password = "correct horse \xC3\xA5 '; DROP TABLE accounts; --";
    const std::string hash = passwords.Hash(password);
    EXPECT_EQ(hash.find(password), std::string::npos);
    EXPECT_EQ(hash.rfind("$argon2id$", 0), 0u) << hash;
    EXPECT_NE(passwords.Hash(password), hash) << "each hash has its own salt";
    EXPECT_TRUE(passwords.Verifies(hash, password));
    for (const std::string& wrong :
         std::vector<std::string>{"", "correct horse", password + " ", hash}) {
        EXPECT_FALSE(passwords.Verifies(hash, wrong)) << wrong;
    }
    EXPECT_FALSE(passwords.Verifies("", "")) << "an account without a password";
    EXPECT_FALSE(passwords.Verifies("not a hash", password));
}

TEST(SqliteAccountsTest, InstallationsLinkByLoginAndOnlyALinkedOneSetsThePassword) {
    auto storage = SqliteStorage::InMemory();
    storage->AddAccount({.name = "Mod", .moderator = true, .installation = "inst-mod"});
    ASSERT_EQ(storage->RenameAccountOf("inst-alias", "", "Alias"), Renaming::Created);
    enum Op { Register, Link, SetPassword };
    const struct {
        Op op;
        std::string installation, name, hash;
        std::optional<std::string> outcome; // the stored name, or "yes"/nothing for SetPassword
    } steps[] = {
        {Register, "inst-1", "Alice", "h1", "Alice"},
        {Register, "inst-2", "ALICE", "h2", std::nullopt},     // taken
        {Register, "inst-2", "alias", "h2", std::nullopt},     // another's alias
        {Register, "inst-alias", "ALIAS", "ha", "Alias"},      // its own alias gets a password
        {Register, "inst-alias", "alias", "hb", std::nullopt}, // once
        {Link, "inst-2", "alice", "h2", std::nullopt},         // not its hash
        {Link, "inst-2", "alice", "h1", "Alice"},              // a second installation
        {Link, "inst-mod", "alice", "h1", "Alice"},            // moves from Mod to Alice
        {SetPassword, "inst-3", "Alice", "h3", std::nullopt},
        {SetPassword, "inst-1", "Mod", "h3", std::nullopt},
        {SetPassword, "inst-1", "aLiCe", "h3", "yes"},
        {Link, "inst-3", "alice", "h1", std::nullopt}, // the old password is gone
        {Link, "inst-3", "alice", "h3", "Alice"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(std::to_string(s.op) + " " + s.installation + " " + s.name + " " + s.hash);
        switch (s.op) {
        case Register:
            EXPECT_EQ(storage->RegisterAccount(s.installation, s.name, s.hash), s.outcome);
            break;
        case Link:
            EXPECT_EQ(storage->LinkInstallation(s.installation, s.name, s.hash), s.outcome);
            break;
        case SetPassword:
            EXPECT_EQ(storage->SetPassword(s.installation, s.name, s.hash), s.outcome.has_value());
            break;
        }
    }
    for (const std::string installation : {"inst-1", "inst-2", "inst-3", "inst-mod"}) {
        EXPECT_EQ(storage->FindAccountOf(installation).value().name, "Alice") << installation;
    }
    EXPECT_FALSE(storage->FindAccountOf("inst-mod")->moderator) << "the link moved";
    EXPECT_EQ(storage->FindAccount("Mod")->installation, "") << "no installation left";
    EXPECT_EQ(storage->FindAccount("alice")->installation, "inst-3") << "the newest link";
    const auto alice = storage->FindCredentials("ALICE", "inst-2");
    ASSERT_TRUE(alice);
    EXPECT_EQ(*alice, (Credentials{"Alice", "h3", true}));
    EXPECT_EQ(storage->FindCredentials("Alias", "inst-1"), (Credentials{"Alias", "ha", false}));
    EXPECT_EQ(storage->FindCredentials("Nobody", "inst-1"), std::nullopt);

    // A rename takes every installation of the account along.
    ASSERT_EQ(storage->RenameAccountOf("inst-2", "alice", "Alicia"), Renaming::Renamed);
    EXPECT_EQ(storage->FindAccountOf("inst-1").value().name, "Alicia");
    EXPECT_EQ(storage->FindCredentials("alicia", "inst-3"), (Credentials{"Alicia", "h3", true}));
    EXPECT_THROW(storage->RegisterAccount("", "Bob", "h"), StorageError);
    EXPECT_THROW(storage->RegisterAccount("inst-9", "Bob", ""), StorageError);
    EXPECT_THROW(storage->SetPassword("inst-1", "Alicia", ""), StorageError);
}

TEST_F(SqliteAccountsOnDisk, ARefusedLinkUndoesTheWholeRegistrationOrLogin) {
    auto storage = SqliteStorage::Open(DataDir());
    ASSERT_EQ(storage->RegisterAccount("inst-1", "Alice", "h1"), "Alice");
    const std::vector<AccountRow> before = {{"alice", "Alice", "h1", 0, "inst-1"}};
    Peek().Execute("CREATE TRIGGER refuse BEFORE INSERT ON account_links "
                   "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    EXPECT_THROW(storage->RegisterAccount("inst-2", "Bob", "h2"), StorageError);
    EXPECT_THROW(storage->LinkInstallation("inst-1", "Alice", "h1"), StorageError)
        << "the old link is deleted before the new one is refused";
    EXPECT_EQ(Rows(), before);
}

TEST_F(SqliteAccountsOnDisk, UpgradesASchemaVersion4DatabaseKeepingEveryAccountAndLink) {
    std::filesystem::create_directories(DataDir());
    {
        auto db = Peek();
        SqliteStorage::MigrateTo(db, 4);
        db.Execute(R"sql(
INSERT INTO accounts (name_key, name, password_hash, moderator, installation) VALUES
    ('moderator', 'Moderator', '', 1, 'inst-mod'),
    ('alice', 'Alice', '$argon2id$kept', 0, 'inst-1'),
    ('bob', 'Bob', '', 0, NULL);
)sql");
    }
    auto storage = SqliteStorage::Open(DataDir());
    const std::vector<AccountRow> upgraded = {
        {"alice", "Alice", "$argon2id$kept", 0, "inst-1"},
        {"bob", "Bob", "", 0, ""},
        {"moderator", "Moderator", "", 1, "inst-mod"},
    };
    EXPECT_EQ(Rows(), upgraded);
    EXPECT_TRUE(storage->FindAccountOf("inst-mod").value().moderator);
    EXPECT_EQ(storage->FindCredentials("alice", "inst-1"),
              (Credentials{"Alice", "$argon2id$kept", true}));
    EXPECT_EQ(storage->LinkInstallation("inst-2", "Alice", "$argon2id$kept"), "Alice");
    EXPECT_EQ(Rows()[0], (AccountRow{"alice", "Alice", "$argon2id$kept", 0, "inst-1 inst-2"}));
    auto db = Peek();
    SqliteStatement version(db, "PRAGMA user_version");
    ASSERT_TRUE(version.Step());
    EXPECT_EQ(version.ColumnInt64(0), 5);
}

} // namespace
} // namespace torvik::server
