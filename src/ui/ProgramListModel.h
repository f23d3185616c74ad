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
    enum Column : size_t { kProgram, kVersion, kStatus, kCommunity, kFile, kColumnCount };

    void Refill(const ProgramLists::RecordList& programs);
    // What programs the service did not know show as their status: the last
    // reply's "recheck_str".
    void SetRecheckText(std::wstring text) { recheckText_ = std::move(text); }
    void Clear() { rows_.clear(); }

    size_t Count() const { return rows_.size(); }
    // Row i of the list; i must be below Count().
    const TProgramRecord& Row(size_t i) const { return *rows_.at(i); }
    // The text of a cell; empty outside the list or the columns.
    std::wstring CellText(size_t row, size_t column) const;

    // The "Database status" text of a record: the newer version, "up to
    // date", "thank you!" for the user's own submission, the recheck text for
    // a program the service does not know, nothing otherwise.
    std::wstring StatusText(const TProgramRecord& record) const;

private:
    std::vector<const TProgramRecord*> rows_;
    std::wstring recheckText_;
};

} // namespace torvik
