#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "inventory/ProgramCompare.h"
#include "inventory/ProgramLists.h"
#include "platform/TextCompare.h"
#include "ui/ProgramFilter.h"
#include "ui/ProgramRowLook.h"
#include "ui/SortKeyCache.h"

namespace torvik {

// A program as the list remembers it across a refill, a re-sort or a rescan
// that replaces the records: by name and executable file name, letter case
// ignored, as the inventory tells its programs apart.
struct ProgramKey {
    std::wstring name;
    std::wstring fileName;
};

// The rows of the program list, asked for by the list control: the
// published programs the filter lets through, in their order or sorted. Holds
// references into ProgramList: Clear it before ProgramList's records go,
// Refill it after they are published.
class ProgramListModel {
public:
    // The list's columns by identity (the tags of the list's columns), not
    // by place: the list shows them in ProgramColumn's order.
    enum Column : size_t { kProgram, kVersion, kStatus, kCommunity, kFile, kUrl, kColumnCount };
    // The column's place in the list, which is what sorting goes by; -1
    // outside the columns.
    static int SortColumnOf(size_t column);

    // Every program but those never shown (see ProgramFilter), or those the
    // filter shows, in ProgramList's order.
    void Refill(const ProgramLists::RecordList& programs, const ProgramFilter& filter = {});
    // Orders the rows as LvMainListCompare does, comparing sort keys made
    // once per text and kept for the next sort; rows that compare equal may change places. Without
    // a sort column, or with one the list does not have, the rows stay.
    void Sort(const ProgramSortState& order, const TextCompare& compare);
    // What programs the service did not know show as their status: the last
    // reply's "recheck_str".
    void SetRecheckText(std::wstring text) { recheckText_ = std::move(text); }
    const std::wstring& RecheckText() const { return recheckText_; }
    void Clear() { rows_.clear(); }

    size_t Count() const { return rows_.size(); }
    // Row i of the list; i must be below Count().
    const TProgramRecord& Row(size_t i) const { return *rows_.at(i); }
    // The text of a cell; empty outside the list or the columns.
    std::wstring CellText(size_t row, size_t column) const;

    // How a row and its cells are drawn; row must be below Count(), a
    // column outside the list's gives an empty look.
    ProgramRowColours RowColours(size_t row, ProgramRowState state) const;
    ProgramCellLook CellLook(size_t row, size_t column, ProgramRowState state) const;

    // The "Database status" text of a record: the newer version, "up to
    // date", "thank you!" for the user's own submission, the recheck text for
    // a program the service does not know, nothing otherwise.
    std::wstring StatusText(const TProgramRecord& record) const;

    // The selection by program rather than by row: the programs of the given
    // rows (rows outside the list are skipped), and the rows that show any
    // of the programs, ascending.
    std::vector<ProgramKey> KeysOf(const std::vector<int>& rows) const;
    std::vector<int> RowsOf(const std::vector<ProgramKey>& keys) const;
    // The row showing that very record; -1 when it is not shown.
    int RowOf(const TProgramRecord& record) const;

private:
    std::wstring Text(const TProgramRecord& record, size_t column) const;

    std::vector<const TProgramRecord*> rows_;
    std::wstring recheckText_;
    SortKeyCache keys_;
};

} // namespace torvik
