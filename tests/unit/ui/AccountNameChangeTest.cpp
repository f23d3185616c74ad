#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "fakes/ScriptedTransport.h"
#include "ui/AccountNameChange.h"

namespace torvik {
namespace {

class FakeAccountView : public AccountNameView {
public:
    std::wstring UserId() override { return userId; }
    std::wstring PreviousName() override { return previous; }
    std::wstring NewName() override { return newName; }
    void SetNewName(const std::wstring& name) override { newName = name; }
    void SetAccountName(const std::wstring& name) override { account = name; }
    void SaveSettings() override { ++saved; }
    void HideLoginPanel() override { panelHidden = true; }

    std::wstring userId = L"user_ABC_2026-12-11 00:00:00.000", previous, newName, account = L"old";
    int saved = 0;
    bool panelHidden = false;
};

struct AccountNameChangeTest : ::testing::Test {
    bool Change() { return ChangeUserName(service, dialogs, view); }

    testing::ScriptedTransport transport;
    testing::FakeDialogs dialogs;
    FakeAccountView view;
    ServiceAccess service{transport,
                          [] { return std::wstring(L"http://svc/v.aspx"); },
                          L"77",
                          [] { return std::wstring(L"hdr"); },
                          {}};
};

TEST_F(AccountNameChangeTest, TheTrimmedNameIsSentAndBecomesTheSavedAccountName) {
    view.previous = L"old";
    view.newName = L"  Alice  ";
    transport.answers.push_back(std::vector<std::wstring>{L"[result]", L"ok"});
    EXPECT_TRUE(Change());
    EXPECT_EQ(view.newName, L"Alice") << "trimmed in place";
    ASSERT_EQ(transport.forms.size(), 1u);
    std::vector<std::wstring> fields;
    for (const auto& field : transport.forms[0].TextFields()) {
        fields.push_back(field.name + L"=" + field.value);
    }
    EXPECT_EQ(fields, (std::vector<std::wstring>{L"build=77", L"header=hdr", L"mode=set_username",
                                                 L"prev_username=old", L"new_username=Alice"}));
    EXPECT_EQ(view.account, L"Alice");
    EXPECT_EQ(view.saved, 1);
    EXPECT_TRUE(view.panelHidden);
    EXPECT_EQ(dialogs.messages, std::vector<std::wstring>{L"Username changed"});
}

TEST_F(AccountNameChangeTest, RefusedOrNotSentChangesNothing) {
    const struct {
        const wchar_t* what;
        std::wstring userId, newName;
        std::vector<std::wstring> reply; // empty: nothing may be sent
        std::vector<std::wstring> messages;
    } cases[] = {
        {L"refused", L"user_X", L"Bob", {L"[result]", L"set_username failed"}, {L"Login failed"}},
        {L"no user id",
         L"",
         L"Bob",
         {},
         {L"No user ID was Assigned. Please restart the program to get a new user ID"}},
        {L"blank name", L"user_X", L"   ", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing::FakeDialogs caseDialogs;
        FakeAccountView caseView;
        caseView.userId = c.userId;
        caseView.newName = c.newName;
        testing::ScriptedTransport caseTransport;
        if (!c.reply.empty()) {
            caseTransport.answers.push_back(c.reply);
        }
        ServiceAccess access{caseTransport,
                             [] { return std::wstring(L"u"); },
                             L"1",
                             [] { return std::wstring(L"h"); },
                             {}};
        EXPECT_FALSE(ChangeUserName(access, caseDialogs, caseView));
        EXPECT_EQ(caseTransport.forms.size(), c.reply.empty() ? 0u : 1u);
        EXPECT_EQ(caseView.account, L"old");
        EXPECT_EQ(caseView.saved, 0);
        EXPECT_FALSE(caseView.panelHidden);
        EXPECT_EQ(caseDialogs.messages, c.messages);
    }
}

TEST_F(AccountNameChangeTest, AnErrorReplyRaisesAndChangesNothing) {
    view.newName = L"Alice";
    transport.answers.push_back(std::vector<std::wstring>{L"error: database is locked"});
    EXPECT_THROW(Change(), TorvikError);
    EXPECT_EQ(view.account, L"old");
    EXPECT_EQ(view.saved, 0);
}

} // namespace
} // namespace torvik
