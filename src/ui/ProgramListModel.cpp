#include "ui/ProgramListModel.h"

#include <algorithm>

#include "common/Text.h"

namespace torvik {
namespace {

bool IsProgram(const TProgramRecord& record, const ProgramKey& key) {
    return SameTextAscii(record.ProgramName, key.name) &&
           SameTextAscii(record.TargetExeFilename, key.fileName);
}

// The status colour and weight of the "Database status" cell.
void StyleStatusCell(int32_t status, ProgramCellLook& look) {
    using namespace ProgramListColours;
    switch (status) {
    case ProgramStatus::NewerVersion:
        look.colour = kNewerVersion;
        look.bold = true;
        break;
    case ProgramStatus::UpToDate:
        look.colour = kUpToDate;
        break;
    case ProgramStatus::OwnSubmission:
        look.colour = kOwnSubmission;
        look.bold = true;
        break;
    case ProgramStatus::NotInDatabase:
        look.colour = kNotInDatabase;
        break;
    default:
        break;
    }
}

} // namespace

void ProgramListModel::Refill(const ProgramLists::RecordList& programs,
                              const ProgramFilter& filter) {
    rows_.clear();
    for (const auto& record : programs) {
        if (filter.Shows(*record)) {
            rows_.push_back(record.get());
        }
    }
}

void ProgramListModel::Sort(const ProgramSortState& order, const TextCompare& compare) {
    if (!order.SortColumn) {
        return;
    }
    // LvMainListCompare's order, with each text's sort key made once: the
    // locale's comparison is the slow part of a sort.
    const int column = *order.SortColumn;
    const std::wstring TProgramRecord::*text = nullptr;
    bool swapped = false;
    switch (column) {
    case kColumnProgram:
        break;
    case kColumnExecutable:
        text = &TProgramRecord::TargetExePath;
        break;
    case kColumnMyVersion:
        text = &TProgramRecord::TargetExeVersionX;
        break;
    case kColumnDatabaseStatus:
        break;
    case kColumnCommunityStatus:
        text = &TProgramRecord::ReceivedNotes;
        swapped = true;
        break;
    case kColumnUrl:
        text = &TProgramRecord::ReceivedUrl;
        swapped = true;
        break;
    default:
        return; // every pair compares equal
    }
    struct KeyedRow {
        const std::string* key;
        const std::string* name;
        const TProgramRecord* record;
    };
    static const std::string kNoKey;
    keys_.Prepare(compare, rows_.size() * 2);
    std::vector<KeyedRow> keyed;
    keyed.reserve(rows_.size());
    for (const TProgramRecord* record : rows_) {
        keyed.push_back({text != nullptr ? &keys_.Key(record->*text) : &kNoKey,
                         &keys_.Key(record->ProgramName), record});
    }
    const auto sign = [](int c) { return (c > 0) - (c < 0); };
    std::sort(keyed.begin(), keyed.end(), [&](const KeyedRow& a, const KeyedRow& b) {
        int result = 0;
        if (column == kColumnDatabaseStatus) {
            result = (a.record->Status > b.record->Status) - (a.record->Status < b.record->Status);
        } else if (text != nullptr) {
            result = swapped ? sign(b.key->compare(*a.key)) : sign(a.key->compare(*b.key));
        }
        if (result == 0) {
            result = sign(a.name->compare(*b.name));
        }
        return (order.SortDescending ? -result : result) < 0;
    });
    for (size_t i = 0; i < keyed.size(); ++i) {
        rows_[i] = keyed[i].record;
    }
}

int ProgramListModel::SortColumnOf(size_t column) {
    switch (column) {
    case kProgram:
        return kColumnProgram;
    case kFile:
        return kColumnExecutable;
    case kVersion:
        return kColumnMyVersion;
    case kStatus:
        return kColumnDatabaseStatus;
    case kCommunity:
        return kColumnCommunityStatus;
    case kUrl:
        return kColumnUrl;
    default:
        return -1;
    }
}

std::wstring ProgramListModel::CellText(size_t row, size_t column) const {
    return row < rows_.size() ? Text(*rows_[row], column) : std::wstring();
}

std::wstring ProgramListModel::Text(const TProgramRecord& record, size_t column) const {
    switch (column) {
    case kProgram:
        return record.ProgramName;
    case kFile:
        return record.TargetExePath + record.TargetExeFilename;
    case kVersion:
        return record.TargetExeVersion;
    case kStatus:
        return StatusText(record);
    case kCommunity:
        return record.ReceivedNotes;
    case kUrl:
        return UrlCellText(record.ReceivedUrl);
    default:
        return {};
    }
}

ProgramRowColours ProgramListModel::RowColours(size_t row, ProgramRowState state) const {
    return ProgramRowColoursOf(Row(row), state);
}

ProgramCellLook ProgramListModel::CellLook(size_t row, size_t column, ProgramRowState state) const {
    const TProgramRecord& record = Row(row);
    ProgramCellLook look;
    if (column >= kColumnCount) {
        return look;
    }
    look.text = Text(record, column);
    look.colour = ProgramRowColoursOf(record, state).text;
    switch (column) {
    case kProgram:
        look.leftMargin = 25;
        look.icon = true;
        break;
    case kVersion:
        look.leftMargin = 10;
        break;
    case kStatus:
        StyleStatusCell(record.Status, look);
        break;
    default:
        break;
    }
    // A selected row keeps white text; only the weight shows the status.
    if (state.selected) {
        look.colour = ProgramListColours::kSelectedText;
    }
    return look;
}

std::wstring ProgramListModel::StatusText(const TProgramRecord& record) const {
    switch (record.Status) {
    case ProgramStatus::NewerVersion:
        return record.ServerVersion;
    case ProgramStatus::UpToDate:
        return L"up to date";
    case ProgramStatus::OwnSubmission:
        return L"thank you!";
    case ProgramStatus::NotInDatabase:
        return recheckText_;
    default:
        return {};
    }
}

std::vector<ProgramKey> ProgramListModel::KeysOf(const std::vector<int>& rows) const {
    std::vector<ProgramKey> keys;
    for (const int row : rows) {
        if (row >= 0 && static_cast<size_t>(row) < rows_.size()) {
            const TProgramRecord& record = *rows_[static_cast<size_t>(row)];
            keys.push_back({record.ProgramName, record.TargetExeFilename});
        }
    }
    return keys;
}

std::vector<int> ProgramListModel::RowsOf(const std::vector<ProgramKey>& keys) const {
    std::vector<int> rows;
    if (keys.empty()) {
        return rows;
    }
    for (size_t row = 0; row < rows_.size(); ++row) {
        const TProgramRecord& record = *rows_[row];
        if (std::any_of(keys.begin(), keys.end(),
                        [&record](const ProgramKey& key) { return IsProgram(record, key); })) {
            rows.push_back(static_cast<int>(row));
        }
    }
    return rows;
}

int ProgramListModel::RowOf(const TProgramRecord& record) const {
    const auto found = std::find(rows_.begin(), rows_.end(), &record);
    return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

} // namespace torvik
