#include "exchange/CheckReply.h"

#include <algorithm>
#include <optional>

#include "common/PathUtils.h"
#include "common/Text.h"
#include "inventory/VersionText.h"
#include "protocol/IniSections.h"
#include "protocol/Split.h"

namespace torvik {
namespace {

TProgramRecord* FindRecord(const ReplyTarget& target, const std::wstring& name,
                           const std::wstring& fileName) {
    const std::optional<size_t> index = target.temp
                                            ? target.lists.GetProgramIdxTemp(name, fileName)
                                            : target.lists.GetProgramIdxLive(name, fileName);
    return index ? target.Records()[*index].get() : nullptr;
}

// The records of a section's lines that have exactly the given number of
// fields; other lines are ignored.
std::vector<std::vector<std::wstring>> Records(const std::vector<std::wstring>& lines,
                                               const std::wstring& section, size_t fields) {
    std::vector<std::vector<std::wstring>> records;
    for (const auto& line : GetIniSectionInternal(section, lines, false)) {
        auto record = _x_Split(line, L"|", true);
        if (record.size() == fields) {
            records.push_back(std::move(record));
        }
    }
    return records;
}

} // namespace

CounterLabel CounterLabelOf(int64_t count) {
    return {IntToStrN(count), count > 0};
}

void ApplyReply(const std::vector<std::wstring>& lines, const ReplyTarget& target,
                TCachedLibrary& cache, ReplyView& view, std::wstring& recheckText) {
    if (lines.empty()) {
        view.ShowMessage(L"No reply from server");
        return;
    }
    for (const auto& record : target.Records()) {
        record->ServerVersion.clear();
        record->ReceivedNotes.clear();
        if (!record->FlagSendDetailsToServer) {
            continue;
        }
        TCachedLibraryRecord* cached =
            cache.GetCachedRecordIdx(MakeFn(record->TargetExePath, record->TargetExeFilename));
        if (cached != nullptr) {
            cached->AlreadySentToServer = L"1";
            cache.CacheModified = true;
        } else {
            view.PopupMsg(L"program not found in cache: " + record->TargetExeFilename);
        }
    }
    recheckText = IniSectionValue(L"recheck_str", lines);

    for (const auto& fields : Records(lines, L"[results]", 8)) {
        if (TProgramRecord* record = FindRecord(target, fields[0], fields[1])) {
            record->ServerVersion = fields[2];
            record->ServerVersionX = fields[3];
            record->ReceivedUrl = fields[4];
            record->ReceivedComments = fields[5];
            record->ReceivedStatus = StrToInt(fields[6]);
            record->IconNeeded = fields[7] == L"1";
        }
    }

    CheckCounters counters;
    std::vector<int32_t> unknownStatuses;
    for (const auto& record : target.Records()) {
        if (record->Status == ProgramStatus::Excluded || record->Status == ProgramStatus::Missing) {
            continue;
        }
        if (record->TargetExeVersion == L"--") {
            record->Status = ProgramStatus::NoVersionInfo;
        } else if (!record->ServerVersion.empty()) {
            ++counters.answered;
            record->Status = record->ReceivedStatus;
            switch (record->Status) {
            case ProgramStatus::NewerVersion:
                ++counters.newVersions;
                break;
            case ProgramStatus::UpToDate:
                ++counters.upToDate;
                break;
            case ProgramStatus::OwnSubmission:
                ++counters.submissions;
                break;
            default:
                if (std::find(unknownStatuses.begin(), unknownStatuses.end(), record->Status) ==
                    unknownStatuses.end()) {
                    unknownStatuses.push_back(record->Status);
                }
                break;
            }
        } else {
            record->ServerVersion = L"?";
            record->Status = ProgramStatus::NotInDatabase;
        }
    }

    if (!unknownStatuses.empty()) {
        // One box for the whole reply: a service that speaks a newer
        // protocol would otherwise stack one modal box per program.
        std::wstring values;
        for (const int32_t status : unknownStatuses) {
            values += (values.empty() ? L"" : L", ") + std::to_wstring(status);
        }
        view.ShowMessage(L"Unknown status: " + values);
    }

    for (const auto& fields : Records(lines, L"[community_results]", 4)) {
        if (TProgramRecord* record = FindRecord(target, fields[0], fields[1])) {
            ++counters.answered;
            std::wstring& notes = record->ReceivedNotes;
            if (!notes.empty()) {
                notes += L", ";
            }
            notes += fields[3] + (fields[3] == L"1" ? L" user has " : L" users have ") +
                     VersionX_ToStr(fields[2]);
        }
    }
    view.RepaintProgramList();

    const std::wstring total = IniSectionValue(L"total_points", lines);
    if (!total.empty()) {
        counters.total = ParseDecimal(total).value_or(0);
    }
    view.ShowCounters(counters);
}

} // namespace torvik
