#pragma once
#include <optional>

#include "inventory/ProgramCompare.h"

namespace torvik {

// What clicking column headers has made of the list's order. Columns are
// named as the compare function knows them (ProgramColumn), whatever place
// the user dragged them to. Clicking the sorted column again reverses the
// order; clicking another sorts by it ascending and takes the mark off the
// previous header.
class ListSortState {
public:
    // A column whose first mark is the second image.
    static constexpr int kSecondImageFirst = 101;
    static constexpr int kNoImage = -1;

    void Click(int column);

    const ProgramSortState& Order() const { return order_; }
    std::optional<int> PreviousColumn() const { return previous_; }
    // The direction mark on a column's header: image 0 or 1, kNoImage for
    // a column the list is not sorted by.
    int HeaderImage(int column) const;

private:
    ProgramSortState order_;
    std::optional<int> previous_;
    int image_ = kNoImage;
};

} // namespace torvik
