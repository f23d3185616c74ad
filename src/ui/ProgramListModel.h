#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "inventory/ProgramLists.h"

namespace torvik {

// The rows of the program list, asked for by the list control: the published
// programs in their order, less those whose executable is missing (Status
// -2), which are never shown. Holds references into ProgramList: Clear it
// before ProgramList's records go, Refill it after they are published.
class ProgramListModel {
public:
    enum Column : size_t { kProgram, kVersion, kFile, kColumnCount };

    void Refill(const ProgramLists::RecordList& programs);
    void Clear() { rows_.clear(); }

    size_t Count() const { return rows_.size(); }
    // Row i of the list; i must be below Count().
    const TProgramRecord& Row(size_t i) const { return *rows_.at(i); }
    // The text of a cell; empty outside the list or the columns.
    std::wstring CellText(size_t row, size_t column) const;

private:
    std::vector<const TProgramRecord*> rows_;
};

} // namespace torvik
