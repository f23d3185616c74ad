#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/Error.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeVersionInfo.h"
#include "fakes/ScriptedTransport.h"
#include "ui/CustomProgramSearch.h"

namespace torvik {
namespace {

using ::testing::ElementsAre;
using testing::FieldsOf;
using ::testing::IsEmpty;

constexpr wchar_t kTool[] = L"C:\\Tools\\Grep Tool\\grep.exe";

class FakeSearchView : public CustomSearchView {
public:
    std::wstring chosen = kTool;
    std::vector<std::wstring> results; // every text the result edit was given
    bool resultShown = false, addEnabled = true, pleaseWait = false;
    int pleaseWaitShown = 0;

    std::wstring ChosenProgram() override { return chosen; }
    void SetSearchResult(const std::wstring& text) override { results.push_back(text); }
    void ShowSearchResult() override { resultShown = true; }
    void EnableAddProgram(bool enabled) override { addEnabled = enabled; }
    void ShowPleaseWait(const std::wstring&) override {
        pleaseWait = true;
        ++pleaseWaitShown;
    }
    void HidePleaseWait() override { pleaseWait = false; }
};

class CustomProgramSearchTest : public ::testing::Test {
protected:
    CustomProgramSearchTest() {
        fs.AddFile(kTool);
        versions.files[kTool] = testing::UsEnglishResource(
            {{L"CompanyName", L"Grep Makers"}, {L"FileDescription", L"Finds\r\ntext"}});
        transport.whilePosting = [this] { pleaseWaitWhilePosting = view.pleaseWait; };
    }

    testing::FakeDialogs dialogs;
    testing::FakeFileSystem fs;
    testing::FakeVersionInfo versions;
    testing::ScriptedTransport transport;
    FakeSearchView view;
    bool pleaseWaitWhilePosting = false;
    std::vector<bool> pleaseWaitAtScreening;
    CustomProgramSearch search{
        {dialogs,
         fs,
         versions,
         {transport,
          [] { return std::wstring(L"http://svc/v.aspx"); },
          L"67",
          [] { return std::wstring(L"user_T#W"); },
          {[this](const std::wstring&) { pleaseWaitAtScreening.push_back(view.pleaseWait); }, {}}}},
        view};
};

TEST_F(CustomProgramSearchTest, AMatchIsShownAndMayBeAdded) {
    transport.answers.push_back(
        std::vector<std::wstring>{L"[other]", L"x", L"[search_result]", L"  Grep Tool 2.5 ", L""});
    search.bCustomProgram_SearchClick();

    ASSERT_EQ(transport.forms.size(), 1u);
    EXPECT_EQ(transport.urls[0], L"http://svc/v.aspx");
    EXPECT_THAT(FieldsOf(transport.forms[0]),
                ElementsAre(L"build=67", L"header=user_T#W", L"mode=custom_program_search",
                            L"program_exe_fn=grep.exe", L"program_exe_path=C:\\Tools\\Grep Tool\\",
                            L"program_details=[CompanyName]\r\nGrep Makers\r\n[FileDescription]"
                            L"\r\nFinds<br>text"));
    EXPECT_TRUE(pleaseWaitWhilePosting);
    EXPECT_FALSE(view.pleaseWait);
    EXPECT_THAT(pleaseWaitAtScreening, ElementsAre(false));
    EXPECT_THAT(view.results, ElementsAre(L"", L"Grep Tool 2.5"));
    EXPECT_TRUE(view.resultShown);
    EXPECT_TRUE(view.addEnabled);
    EXPECT_THAT(dialogs.messages, IsEmpty());
}

TEST_F(CustomProgramSearchTest, NoMatchSaysSoAndAddStaysDisabled) {
    for (const auto& reply : {std::vector<std::wstring>{L"[search_result]", L"   "},
                              std::vector<std::wstring>{L"[results]", L"Grep"}}) {
        dialogs.messages.clear();
        transport.answers.push_back(reply);
        search.bCustomProgram_SearchClick();
        EXPECT_THAT(dialogs.messages, ElementsAre(L"No matching programs found on server."));
        EXPECT_FALSE(view.addEnabled);
        EXPECT_FALSE(view.resultShown);
        EXPECT_EQ(view.results.back(), L"");
    }
}

TEST_F(CustomProgramSearchTest, AMissingFileSendsNothingButClearsTheLastResult) {
    transport.answers.push_back(std::vector<std::wstring>{L"[search_result]", L"Grep Tool"});
    search.bCustomProgram_SearchClick();
    ASSERT_TRUE(view.addEnabled);

    view.chosen = L"C:\\Tools\\Grep Tool\\gone.exe";
    search.bCustomProgram_SearchClick();
    EXPECT_EQ(transport.forms.size(), 1u);
    EXPECT_EQ(view.results.back(), L"");
    EXPECT_FALSE(view.addEnabled) << "the old match is not the chosen file's";
    EXPECT_EQ(view.pleaseWaitShown, 1);
    EXPECT_THAT(dialogs.messages, IsEmpty());
}

// The panel goes before the reply is screened, so that a screening error's
// box never shows behind a panel that says to wait.
TEST_F(CustomProgramSearchTest, AnErrorReplyComesAfterPleaseWaitIsGone) {
    transport.answers = {std::vector<std::wstring>{L"warning: mysql server has gone away"},
                         testing::ScriptedTransport::Failure{L"Wininet error # 12029", 12029}};
    EXPECT_THROW(search.bCustomProgram_SearchClick(), TorvikError);
    EXPECT_FALSE(view.pleaseWait);
    EXPECT_FALSE(view.addEnabled);
    EXPECT_THROW(search.bCustomProgram_SearchClick(), ServiceTransportError);
    EXPECT_FALSE(view.pleaseWait);
    EXPECT_FALSE(view.addEnabled);
    EXPECT_THAT(pleaseWaitAtScreening, ElementsAre(false)) << "a failed request has no reply";
}

} // namespace
} // namespace torvik
