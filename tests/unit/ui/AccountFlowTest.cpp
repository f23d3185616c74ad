#include <gtest/gtest.h>

#include "fakes/FakeAccountView.h"
#include "fakes/FakePlatform.h"
#include "fakes/ScriptedTransport.h"
#include "ui/AccountFlow.h"

namespace torvik {
namespace {

using Box = AccountView::Box;
using Page = AccountView::Page;
using testing::FakeAccountView;
using Lines = std::vector<std::wstring>;

struct AccountFlowTest : ::testing::Test {
    // The fields of the one request sent, as name=value.
    std::vector<std::wstring> SentFields() {
        EXPECT_EQ(transport.forms.size(), 1u);
        std::vector<std::wstring> fields;
        for (const auto& field : transport.forms.at(0).TextFields()) {
            fields.push_back(field.name + L"=" + field.value);
        }
        return fields;
    }
    void Reply(const Lines& lines) { transport.answers.push_back(lines); }

    std::wstring url = L"http://127.0.0.1:1245/VersionChecker.aspx";
    testing::ScriptedTransport transport;
    testing::FakeDialogs dialogs;
    FakeAccountView view;
    AccountFlow flow{
        ServiceAccess{
            transport, [this] { return url; }, L"77", [] { return std::wstring(L"hdr"); }, {}},
        dialogs, 0, view};
};

TEST_F(AccountFlowTest, OpeningThePanelFillsItsBoxesAndPicksThePage) {
    const struct {
        std::wstring shown;
        Page page;
        Box focus;
    } cases[] = {
        {L"alice", Page::Login, Box::LoginName},
        {L"anonymouse", Page::Register, Box::RegisterName},
        {L"", Page::Register, Box::RegisterName},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        view.account = L"alice";
        view.shown = c.shown;
        view.boxes = {{Box::RegisterName, L"x"},
                      {Box::RegisterPassword, L"x"},
                      {Box::LoginPassword, L"x"},
                      {Box::NewPassword, L"x"}};
        flow.bMyAccountClick();
        EXPECT_EQ(view.page, c.page);
        EXPECT_EQ(view.focus, c.focus);
        EXPECT_EQ(view.boxes, (std::map<Box, std::wstring>{{Box::RegisterName, L""},
                                                           {Box::RegisterPassword, L""},
                                                           {Box::LoginName, L"alice"},
                                                           {Box::LoginPassword, L""},
                                                           {Box::ExistingName, L"alice"},
                                                           {Box::NewName, L"alice"},
                                                           {Box::PasswordPageName, L"alice"},
                                                           {Box::NewPassword, L""}}));
    }
}

TEST_F(AccountFlowTest, LoginSendsTheTrimmedBoxesAndReadsTwoFields) {
    view.boxes[Box::LoginName] = L"  alice ";
    view.boxes[Box::LoginPassword] = L" s3cret  ";
    Reply({L"[login]", L"login ok | Alice"});
    flow.bLoginClick();
    EXPECT_EQ(SentFields(), (std::vector<std::wstring>{L"build=77", L"header=hdr", L"mode=login",
                                                       L"username=alice", L"password=s3cret"}));
    EXPECT_EQ(view.boxes[Box::LoginName], L"alice") << "trimmed in place";
    EXPECT_EQ(view.boxes[Box::LoginPassword], L"s3cret");
    EXPECT_EQ(view.account, L"Alice");
    EXPECT_EQ(view.shown, L"Alice");
    EXPECT_EQ(dialogs.messages, Lines{L"Login ok"});
    EXPECT_FALSE(view.panelShown);
    EXPECT_EQ(view.saved, 1);
}

TEST_F(AccountFlowTest, RefusedOrOddRepliesChangeNothing) {
    const std::wstring taken =
        L"Username is already taken, and the password did not match. Login failed.\r\n"
        L"Please select another username.\r\n"
        L"If the account belongs to you, please supply the correct password";
    const struct {
        bool login;
        std::wstring value;
        Lines messages;
    } cases[] = {
        {true, L"login failed", {L"Login failed"}},
        {true, L"login ok|alice|x", {L"Invalid server reply: login ok|alice|x"}},
        {true, L"", {L"Invalid server reply: "}},
        {false, L"registration failed|bob", {taken}},
        {false, L"registration ok", {L"Invalid server reply: registration ok"}},
        // Two fields but neither status: nothing happens, nothing is shown.
        {false, L"pending|bob", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        testing::FakeDialogs caseDialogs;
        FakeAccountView caseView;
        testing::ScriptedTransport caseTransport;
        caseTransport.answers.push_back(Lines{c.login ? L"[login]" : L"[register]", c.value});
        AccountFlow caseFlow{
            ServiceAccess{
                caseTransport, [this] { return url; }, L"1", [] { return std::wstring(L"h"); }, {}},
            caseDialogs, 0, caseView};
        c.login ? caseFlow.bLoginClick() : caseFlow.bRegisterClick();
        EXPECT_EQ(caseDialogs.messages, c.messages);
        EXPECT_EQ(caseView.account, L"old");
        EXPECT_TRUE(caseView.panelShown);
        EXPECT_EQ(caseView.saved, 0);
    }
}

TEST_F(AccountFlowTest, RegistrationOrTheLoginItFallsBackToTakesTheAccountSilently) {
    for (const std::wstring value : {L"registration ok|Bob", L"login ok|Bob"}) {
        SCOPED_TRACE(value);
        FakeAccountView caseView;
        testing::FakeDialogs caseDialogs;
        testing::ScriptedTransport caseTransport;
        caseTransport.answers.push_back(Lines{L"[register]", value});
        AccountFlow caseFlow{
            ServiceAccess{
                caseTransport, [this] { return url; }, L"1", [] { return std::wstring(L"h"); }, {}},
            caseDialogs, 0, caseView};
        caseView.boxes[Box::RegisterName] = L" Bob ";
        caseFlow.bRegisterClick();
        EXPECT_EQ(caseView.account, L"Bob");
        EXPECT_TRUE(caseDialogs.messages.empty());
        EXPECT_FALSE(caseView.panelShown);
        EXPECT_EQ(caseView.saved, 1);
        EXPECT_EQ(caseTransport.forms.at(0).TextFields().at(2).value, L"register");
    }
}

TEST_F(AccountFlowTest, AChangedPasswordIsNotSaved) {
    view.boxes[Box::NewPassword] = L" n3w ";
    Reply({L"[result]", L"password changed"});
    flow.bRegister_PasswordClick();
    EXPECT_EQ(SentFields(),
              (std::vector<std::wstring>{L"build=77", L"header=hdr", L"mode=set_password",
                                         L"username=old", L"password=n3w"}));
    EXPECT_EQ(view.boxes[Box::NewPassword], L"");
    EXPECT_EQ(dialogs.messages, Lines{L"Password changed"});
    EXPECT_FALSE(view.panelShown);
    EXPECT_EQ(view.saved, 0) << "the settings hold no password";
}

TEST_F(AccountFlowTest, TheNewUserNameBecomesTheSavedAccountName) {
    view.boxes[Box::ExistingName] = L"old";
    view.boxes[Box::NewName] = L"  Alice  ";
    Reply({L"[result]", L"username changed"});
    EXPECT_TRUE(flow.bRegister_UsernameClick());
    EXPECT_EQ(view.boxes[Box::NewName], L"Alice");
    EXPECT_EQ(SentFields(),
              (std::vector<std::wstring>{L"build=77", L"header=hdr", L"mode=set_username",
                                         L"prev_username=old", L"new_username=Alice"}));
    EXPECT_EQ(view.account, L"Alice");
    EXPECT_EQ(view.saved, 1);
    EXPECT_FALSE(view.panelShown);
    EXPECT_EQ(dialogs.messages, Lines{L"Username changed"});
}

TEST_F(AccountFlowTest, ChangesWithoutUserIdOrValueOrRefusedSendOrChangeNothing) {
    const std::wstring noId =
        L"No user ID was Assigned. Please restart the program to get a new user ID";
    const struct {
        const wchar_t* what;
        bool password;
        std::wstring userId, value;
        Lines reply; // empty: nothing may be sent
        Lines messages;
    } cases[] = {
        {L"name refused",
         false,
         L"user_X",
         L"Bob",
         {L"[result]", L"set_username failed"},
         {L"Login failed"}},
        {L"name without user id", false, L"", L"Bob", {}, {noId}},
        {L"blank name", false, L"user_X", L"   ", {}, {}},
        {L"password refused",
         true,
         L"user_X",
         L"pw",
         {L"[result]", L"set_password failed"},
         {L"Login failed"}},
        {L"password without user id", true, L"", L"pw", {}, {noId}},
        {L"blank password", true, L"user_X", L" ", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing::FakeDialogs caseDialogs;
        FakeAccountView caseView;
        caseView.userId = c.userId;
        caseView.boxes[c.password ? Box::NewPassword : Box::NewName] = c.value;
        testing::ScriptedTransport caseTransport;
        if (!c.reply.empty()) {
            caseTransport.answers.push_back(c.reply);
        }
        AccountFlow caseFlow{
            ServiceAccess{
                caseTransport, [this] { return url; }, L"1", [] { return std::wstring(L"h"); }, {}},
            caseDialogs, 0, caseView};
        if (c.password) {
            caseFlow.bRegister_PasswordClick();
        } else {
            EXPECT_FALSE(caseFlow.bRegister_UsernameClick());
        }
        EXPECT_EQ(caseTransport.forms.size(), c.reply.empty() ? 0u : 1u);
        EXPECT_EQ(caseView.account, L"old");
        EXPECT_EQ(caseView.saved, 0);
        EXPECT_TRUE(caseView.panelShown);
        EXPECT_EQ(caseDialogs.messages, c.messages);
    }
}

TEST_F(AccountFlowTest, AnErrorReplyRaisesAndThePanelStays) {
    view.boxes[Box::LoginName] = L"alice";
    Reply({L"error: database is locked"});
    EXPECT_THROW(flow.bLoginClick(), TorvikError);
    EXPECT_EQ(view.account, L"old");
    EXPECT_TRUE(view.panelShown);
    EXPECT_EQ(view.saved, 0);
}

TEST_F(AccountFlowTest, APasswordGoesInClearToAnotherComputerOnlyWhenTheUserSaysSo) {
    const struct {
        std::wstring url;
        bool asks;
    } cases[] = {
        {L"http://127.0.0.1:1245/VersionChecker.aspx", false},
        {L"http://LOCALHOST/v.aspx", false},
        {L"https://www.example.org/versionchecker.aspx", false},
        {L"HTTPS://www.example.org:8443/v.aspx", false},
        {L"http://www.example.org/versionchecker.aspx", true},
        {L"www.example.org/versionchecker.aspx", true},
        {L"http://127.0.0.1.example.org/v.aspx", true},
        {L"", true},
    };
    for (const auto& c : cases) {
        const std::wstring question = PasswordInClearQuestion(c.url);
        EXPECT_EQ(!question.empty(), c.asks) << c.url;
        if (c.asks) {
            EXPECT_NE(question.find(c.url), std::wstring::npos) << question;
        }
    }

    url = L"http://www.example.org/versionchecker.aspx";
    view.boxes[Box::LoginName] = L"alice";
    dialogs.answers = {false};
    flow.bLoginClick();
    EXPECT_TRUE(transport.forms.empty()) << "Cancel sends nothing";
    EXPECT_EQ(dialogs.captions, Lines{L"Login"});
    dialogs.answers = {true};
    Reply({L"[login]", L"login ok|alice"});
    flow.bLoginClick();
    EXPECT_EQ(transport.forms.size(), 1u);
    EXPECT_EQ(view.account, L"alice");
}

} // namespace
} // namespace torvik
