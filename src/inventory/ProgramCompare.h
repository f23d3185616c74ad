#pragma once
#include <optional>

#include "inventory/ProgramRecord.h"
#include "platform/TextCompare.h"

namespace torvik {

// The columns of the program list view, by index.
enum ProgramColumn : int {
    kColumnProgram = 0,
    kColumnExecutable = 1,
    kColumnMyVersion = 2,
    kColumnDatabaseStatus = 3,
    kColumnCommunityStatus = 4,
    kColumnUrl = 5,
};

// The program list view's sort order: the column last clicked (none at
// start) and the direction.
struct ProgramSortState {
    std::optional<int> SortColumn;
    bool SortDescending = false;
};

// Orders two records for the program list view: negative, zero or positive.
// Texts compare through compare (the locale's order, ignoring case). Program
// and folder, version and status sort ascending, community notes and URL
// descending; other columns break ties by name. SortDescending inverts the
// whole result. Without a sort column, or for a column the view does not
// have, every pair compares equal.
int LvMainListCompare(const TProgramRecord& a, const TProgramRecord& b,
                      const ProgramSortState& sort, const TextCompare& compare);

} // namespace torvik
