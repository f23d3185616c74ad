#include "ui/VerticalSplit.h"

#include <algorithm>

namespace torvik {

SplitHeights SplitArea(const SplitLimits& limits, int height, int wantedLower) {
    const int space = std::max(0, height - limits.bar);
    const int mostLower = std::max(0, space - limits.minUpper);
    const int lower = std::clamp(wantedLower, std::min(limits.minLower, mostLower), mostLower);
    return {space - lower, lower};
}

SplitDrag::SplitDrag(SplitLimits limits, int lowerHeight)
    : limits_(limits), chosenLower_(lowerHeight) {}

SplitHeights SplitDrag::Arrange(int height) {
    height_ = height;
    return SplitArea(limits_, height_, chosenLower_);
}

void SplitDrag::Begin(int y) {
    dragging_ = true;
    grabY_ = y;
    // What shows, not what was wanted: a window too small for the chosen
    // height moves the bar from where the user sees it.
    lowerAtGrab_ = SplitArea(limits_, height_, chosenLower_).lower;
}

bool SplitDrag::Move(int y) {
    if (!dragging_) {
        return false;
    }
    const int lower = SplitArea(limits_, height_, lowerAtGrab_ - (y - grabY_)).lower;
    if (lower == chosenLower_) {
        return false;
    }
    chosenLower_ = lower;
    return true;
}

} // namespace torvik
