// Login, registration and change of password against the real service on
// loopback, with requests as the program sends them: the exact replies,
// which installation each account is linked to afterwards, and the count of
// failed logins on a clock the test moves.
#include <gtest/gtest.h>

#include <atomic>

#include "HttplibTransport.h"
#include "RunningService.h"
#include "server/SqliteStorage.h"

namespace torvik::server {
namespace {

const std::string kHome = "user_HOMEHOMEHOMEHOMEHOME01_2026-12-11 00:00:00.000";
const std::string kOther = "user_OTHEROTHEROTHEROTHER1_2026-12-11 00:00:00.000";
const std::string kThird = "user_THIRDTHIRDTHIRDTHIRD1_2026-12-11 00:00:00.000";

const std::string kLoginFailed = "[login]\r\nlogin failed";
const std::string kRegistrationFailed = "[register]\r\nregistration failed";
std::string LoginOk(const std::string& name) {
    return "[login]\r\nlogin ok|" + name;
}
std::string Registered(const std::string& name) {
    return "[register]\r\nregistration ok|" + name;
}
std::string RegisterLoggedIn(const std::string& name) {
    return "[register]\r\nlogin ok|" + name;
}
const std::string kPasswordChanged = "[result]\r\npassword changed";
const std::string kNotLinked =
    "[result]\r\nset_password failed: the account is not linked to this installation";

class LoginExchange : public ::testing::Test {
protected:
    void SetUp() override {
        ServiceOptions options;
        options.passwordCost = PasswordCost::Minimum();
        options.clock = [this] {
            return std::chrono::steady_clock::time_point(std::chrono::seconds(now.load()));
        };
        running = std::make_unique<RunningService>(*storage, options);
    }
    std::string Ask(const std::string& installation, const std::string& mode,
                    const std::string& name, const std::string& password) {
        return AskService(running->Port(), installation,
                          {{"mode", mode}, {"username", name}, {"password", password}});
    }
    std::string LinkedName(const std::string& installation) const {
        const auto account = storage->FindAccountOf(installation);
        return account ? account->name : "(none)";
    }

    std::atomic<int64_t> now{1000};
    std::unique_ptr<Storage> storage = SqliteStorage::InMemory();
    std::unique_ptr<RunningService> running;
};

TEST_F(LoginExchange, AccountsAreRegisteredLoggedIntoAndRelinkedByTheirPasswordOnly) {
    const std::string sql = "x'); DROP TABLE accounts; --";
    const struct {
        std::string installation, mode, name, password, reply, linked;
    } steps[] = {
        {kHome, "register", "Alice", "s3cret pass", Registered("Alice"), "Alice"},
        {kOther, "register", "ALICE", "wrong", kRegistrationFailed, "(none)"},
        {kOther, "register", "alice", "s3cret pass", RegisterLoggedIn("Alice"), "Alice"},
        {kThird, "login", "alice", "s3cret pass ", kLoginFailed, "(none)"}, // as sent
        {kThird, "login", "aLiCe", "s3cret pass", LoginOk("Alice"), "Alice"},
        {kThird, "login", "  Alice\t", "s3cret pass", LoginOk("Alice"), "Alice"},
        {kThird, "register", sql, sql, Registered(sql), sql}, // moves kThird to the new account
        {kThird, "login", sql, sql, LoginOk(sql), sql},
        {kThird, "login", "Alice", "s3cret pass", LoginOk("Alice"), "Alice"},
        {kHome, "login", "Alice", "", kLoginFailed, "Alice"},
        {kHome, "login", "Alice", std::string(201, 'p'), kLoginFailed, "Alice"},
        {kHome, "register", "Bob", "",
         "[register]\r\nregistration failed: the password must be "
         "1 to 200 bytes long",
         "Alice"},
        {kHome, "register", "a|b", "pw",
         "[register]\r\nregistration failed: the new user name holds a vertical bar or a control "
         "character",
         "Alice"},
        {kHome, "register", "Ann failed", "pw",
         "[register]\r\nregistration failed: the program cannot show a user name that holds "
         "\"failed\" or an error marker",
         "Alice"},
        {kHome, "register", "error: x", "pw",
         "[register]\r\nregistration failed: the program cannot show a user name that holds "
         "\"failed\" or an error marker",
         "Alice"},
        {kHome, "register", std::string(100, 'b'), std::string(200, 'p'),
         Registered(std::string(100, 'b')), std::string(100, 'b')},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.mode + " " + s.name + " / " + s.password);
        EXPECT_EQ(Ask(s.installation, s.mode, s.name, s.password), s.reply);
        EXPECT_EQ(LinkedName(s.installation), s.linked);
    }
    EXPECT_TRUE(storage->FindAccount("alice"));
}

TEST_F(LoginExchange, AnAliasOnlyAccountIsNeverLoggedIntoAndGetsItsPasswordAtHome) {
    ASSERT_EQ(AskService(running->Port(), kHome,
                         {{"mode", "set_username"}, {"prev_username", ""}, {"new_username", "Al"}}),
              "[result]\r\nusername changed");
    const struct {
        std::string installation, mode, name, password, reply;
    } steps[] = {
        {kOther, "login", "Al", "", kLoginFailed},
        {kOther, "login", "Al", "anything", kLoginFailed},
        {kHome, "login", "Al", "anything", kLoginFailed},
        {kOther, "register", "Al", "theirs", kRegistrationFailed},
        {kHome, "register", "AL", "mine", Registered("Al")},
        {kOther, "login", "al", "theirs", kLoginFailed},
        {kOther, "login", "al", "mine", LoginOk("Al")},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.installation + " " + s.mode + " " + s.password);
        EXPECT_EQ(Ask(s.installation, s.mode, s.name, s.password), s.reply);
    }
}

TEST_F(LoginExchange, AWrongPasswordAndAnUnknownNameReadTheSameAndAreCountedAlike) {
    ASSERT_EQ(Ask(kHome, "register", "Alice", "right"), Registered("Alice"));
    for (const std::string name : {"Alice", "Nobody"}) {
        SCOPED_TRACE(name);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(Ask(kOther, "login", name, "wrong"), kLoginFailed);
        }
        now += 300;
        // Blocked: even the right password fails, without a check.
        EXPECT_EQ(Ask(kOther, "login", name, "right"), kLoginFailed);
        EXPECT_EQ(Ask(kOther, "register", name, "right"),
                  name == "Alice" ? kRegistrationFailed : Registered(name));
        EXPECT_EQ(LinkedName(kOther), name == "Alice" ? "(none)" : name);
        now += 299;
        EXPECT_EQ(Ask(kOther, "login", name, "right"), kLoginFailed) << "599 s after the first";
        now += 1;
        EXPECT_EQ(Ask(kOther, "login", name, "right"), LoginOk(name)) << "the window passed";
        // The success forgot the failures: four more do not block.
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Ask(kThird, "login", name, "wrong"), kLoginFailed);
        }
        EXPECT_EQ(Ask(kThird, "login", name, "right"), LoginOk(name));
        now += 1000;
    }
    EXPECT_EQ(Ask(kThird, "login", "Alice", "right"), LoginOk("Alice"))
        << "other names' failures do not count";
}

TEST_F(LoginExchange, OnlyALinkedInstallationSetsThePassword) {
    ASSERT_EQ(Ask(kHome, "register", "Alice", "old"), Registered("Alice"));
    const struct {
        std::string installation, name, password, reply;
    } steps[] = {
        {kOther, "Alice", "stolen", kNotLinked},
        {kOther, "Nobody", "stolen", kNotLinked},
        {kHome, "alice", "",
         "[result]\r\nset_password failed: the password must be 1 to 200 "
         "bytes long"},
        {kHome, "", "new", kNotLinked},
        {kHome, "ALICE", "new|pass'--", kPasswordChanged},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.installation + " " + s.name + " " + s.password);
        EXPECT_EQ(Ask(s.installation, "set_password", s.name, s.password), s.reply);
    }
    EXPECT_EQ(Ask(kOther, "login", "Alice", "stolen"), kLoginFailed);
    EXPECT_EQ(Ask(kOther, "login", "Alice", "old"), kLoginFailed);
    EXPECT_EQ(Ask(kOther, "login", "Alice", "new|pass'--"), LoginOk("Alice"));
    EXPECT_EQ(Ask(kOther, "set_password", "Alice", "newer"), kPasswordChanged)
        << "a login links the installation";
}

TEST_F(LoginExchange, FaultyRequestsGetAnErrorLineAndRecordNothing) {
    const struct {
        std::string installation;
        TextFields fields;
        std::string reply;
    } cases[] = {
        {kHome, {{"mode", "login"}, {"password", "p"}}, "error: missing field username"},
        {kHome, {{"mode", "login"}, {"username", "Al"}}, "error: missing field password"},
        {kHome, {{"mode", "register"}, {"password", "p"}}, "error: missing field username"},
        {kHome, {{"mode", "register"}, {"username", "Al"}}, "error: missing field password"},
        {kHome, {{"mode", "set_password"}, {"password", "p"}}, "error: missing field username"},
        {kHome, {{"mode", "set_password"}, {"username", "Al"}}, "error: missing field password"},
        {"",
         {{"mode", "register"}, {"username", "Al"}, {"password", "p"}},
         "error: the header field holds no user id"},
        {"",
         {{"mode", "login"}, {"username", "Al"}, {"password", "p"}},
         "error: the header field holds no user id"},
        {"",
         {{"mode", "set_password"}, {"username", "Al"}, {"password", "p"}},
         "error: the header field holds no user id"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AskService(running->Port(), c.installation, c.fields), c.reply);
    }
    EXPECT_EQ(storage->FindAccount("Al"), std::nullopt);
}

} // namespace
} // namespace torvik::server
