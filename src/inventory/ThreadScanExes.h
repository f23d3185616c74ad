#pragma once
#include <string>
#include <vector>

#include "inventory/CachedLibrary.h"
#include "inventory/ExecutableFacts.h"
#include "inventory/ProgramLists.h"
#include "platform/FileSystem.h"

namespace torvik {

// The executable-details run over a scan's new records: version, details,
// size and date through the cached library; Status -2 for a missing
// executable, -1 for one on the exclusion list. Stops between records when
// the program closes or the user cancels; the exclusions are marked even
// then.
class TThreadScanEXEs {
public:
    TThreadScanEXEs(ProgramLists::RecordList& records, TCachedLibrary& cache, const FileSystem& fs,
                    const ExecutableFacts& facts, const std::vector<std::wstring>& exclusions)
        : records_(records), cache_(cache), fs_(fs), facts_(facts), exclusions_(exclusions) {}

    void Execute();
    bool _finished = false;

private:
    void ReadDetails(TProgramRecord& record, const std::wstring& exe);

    ProgramLists::RecordList& records_;
    TCachedLibrary& cache_;
    const FileSystem& fs_;
    const ExecutableFacts& facts_;
    const std::vector<std::wstring>& exclusions_;
};

// Whether an exclusion line marks the program: its name or its executable's
// full path contains the line, ignoring case. An empty line marks nothing.
bool IsExcludedProgram(const TProgramRecord& record, const std::vector<std::wstring>& exclusions);

} // namespace torvik
