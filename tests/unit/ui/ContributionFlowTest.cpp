#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "common/Error.h"
#include "fakes/FakePlatform.h"
#include "fakes/ScriptedTransport.h"
#include "ui/ContributionFlow.h"

namespace torvik {
namespace {

using ::testing::ElementsAre;
using testing::FieldsOf;
using ::testing::IsEmpty;
using Field = ContributionView::Field;
using Page = ContributionView::Page;

constexpr wchar_t kUrl[] = L"http://127.0.0.1:1245/VersionChecker.aspx";
constexpr wchar_t kHeader[] = L"user_TEST#Windows NT 10.00.19045";
const std::vector<std::wstring> kOk = {L"[reply]", L"ok"};

// The panel and the window around it, with a log of what changed in order.
class FakeContributionView : public ContributionView {
public:
    std::map<Field, std::wstring> fields;
    std::wstring account;
    std::wstring accountAtTop;
    std::optional<Page> shownPage;
    std::optional<Field> focused;
    bool programListEnabled = true, sendEnabled = true, pleaseWait = false;
    bool moderationShown = false, approveLastVersionVisible = false;
    std::vector<std::wstring>& log;

    explicit FakeContributionView(std::vector<std::wstring>& events) : log(events) {}

    std::wstring Text(Field field) override { return fields[field]; }
    void SetText(Field field, const std::wstring& text) override { fields[field] = text; }
    void Focus(Field field) override { focused = field; }
    void ShowPanel(Page page) override { shownPage = page; }
    void HidePanel() override { shownPage.reset(); }
    bool PanelVisible() override { return shownPage.has_value(); }
    void EnableProgramList(bool enabled) override { programListEnabled = enabled; }
    void EnableSend(bool enabled) override { sendEnabled = enabled; }
    std::wstring AccountName() override { return account; }
    void SetAccountName(const std::wstring& name) override {
        account = accountAtTop = name;
        log.push_back(L"account " + name);
    }
    void ShowModerationButtons() override { moderationShown = approveLastVersionVisible = true; }
    bool ApproveLastVersionVisible() override { return approveLastVersionVisible; }
    void ShowPleaseWait(const std::wstring& text) override {
        pleaseWait = true;
        log.push_back(L"wait " + text);
    }
    void HidePleaseWait() override {
        pleaseWait = false;
        log.push_back(L"wait over");
    }
};

class ContributionFlowTest : public ::testing::Test {
protected:
    ContributionFlowTest() {
        transport.whilePosting = [this] {
            log.push_back(L"post");
            EXPECT_TRUE(view.pleaseWait) << "the request runs behind the please-wait panel";
            sendEnabledWhilePosting.push_back(view.sendEnabled);
        };
    }

    ContributionServices Services() {
        return {dialogs,
                7,
                {transport,
                 [] { return std::wstring(kUrl); },
                 L"67",
                 [] { return std::wstring(kHeader); },
                 {[this](const std::wstring&) { log.push_back(L"screen"); }, {}}},
                [] {
                    return TProgramRecord2{L"Media Player", L"player.exe"};
                },
                [this](const std::wstring& name) {
                    log.push_back(L"change user name to " + name);
                    return nameChangeSucceeds;
                }};
    }
    // The comment page, filled in.
    void Fill(const std::wstring& alias) {
        flow.HTLabel3xClick();
        view.fields = {{Field::Alias, alias},
                       {Field::Comment, L"Plays everything"},
                       {Field::Tags, L"media, video"},
                       {Field::ProductUrl, L""},
                       {Field::DownloadUrl, L"https://example.org/get?from=http://mirror"}};
    }
    std::vector<std::wstring> PostedForm(const std::wstring& alias) const {
        return {L"build=67",
                std::wstring(L"header=") + kHeader,
                L"username=" + alias,
                L"mode=community_post_note",
                L"program_name=Media Player",
                L"exe_filename=player.exe",
                L"comment=Plays everything",
                L"tags=media, video",
                L"product_url=",
                L"download_url=https://example.org/get?from=http://mirror"};
    }
    bool FieldsKept() {
        return view.fields[Field::Comment] == L"Plays everything" &&
               view.fields[Field::Tags] == L"media, video" &&
               view.fields[Field::DownloadUrl] == L"https://example.org/get?from=http://mirror";
    }

    std::vector<std::wstring> log;
    testing::FakeDialogs dialogs;
    testing::ScriptedTransport transport;
    FakeContributionView view{log};
    bool nameChangeSucceeds = true;
    std::vector<bool> sendEnabledWhilePosting;
    ContributionFlow flow{Services(), view};
};

TEST_F(ContributionFlowTest, WithoutAnAccountTheTrimmedAliasIsSentAndBecomesTheAccountName) {
    Fill(L"  Alice \t");
    transport.answers.push_back(kOk);
    flow.bCommunity_PostNoteClick();

    EXPECT_THAT(dialogs.questions, IsEmpty());
    ASSERT_EQ(transport.forms.size(), 1u);
    EXPECT_EQ(transport.urls[0], kUrl);
    EXPECT_EQ(FieldsOf(transport.forms[0]), PostedForm(L"Alice"));
    EXPECT_EQ(view.fields[Field::Alias], L"Alice") << "trimmed in place";
    EXPECT_EQ(view.account, L"Alice");
    EXPECT_EQ(view.accountAtTop, L"Alice");
    EXPECT_THAT(log, ElementsAre(L"wait ", L"post", L"screen", L"wait over", L"account Alice"));
    EXPECT_THAT(sendEnabledWhilePosting, ElementsAre(false))
        << "a second Send would post the note twice";
    EXPECT_TRUE(view.sendEnabled);
}

TEST_F(ContributionFlowTest, OkThanksClosesThePanelAndClearsTheContributionButNotTheAlias) {
    Fill(L"Alice");
    view.account = L"Alice";
    transport.answers.push_back(std::vector<std::wstring>{L"[reply]", L" ok ", L"[other]", L"x"});
    flow.bCommunity_PostNoteClick();

    EXPECT_THAT(dialogs.questions, IsEmpty()) << "the same name asks nothing";
    EXPECT_THAT(dialogs.messages, ElementsAre(L"Thank you!"));
    EXPECT_FALSE(view.PanelVisible());
    EXPECT_TRUE(view.programListEnabled);
    EXPECT_EQ(view.fields[Field::Alias], L"Alice");
    for (const Field f : {Field::Comment, Field::Tags, Field::ProductUrl, Field::DownloadUrl}) {
        EXPECT_EQ(view.fields[f], L"") << static_cast<int>(f);
    }
}

TEST_F(ContributionFlowTest, AnyAnswerButOkKeepsTheFieldsForAnotherTry) {
    const std::vector<std::vector<std::wstring>> replies = {
        {L"[reply]", L"failed"},
        {L"[reply]", L"OK"},
        {L"[reply]", L"ok", L"later"},
        {L"[result]", L"ok"},
        {L"ok"},
        {},
    };
    for (const auto& reply : replies) {
        dialogs.messages.clear();
        Fill(L"Alice");
        transport.answers.push_back(reply);
        flow.bCommunity_PostNoteClick();
        EXPECT_THAT(dialogs.messages, ElementsAre(L"An error occurred. Please try again alter"))
            << ::testing::PrintToString(reply);
        EXPECT_TRUE(view.PanelVisible());
        EXPECT_TRUE(FieldsKept());
        EXPECT_EQ(view.account, L"Alice") << "the alias is the account name all the same";
        EXPECT_TRUE(view.sendEnabled);
        EXPECT_FALSE(view.pleaseWait);
    }
}

// Letter case counts: "alice" is another alias than "Alice".
TEST_F(ContributionFlowTest, ADifferentAliasIsConfirmedAndCancelSendsNothing) {
    Fill(L" alice ");
    view.account = L"Alice";
    dialogs.answers = {false};
    flow.bCommunity_PostNoteClick();

    EXPECT_THAT(
        dialogs.questions,
        ElementsAre(L"This will permanently change your alias from \"Alice\" to \"alice\""));
    EXPECT_THAT(dialogs.captions, ElementsAre(L"Confirm"));
    EXPECT_THAT(transport.forms, IsEmpty());
    EXPECT_THAT(log, IsEmpty()) << "no name change, no please-wait";
    EXPECT_EQ(view.account, L"Alice");
    EXPECT_TRUE(FieldsKept());
}

TEST_F(ContributionFlowTest, OkChangesTheUserNameFirstThenPosts) {
    Fill(L"Bob");
    view.account = L"Alice";
    dialogs.answers = {true};
    transport.answers.push_back(kOk);
    flow.bCommunity_PostNoteClick();

    EXPECT_THAT(log, ElementsAre(L"change user name to Bob", L"wait ", L"post", L"screen",
                                 L"wait over", L"account Bob"));
    ASSERT_EQ(transport.forms.size(), 1u);
    EXPECT_EQ(FieldsOf(transport.forms[0]), PostedForm(L"Bob"));
    EXPECT_THAT(dialogs.messages, ElementsAre(L"Thank you!"));
}

TEST_F(ContributionFlowTest, ARefusedNameChangePostsNothing) {
    Fill(L"Bob");
    view.account = L"Alice";
    dialogs.answers = {true};
    nameChangeSucceeds = false;
    flow.bCommunity_PostNoteClick();

    EXPECT_THAT(log, ElementsAre(L"change user name to Bob"));
    EXPECT_THAT(transport.forms, IsEmpty());
    EXPECT_EQ(view.account, L"Alice");
    EXPECT_TRUE(FieldsKept());
}

// Screening and transport errors reach the window's error handling, but
// the panel must be usable again when the error box is closed.
TEST_F(ContributionFlowTest, AnErrorLeavesPleaseWaitHiddenSendEnabledAndTheFieldsKept) {
    const std::vector<testing::ScriptedTransport::Answer> failures = {
        std::vector<std::wstring>{L"error: unknown program"},
        std::vector<std::wstring>{L"<title>Server Error in '/' Application.</title>"},
        testing::ScriptedTransport::Failure{L"Wininet error # 12029", 12029},
    };
    for (const auto& failure : failures) {
        Fill(L"Alice");
        transport.answers.push_back(failure);
        EXPECT_THROW(flow.bCommunity_PostNoteClick(), TorvikError);
        EXPECT_FALSE(view.pleaseWait);
        EXPECT_TRUE(view.sendEnabled);
        EXPECT_TRUE(view.PanelVisible());
        EXPECT_TRUE(FieldsKept());
        EXPECT_EQ(view.account, L"") << "nothing was taken, so the alias is no account name yet";
        EXPECT_THAT(dialogs.messages, IsEmpty());
    }
}

TEST_F(ContributionFlowTest, ACancelledRequestChangesNothingElse) {
    Fill(L"Alice");
    transport.answers.push_back(true);
    flow.bCommunity_PostNoteClick();
    EXPECT_THAT(dialogs.messages, IsEmpty());
    EXPECT_EQ(view.account, L"");
    EXPECT_TRUE(FieldsKept());
    EXPECT_TRUE(view.sendEnabled);
    EXPECT_FALSE(view.pleaseWait);
}

TEST_F(ContributionFlowTest, PagesOpenOverADisabledListAndTheCommentPageFocusesByTheAlias) {
    const struct {
        const char* what;
        std::function<void(ContributionFlow&)> open;
        std::wstring alias;
        std::optional<Page> page;
        std::optional<Field> focus;
    } cases[] = {
        {"comment, no alias", [](auto& f) { f.HTLabel3xClick(); }, L"", Page::Comment,
         Field::Alias},
        {"comment, blank alias", [](auto& f) { f.HTLabel3xClick(); }, L" \t", Page::Comment,
         Field::Alias},
        {"comment, alias", [](auto& f) { f.HTLabel3xClick(); }, L"Alice", Page::Comment,
         Field::Comment},
        {"list menu, selected row", [](auto& f) { f.pi_CommunityNotesClick(true); }, L"Alice",
         Page::Comment, Field::Comment},
        {"list menu, no row", [](auto& f) { f.pi_CommunityNotesClick(false); }, L"Alice",
         std::nullopt, std::nullopt},
        {"url page", [](auto& f) { f.TorvikLinkLabel1Click(); }, L"", Page::Url, std::nullopt},
    };
    for (const auto& c : cases) {
        view.shownPage.reset();
        view.focused.reset();
        view.programListEnabled = true;
        view.fields[Field::Alias] = c.alias;
        c.open(flow);
        EXPECT_EQ(view.shownPage, c.page) << c.what;
        EXPECT_EQ(view.focused, c.focus) << c.what;
        EXPECT_EQ(view.programListEnabled, !c.page.has_value()) << c.what;
    }
}

TEST_F(ContributionFlowTest, ModerationSendsTheVerdictOnTheShownProgram) {
    const struct {
        void (ContributionFlow::*click)();
        const wchar_t* mode;
    } cases[] = {
        {&ContributionFlow::bCommunity2ApproveClick, L"mode=community_approve_app"},
        {&ContributionFlow::bCommunity3ApproveClick, L"mode=community_approve_app_url"},
        {&ContributionFlow::bCommunity2RejectClick, L"mode=community_reject_app"},
    };
    for (const auto& c : cases) {
        transport.forms.clear();
        transport.answers.push_back(std::vector<std::wstring>{L"[result]", L"done"});
        (flow.*c.click)();
        ASSERT_EQ(transport.forms.size(), 1u) << c.mode;
        EXPECT_THAT(FieldsOf(transport.forms[0]),
                    ElementsAre(L"build=67", std::wstring(L"header=") + kHeader, c.mode,
                                L"program_name=Media Player", L"exe_filename=player.exe"));
        EXPECT_FALSE(view.pleaseWait);
        EXPECT_THAT(dialogs.messages, IsEmpty()) << "nothing follows a verdict";
    }
}

TEST_F(ContributionFlowTest, ApproveVersionTakesTheMissingUrlsRowAndNothingWithoutOne) {
    transport.answers.push_back(std::vector<std::wstring>{});
    flow.bCommunity_ApproveClick(std::vector<std::wstring>{L"Editor", L"edit.exe", L"2.0"});
    ASSERT_EQ(transport.forms.size(), 1u);
    EXPECT_THAT(FieldsOf(transport.forms[0]),
                ElementsAre(L"build=67", std::wstring(L"header=") + kHeader,
                            L"mode=community_approve_app", L"program_name=Editor",
                            L"exe_filename=edit.exe"));

    flow.bCommunity_ApproveClick(std::nullopt);
    flow.bCommunity_ApproveClick(std::vector<std::wstring>{L"Editor"});
    EXPECT_EQ(transport.forms.size(), 1u);
    EXPECT_THAT(log, ElementsAre(L"wait ", L"post", L"screen", L"wait over"));
}

TEST_F(ContributionFlowTest, AFailedVerdictHidesPleaseWait) {
    transport.whilePosting = nullptr;
    transport.answers = {std::vector<std::wstring>{L"error: not a moderator"},
                         testing::ScriptedTransport::Failure{L"TIEHttp error: Timeout", 0}};
    EXPECT_THROW(flow.bCommunity2RejectClick(), TorvikError);
    EXPECT_FALSE(view.pleaseWait);
    EXPECT_THROW(flow.bCommunity_ApproveClick(std::vector<std::wstring>{L"A", L"a.exe"}),
                 ServiceTransportError);
    EXPECT_FALSE(view.pleaseWait);
    EXPECT_THAT(log, ElementsAre(L"wait ", L"screen", L"wait over", L"wait ", L"wait over"));
}

TEST(DetailsShortcutOf, TheChordsAndWhenTheyApply) {
    constexpr unsigned kEsc = kVirtualKeyEscape;
    const struct {
        ShortcutKey key;
        bool panel, approveButton;
        DetailsShortcut expected;
    } cases[] = {
        {{'A', true, true}, false, false, DetailsShortcut::ShowModeration},
        {{'A', true, true}, true, true, DetailsShortcut::ShowModeration},
        {{'A', true, false}, true, true, DetailsShortcut::None},
        {{'A', false, true}, true, true, DetailsShortcut::None},
        {{'P', true, false}, true, true, DetailsShortcut::ApproveLastVersion},
        {{'P', true, false}, false, true, DetailsShortcut::None},
        {{'P', true, false}, true, false, DetailsShortcut::None},
        {{'P', true, true}, true, true, DetailsShortcut::None},
        {{'P', false, false}, true, true, DetailsShortcut::None},
        {{kEsc, false, false}, true, false, DetailsShortcut::ClosePanel},
        {{kEsc, false, false}, false, false, DetailsShortcut::None},
        {{kEsc, true, false}, true, true, DetailsShortcut::None},
        {{'D', true, true}, true, true, DetailsShortcut::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DetailsShortcutOf(c.key, c.panel, c.approveButton), c.expected)
            << c.key.virtualKey << " ctrl " << c.key.ctrl << " shift " << c.key.shift << " panel "
            << c.panel << " button " << c.approveButton;
    }
}

TEST_F(ContributionFlowTest, ShortcutsActOnThePanel) {
    EXPECT_FALSE(flow.ShortcutPressed({'P', true, false})) << "the button is hidden yet";
    EXPECT_TRUE(flow.ShortcutPressed({'A', true, true}));
    EXPECT_TRUE(view.moderationShown);

    EXPECT_FALSE(flow.ShortcutPressed({'P', true, false})) << "the panel is hidden";
    Fill(L"Alice");
    transport.whilePosting = nullptr;
    transport.answers.push_back(std::vector<std::wstring>{});
    EXPECT_TRUE(flow.ShortcutPressed({'P', true, false}));
    ASSERT_EQ(transport.forms.size(), 1u);
    EXPECT_EQ(FieldsOf(transport.forms[0])[2], L"mode=community_approve_app");

    EXPECT_TRUE(flow.ShortcutPressed({kVirtualKeyEscape, false, false}));
    EXPECT_FALSE(view.PanelVisible());
    EXPECT_TRUE(view.programListEnabled);
    EXPECT_EQ(view.fields[Field::Comment], L"");
    EXPECT_EQ(view.fields[Field::Alias], L"Alice");
    EXPECT_FALSE(flow.ShortcutPressed({kVirtualKeyEscape, false, false}))
        << "Esc belongs to whatever else shows";
}

} // namespace
} // namespace torvik
