#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "ui/ExcludeProgram.h"

namespace torvik {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const wchar_t* kQuestion = L"Add this program to exclusions?";

class ExcludeProgramTest : public ::testing::Test {
protected:
    bool Exclude(const std::wstring& name) {
        return ExcludeProgram(name, {dialogs, 7, [this] { return exclusions; },
                                     [this](const std::wstring& n) { exclusions.push_back(n); },
                                     [this] { ++refreshes; }});
    }

    testing::FakeDialogs dialogs;
    std::vector<std::wstring> exclusions{L"setup", L" Old Tool "};
    int refreshes = 0;
};

TEST_F(ExcludeProgramTest, YesAddsTheNameAndRefreshesTheList) {
    dialogs.answers = {true};
    EXPECT_TRUE(Exclude(L"Media Player"));
    EXPECT_THAT(dialogs.questions, ElementsAre(kQuestion));
    EXPECT_THAT(dialogs.messages, IsEmpty());
    EXPECT_THAT(exclusions, ElementsAre(L"setup", L" Old Tool ", L"Media Player"));
    EXPECT_EQ(refreshes, 1);
}

TEST_F(ExcludeProgramTest, NoChangesNothing) {
    dialogs.answers = {false};
    EXPECT_FALSE(Exclude(L"Media Player"));
    EXPECT_THAT(dialogs.questions, ElementsAre(kQuestion));
    EXPECT_THAT(dialogs.messages, IsEmpty());
    EXPECT_EQ(exclusions.size(), 2u);
    EXPECT_EQ(refreshes, 0);
}

// The refusal comes only after Yes: the question is asked first, whatever
// the list holds.
TEST_F(ExcludeProgramTest, ANameListedInAnyLetterCaseIsRefusedAfterYes) {
    for (const wchar_t* name : {L"SETUP", L"old tool"}) {
        dialogs.answers = {true};
        EXPECT_FALSE(Exclude(name)) << name;
    }
    EXPECT_THAT(dialogs.questions, ElementsAre(kQuestion, kQuestion));
    EXPECT_THAT(dialogs.messages, ElementsAre(L"This program is already in the exclusions list",
                                              L"This program is already in the exclusions list"));
    EXPECT_EQ(exclusions.size(), 2u);
    EXPECT_EQ(refreshes, 0);

    // A name that only contains a listed one is a name of its own.
    dialogs.answers = {true};
    EXPECT_TRUE(Exclude(L"setup helper"));
    EXPECT_EQ(exclusions.back(), L"setup helper");
}

} // namespace
} // namespace torvik
