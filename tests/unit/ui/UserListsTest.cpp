#include <gtest/gtest.h>

#include "ui/UserLists.h"

namespace torvik {
namespace {

TEST(UserListsTest, ANameListedAlreadyIsRefusedWhateverItsCase) {
    const std::vector<std::wstring> names = {L"Demo App", L" Photo Archive "};
    EXPECT_EQ(CustomProgramRefusal(names, L"  demo app "),
              L"Program \"demo app\" is already in the list");
    EXPECT_EQ(CustomProgramRefusal(names, L"PHOTO ARCHIVE"),
              L"Program \"PHOTO ARCHIVE\" is already in the list");
    EXPECT_EQ(CustomProgramRefusal(names, L"Demo"), std::nullopt);
    EXPECT_EQ(CustomProgramRefusal({}, L"Demo App"), std::nullopt);

    const std::vector<std::wstring> exclusions = {L"setup.exe", L"Uninstall.EXE"};
    EXPECT_EQ(ExclusionRefusal(exclusions, L"uninstall.exe"),
              L"This program is already in the exclusions list");
    EXPECT_EQ(ExclusionRefusal(exclusions, L"tool.exe"), std::nullopt);
}

TEST(UserListsTest, PleaseWaitHasATextOfItsOwn) {
    EXPECT_EQ(PleaseWaitText(L""), L"Please wait...");
    EXPECT_EQ(PleaseWaitText(L"Building programs list"), L"Building programs list");
}

} // namespace
} // namespace torvik
