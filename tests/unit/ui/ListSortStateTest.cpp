#include <gtest/gtest.h>

#include "ui/ListSortState.h"

namespace torvik {
namespace {

TEST(ListSortState, ClicksSortAscendingThenReverseAndMoveTheHeaderMark) {
    ListSortState sort;
    EXPECT_FALSE(sort.Order().SortColumn);
    EXPECT_EQ(sort.HeaderImage(kColumnDatabaseStatus), ListSortState::kNoImage);

    const struct {
        int click;
        int column;
        bool descending;
        std::optional<int> previous;
        int image;
    } steps[] = {
        {kColumnDatabaseStatus, kColumnDatabaseStatus, false, std::nullopt, 0},
        {kColumnDatabaseStatus, kColumnDatabaseStatus, true, kColumnDatabaseStatus, 1},
        {kColumnDatabaseStatus, kColumnDatabaseStatus, false, kColumnDatabaseStatus, 0},
        {kColumnDatabaseStatus, kColumnDatabaseStatus, true, kColumnDatabaseStatus, 1},
        {kColumnProgram, kColumnProgram, false, kColumnDatabaseStatus, 0},
        {kColumnProgram, kColumnProgram, true, kColumnProgram, 1},
        {ListSortState::kSecondImageFirst, ListSortState::kSecondImageFirst, false, kColumnProgram,
         1},
        {ListSortState::kSecondImageFirst, ListSortState::kSecondImageFirst, true,
         ListSortState::kSecondImageFirst, 0},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        const auto& step = steps[i];
        sort.Click(step.click);
        EXPECT_EQ(sort.Order().SortColumn, step.column) << i;
        EXPECT_EQ(sort.Order().SortDescending, step.descending) << i;
        EXPECT_EQ(sort.PreviousColumn(), step.previous) << i;
        EXPECT_EQ(sort.HeaderImage(step.column), step.image) << i;
        if (step.previous && *step.previous != step.column) {
            EXPECT_EQ(sort.HeaderImage(*step.previous), ListSortState::kNoImage) << i;
        }
    }
}

} // namespace
} // namespace torvik
