#include "inventory/ThreadScanExes.h"

#include "common/PathUtils.h"
#include "common/ProcessFlags.h"
#include "common/Text.h"
#include "inventory/VersionText.h"

namespace torvik {

bool IsExcludedProgram(const TProgramRecord& record, const std::vector<std::wstring>& exclusions) {
    const std::wstring name = LowerCaseAscii(record.ProgramName);
    const std::wstring path =
        LowerCaseAscii(MakeFn(record.TargetExePath, record.TargetExeFilename));
    for (const auto& line : exclusions) {
        if (line.empty()) {
            continue;
        }
        const std::wstring x = LowerCaseAscii(line);
        if (name.find(x) != std::wstring::npos || path.find(x) != std::wstring::npos) {
            return true;
        }
    }
    return false;
}

void TThreadScanEXEs::ReadDetails(TProgramRecord& r, const std::wstring& exe) {
    const FileStamp stamp = facts_.Stamp(exe);
    TCachedLibraryRecord* row = cache_.GetCachedRecordIdx(exe, stamp.date);
    if (row == nullptr) {
        row = &cache_.CreateCachedRecord(exe, stamp.date);
    }
    r.TargetExeDetails = row->OtherDetails;
    r.FlagSendDetailsToServer = row->AlreadySentToServer != L"1";
    r.TargetExeVersion = row->ExeVersion;
    r.TargetExeVersion1 = r.TargetExeVersion2 = r.TargetExeVersion3 = r.TargetExeVersionB = 0;
    if (r.TargetExeVersion.find(L"debug") != std::wstring::npos) {
        r.TargetExeVersion = L"--";
    } else {
        SplitVersion123B(r.TargetExeVersion, r.TargetExeVersion1, r.TargetExeVersion2,
                         r.TargetExeVersion3, r.TargetExeVersionB);
    }
    r.TargetExeVersionX = MakeVersionX(r.TargetExeVersion1, r.TargetExeVersion2,
                                       r.TargetExeVersion3, r.TargetExeVersionB);
    r.TargetExeSize = stamp.size;
    r.TargetExeDateM = stamp.date;
}

void TThreadScanEXEs::Execute() {
    _finished = false;
    for (auto& record : records_) {
        if (CancelRequested || AppClosing) {
            break;
        }
        const std::wstring exe = MakeFn(record->TargetExePath, record->TargetExeFilename);
        if (!fs_.FileExists(exe)) {
            record->Status = ProgramStatus::Missing;
            continue;
        }
        ReadDetails(*record, exe);
    }
    for (auto& record : records_) {
        if (IsExcludedProgram(*record, exclusions_)) {
            record->Status = ProgramStatus::Excluded;
        }
    }
    _finished = true;
}

} // namespace torvik
