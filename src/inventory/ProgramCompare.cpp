#include "inventory/ProgramCompare.h"

namespace torvik {

int LvMainListCompare(const TProgramRecord& a, const TProgramRecord& b,
                      const ProgramSortState& sort, const TextCompare& compare) {
    if (!sort.SortColumn) {
        return 0;
    }
    const int column = *sort.SortColumn;
    int result = 0;
    switch (column) {
    case kColumnProgram:
        result = compare.CompareIgnoreCase(a.ProgramName, b.ProgramName);
        break;
    case kColumnExecutable:
        result = compare.CompareIgnoreCase(a.TargetExePath, b.TargetExePath);
        break;
    case kColumnMyVersion:
        result = compare.CompareIgnoreCase(a.TargetExeVersionX, b.TargetExeVersionX);
        break;
    case kColumnDatabaseStatus:
        result = a.Status < b.Status ? -1 : (a.Status > b.Status ? 1 : 0);
        break;
    case kColumnCommunityStatus:
        // Swapped operands: records with notes come before those without.
        result = compare.CompareIgnoreCase(b.ReceivedNotes, a.ReceivedNotes);
        break;
    case kColumnUrl:
        result = compare.CompareIgnoreCase(b.ReceivedUrl, a.ReceivedUrl);
        break;
    default:
        // "Always greater" would break every sort algorithm's contract (and
        // std::sort's memory safety); equal keeps the rows as they are.
        return 0;
    }
    if (column != kColumnProgram && result == 0) {
        result = compare.CompareIgnoreCase(a.ProgramName, b.ProgramName);
    }
    return sort.SortDescending ? -result : result;
}

} // namespace torvik
