#include <gtest/gtest.h>

#include "ui/VerticalSplit.h"

namespace torvik {
namespace {

constexpr SplitLimits kLimits{.minUpper = 100, .minLower = 60, .bar = 4};

TEST(VerticalSplitTest, TheLowerAreaStaysWithinTheLimitsOfTheSpace) {
    struct Case {
        int height, wanted;
        SplitHeights expected;
    };
    const Case cases[] = {
        {600, 246, {350, 246}}, // room for what is wanted
        {600, 10, {536, 60}},   // never below its minimum
        {600, 580, {100, 496}}, // the upper area keeps its minimum
        {300, 246, {100, 196}}, // a smaller window takes from the lower area
        {164, 246, {100, 60}},  // exactly both minimums
        {130, 246, {100, 26}},  // too small for both: the upper area first
        {50, 246, {46, 0}},     // smaller than the upper minimum
        {2, 246, {0, 0}},       // not even the bar fits
        {-5, 246, {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitArea(kLimits, c.height, c.wanted), c.expected)
            << "height " << c.height << ", wanted " << c.wanted;
    }
}

TEST(VerticalSplitTest, DraggingTheBarMovesTheHeightBetweenTheAreas) {
    SplitDrag drag(kLimits, 246);
    EXPECT_EQ(drag.Arrange(600), (SplitHeights{350, 246}));
    EXPECT_FALSE(drag.Move(300)) << "no drag begun";

    drag.Begin(400);
    EXPECT_TRUE(drag.Dragging());
    EXPECT_TRUE(drag.Move(350)); // up: the lower area grows
    EXPECT_EQ(drag.Arrange(600), (SplitHeights{300, 296}));
    EXPECT_FALSE(drag.Move(350)) << "no change, no new layout";
    EXPECT_TRUE(drag.Move(0)); // far up: stopped by the upper minimum
    EXPECT_EQ(drag.ChosenLower(), 496);
    EXPECT_TRUE(drag.Move(1000)); // far down: stopped by the lower minimum
    EXPECT_EQ(drag.ChosenLower(), 60);
    EXPECT_TRUE(drag.Move(420)); // back: follows the mouse again at once
    EXPECT_EQ(drag.ChosenLower(), 226);
    drag.End();
    EXPECT_FALSE(drag.Dragging());
    EXPECT_FALSE(drag.Move(300));
    EXPECT_EQ(drag.ChosenLower(), 226);
}

// The choice survives a window made smaller and larger again; a drag in the
// small window starts from what shows.
TEST(VerticalSplitTest, TheChosenHeightSurvivesASmallerWindow) {
    SplitDrag drag(kLimits, 246);
    drag.Arrange(600);
    drag.Begin(100);
    drag.Move(50);
    drag.End();
    EXPECT_EQ(drag.Arrange(250), (SplitHeights{100, 146}));
    EXPECT_EQ(drag.Arrange(700), (SplitHeights{400, 296}));

    drag.Arrange(250);
    drag.Begin(100);
    EXPECT_TRUE(drag.Move(110));
    EXPECT_EQ(drag.ChosenLower(), 136);
    EXPECT_EQ(drag.Arrange(700), (SplitHeights{560, 136}));
}

} // namespace
} // namespace torvik
