#include "ui/ProgramListModel.h"

namespace torvik {

void ProgramListModel::Refill(const ProgramLists::RecordList& programs) {
    rows_.clear();
    for (const auto& record : programs) {
        if (record->Status != ProgramStatus::Missing) {
            rows_.push_back(record.get());
        }
    }
}

std::wstring ProgramListModel::CellText(size_t row, size_t column) const {
    if (row >= rows_.size()) {
        return {};
    }
    const TProgramRecord& record = *rows_[row];
    switch (column) {
    case kProgram:
        return record.ProgramName;
    case kVersion:
        return record.TargetExeVersion;
    case kStatus:
        return StatusText(record);
    case kCommunity:
        return record.ReceivedNotes;
    case kFile:
        return record.TargetExePath + record.TargetExeFilename;
    default:
        return {};
    }
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

} // namespace torvik
