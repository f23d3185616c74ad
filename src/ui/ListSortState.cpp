#include "ui/ListSortState.h"

namespace torvik {

void ListSortState::Click(int column) {
    previous_ = order_.SortColumn;
    order_.SortColumn = column;
    if (previous_ == column) {
        order_.SortDescending = !order_.SortDescending;
        image_ = image_ == 1 ? 0 : 1;
    } else {
        order_.SortDescending = false;
        image_ = column == kSecondImageFirst ? 1 : 0;
    }
}

int ListSortState::HeaderImage(int column) const {
    return order_.SortColumn == column ? image_ : kNoImage;
}

} // namespace torvik
