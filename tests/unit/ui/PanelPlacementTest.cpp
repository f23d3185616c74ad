#include <gtest/gtest.h>

#include "ui/PanelPlacement.h"

namespace torvik {
namespace {

TEST(PanelPlacement, APanelMovedOutIsPushedBackWithinTheLimits) {
    const struct {
        PanelRect moved;
        int clientWidth, clientHeight;
        PanelRect kept;
    } cases[] = {
        // Inside, and exactly on each limit: left alone.
        {{50, 40, 300, 200}, 800, 600, {50, 40, 300, 200}},
        {{-200, 0, 300, 200}, 800, 600, {-200, 0, 300, 200}},
        {{700, 500, 300, 200}, 800, 600, {700, 500, 300, 200}},
        // Above the window.
        {{50, -30, 300, 200}, 800, 600, {50, 0, 300, 200}},
        // Too far left: 100 pixels stay in.
        {{-250, 40, 300, 200}, 800, 600, {-200, 40, 300, 200}},
        // A panel narrower than the grip cannot go left of the window.
        {{-10, 40, 60, 200}, 800, 600, {40, 40, 60, 200}},
        // Beyond the right and bottom edges.
        {{790, 40, 300, 200}, 800, 600, {700, 40, 300, 200}},
        {{50, 650, 300, 200}, 800, 600, {50, 500, 300, 200}},
        {{900, 900, 300, 200}, 800, 600, {700, 500, 300, 200}},
        // A window too small for every rule: the near edges win.
        {{30, 30, 300, 200}, 80, 60, {-20, 0, 300, 200}},
        {{-500, -500, 50, 50}, 120, 90, {50, 0, 50, 50}},
        {{10, 10, 300, 200}, 0, 0, {-100, 0, 300, 200}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeepPanelInside(c.moved, c.clientWidth, c.clientHeight), c.kept)
            << c.moved.left << "," << c.moved.top << " in " << c.clientWidth << "x"
            << c.clientHeight;
    }
}

TEST(PanelPlacement, CentringTruncatesHalvesTowardZero) {
    const struct {
        int parentWidth, parentHeight, panelWidth, panelHeight, topOffset, leftOffset;
        PanelPoint corner;
    } cases[] = {
        {800, 600, 300, 200, 0, 0, {250, 200}},
        {801, 601, 300, 200, 0, 0, {250, 200}},
        {800, 600, 300, 200, -40, 15, {265, 160}},
        // A panel larger than its parent: -1.5 is -1, not -2.
        {300, 200, 303, 205, 0, 0, {-1, -2}},
        {300, 200, 303, 205, 7, 3, {2, 5}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CentrePanel(c.parentWidth, c.parentHeight, c.panelWidth, c.panelHeight,
                              c.topOffset, c.leftOffset),
                  c.corner)
            << c.parentWidth << "x" << c.parentHeight << " / " << c.panelWidth << "x"
            << c.panelHeight;
    }
}

TEST(NavigationRows, PagesBeginningWithAnUnderscoreAreLeftOut) {
    const NavigationRows rows({L"General", L"_Wait", L"Programs", L"", L"_", L"Up_dates"});
    EXPECT_EQ(rows.Captions(),
              (std::vector<std::wstring>{L"General", L"Programs", L"", L"Up_dates"}));
    ASSERT_EQ(rows.Count(), 4);
    const int pageOfRow[] = {0, 2, 3, 5};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(rows.PageOfRow(row), pageOfRow[row]) << row;
        EXPECT_EQ(rows.RowOfPage(pageOfRow[row]), row) << row;
    }
    for (const int hidden : {1, 4}) {
        EXPECT_EQ(rows.RowOfPage(hidden), -1) << hidden;
    }
    for (const int outside : {-1, 4}) {
        EXPECT_EQ(rows.PageOfRow(outside), -1) << outside;
    }
    EXPECT_EQ(rows.RowOfPage(6), -1);
    EXPECT_EQ(NavigationRows({L"_only"}).Count(), 0);
}

} // namespace
} // namespace torvik
