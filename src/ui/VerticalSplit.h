#pragma once

namespace torvik {

// Two areas one above the other and a bar between them that the user drags
// to share the height. The lower area keeps the height the user chose while
// the window changes size; only the space available bounds it.
struct SplitLimits {
    int minUpper = 0; // the smallest height of either area
    int minLower = 0;
    int bar = 0; // the bar's own height
};

struct SplitHeights {
    int upper = 0;
    int lower = 0;

    bool operator==(const SplitHeights&) const = default;
};

// The heights of the two areas in height pixels (both areas and the bar),
// the lower one as near to wantedLower as the limits allow. When the space
// cannot hold both minimums, the upper area keeps its minimum first; no
// height is ever negative.
SplitHeights SplitArea(const SplitLimits& limits, int height, int wantedLower);

// The bar's drag: the lower area's height follows the mouse, clamped, and
// stays the user's choice afterwards. Positions are in any fixed vertical
// coordinate (screen pixels), growing downwards.
class SplitDrag {
public:
    SplitDrag(SplitLimits limits, int lowerHeight);

    // The heights for an area of that height; remembered as the space a
    // drag may share.
    SplitHeights Arrange(int height);

    void Begin(int y);
    // True when the lower height changed (the areas need laying out again).
    bool Move(int y);
    void End() { dragging_ = false; }
    bool Dragging() const { return dragging_; }
    // The height the user chose (the designed one until a drag).
    int ChosenLower() const { return chosenLower_; }

private:
    SplitLimits limits_;
    int chosenLower_;
    int height_ = 0;
    bool dragging_ = false;
    int grabY_ = 0;
    int lowerAtGrab_ = 0;
};

} // namespace torvik
