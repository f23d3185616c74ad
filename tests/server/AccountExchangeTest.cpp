// The program's change of user name against the real service on loopback:
// what the service replies, what the user is shown, and which name the
// installation's account has afterwards.
#include <gtest/gtest.h>

#include "HttplibTransport.h"
#include "RunningService.h"
#include "common/Text.h"
#include "common/Utf8.h"
#include "fakes/FakeAccountView.h"
#include "fakes/FakePlatform.h"
#include "server/SqliteStorage.h"
#include "ui/AccountFlow.h"

namespace torvik::server {
namespace {

const std::string kNew = "user_NEWNEWNEWNEWNEWNEW001_2026-12-11 00:00:00.000";
const std::string kTaker = "user_TAKERTAKERTAKER00001_2026-12-11 00:00:00.000"; // has "Taken"

// The service's transport, keeping the last reply's text.
class RecordingTransport : public HttplibTransport {
public:
    using HttplibTransport::HttplibTransport;
    ServiceReply Post(const std::wstring& url, const MultipartFields& form) override {
        ServiceReply reply = HttplibTransport::Post(url, form);
        text = StringToUtf8(JoinLines(reply.lines));
        return reply;
    }
    std::string text;
};

class AccountExchange : public ::testing::Test {
protected:
    void SetUp() override {
        storage->AddAccount({.name = "Taken", .moderator = false, .installation = kTaker});
        running = std::make_unique<RunningService>(*storage);
    }
    // The reply to "Change username" sent as the program sends it, and the
    // message the user then sees.
    std::pair<std::string, std::string> ChangeName(const std::string& installation,
                                                   const std::string& previous,
                                                   const std::string& name) {
        RecordingTransport transport(running->Port());
        const ServiceAccess service{transport,
                                    [] { return std::wstring(kServiceUrl); },
                                    L"67",
                                    [&] { return HeaderOf(installation); },
                                    {}};
        torvik::testing::FakeDialogs dialogs;
        torvik::testing::FakeAccountView panel;
        panel.boxes[AccountView::Box::ExistingName] = Utf8ToString(previous);
        panel.boxes[AccountView::Box::NewName] = Utf8ToString(name);
        AccountFlow(service, dialogs, 0, panel).bRegister_UsernameClick();
        return {transport.text,
                dialogs.messages.empty() ? "" : StringToUtf8(dialogs.messages.back())};
    }
    std::string LinkedName(const std::string& installation) const {
        const auto account = storage->FindAccountOf(installation);
        return account ? account->name : "(none)";
    }

    std::unique_ptr<Storage> storage = SqliteStorage::InMemory();
    std::unique_ptr<RunningService> running;
};

const std::string kChanged = "[result]\r\nusername changed";
std::string Failed(const std::string& reason) {
    return "[result]\r\nset_username failed: " + reason;
}
const std::string kMarked = "error: <b>Warning</b>: HTTP Error";

TEST_F(AccountExchange, TheLinkedAccountTakesTheNewNameUnlessItIsRefused) {
    const struct {
        std::string installation, previous, name, reply, message, linked;
    } steps[] = {
        {kNew, "", "  Alice  ", kChanged, "Username changed", "Alice"},
        {kNew, "alice", "Alice Smith", kChanged, "Username changed", "Alice Smith"},
        {kNew, "", "ALICE SMITH", kChanged, "Username changed", "ALICE SMITH"},
        {kNew, "", "taken", Failed("the user name \"taken\" belongs to another account"),
         "Login failed", "ALICE SMITH"},
        {kNew, "Taken", "Carol",
         Failed("the previous user name is not the name of this installation's account"),
         "Login failed", "ALICE SMITH"},
        {kNew, "", std::string(101, 'n'), Failed("the new user name is longer than 100 bytes"),
         "Login failed", "ALICE SMITH"},
        {kNew, "", "a|b", Failed("the new user name holds a vertical bar or a control character"),
         "Login failed", "ALICE SMITH"},
        {kNew, "", std::string(100, 'n'), kChanged, "Username changed", std::string(100, 'n')},
        // Kept as typed, never echoed as it is: the client would take it for
        // a failure of the service.
        {kNew, "", kMarked, kChanged, "Username changed", kMarked},
        {kTaker, "", "ERROR: <b>warning</b>: http error",
         Failed("the user name \"ERROR - <b>warning</b> - http-error\" belongs to another account"),
         "Login failed", "Taken"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.previous + " -> " + s.name);
        const auto [reply, message] = ChangeName(s.installation, s.previous, s.name);
        EXPECT_EQ(reply, s.reply);
        EXPECT_EQ(message, s.message);
        EXPECT_EQ(LinkedName(s.installation), s.linked);
    }
}

TEST_F(AccountExchange, FaultyRequestsGetAnErrorLineOrFailAndChangeNothing) {
    const struct {
        std::string installation;
        TextFields fields;
        std::string reply, linked;
    } cases[] = {
        {kNew,
         {{"mode", "set_username"}, {"new_username", "Al"}},
         "error: missing field prev_username",
         "(none)"},
        {kNew,
         {{"mode", "set_username"}, {"prev_username", ""}},
         "error: missing field new_username",
         "(none)"},
        {"",
         {{"mode", "set_username"}, {"prev_username", ""}, {"new_username", "Al"}},
         "error: the header field holds no user id",
         "(none)"},
        {kNew,
         {{"mode", "set_username"}, {"prev_username", ""}, {"new_username", " \r\n "}},
         Failed("the new user name is empty"),
         "(none)"},
        {kNew,
         {{"mode", "set_username"}, {"prev_username", " \t"}, {"new_username", "\tAl \r\n"}},
         kChanged,
         "Al"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AskService(running->Port(), c.installation, c.fields), c.reply);
        EXPECT_EQ(LinkedName(kNew), c.linked) << c.reply;
    }
}

// The program's registration, login and change of password against the
// service: what the user sees and which account name the window keeps.
TEST(AccountFlowExchange, RegisterLogInElsewhereAndChangeThePassword) {
    const auto storage = SqliteStorage::InMemory();
    ServiceOptions options;
    options.passwordCost = PasswordCost::Minimum();
    RunningService running(*storage, options);
    // One installation's window: its panel, its messages, its requests.
    struct Window {
        Window(int port, const std::string& installation)
            : transport(port), flow(ServiceAccess{transport,
                                                  [] { return std::wstring(kServiceUrl); },
                                                  L"67",
                                                  [installation] { return HeaderOf(installation); },
                                                  {}},
                                    dialogs, 0, panel) {
            panel.account = panel.shown = L"";
        }
        HttplibTransport transport;
        torvik::testing::FakeDialogs dialogs;
        torvik::testing::FakeAccountView panel;
        AccountFlow flow;
    };
    using Box = AccountView::Box;

    Window home(running.Port(), kNew);
    home.panel.boxes[Box::RegisterName] = L" Dora ";
    home.panel.boxes[Box::RegisterPassword] = L"first pass";
    home.flow.bRegisterClick();
    EXPECT_EQ(home.panel.account, L"Dora");
    EXPECT_TRUE(home.dialogs.messages.empty());

    Window other(running.Port(), kTaker);
    other.panel.boxes[Box::LoginName] = L"DORA";
    other.panel.boxes[Box::LoginPassword] = L"wrong pass";
    other.flow.bLoginClick();
    other.panel.boxes[Box::LoginPassword] = L"first pass";
    other.flow.bLoginClick();
    EXPECT_EQ(other.dialogs.messages, (std::vector<std::wstring>{L"Login failed", L"Login ok"}));
    EXPECT_EQ(other.panel.account, L"Dora") << "the account's own spelling";

    other.panel.boxes[Box::NewPassword] = L"second pass";
    other.flow.bRegister_PasswordClick();
    EXPECT_EQ(other.dialogs.messages.back(), L"Password changed");
    home.panel.boxes[Box::LoginName] = L"Dora";
    home.panel.boxes[Box::LoginPassword] = L"first pass";
    home.flow.bLoginClick();
    EXPECT_EQ(home.dialogs.messages.back(), L"Login failed") << "the old password is gone";
}

} // namespace
} // namespace torvik::server
