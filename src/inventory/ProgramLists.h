#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "inventory/ProgramRecord.h"

namespace torvik {

// What publishing the inventory needs of the program list view.
class ProgramListViewRefill {
public:
    virtual ~ProgramListViewRefill() = default;
    virtual void BeginUpdate() = 0;
    // Item count 0 and no references left to ProgramList's records, which
    // are destroyed next.
    virtual void ClearItems() = 0;
    // Rebuilds the shown rows from ProgramList with the current filter.
    virtual void RefillProgramList() = 0;
    virtual void EndUpdate() = 0;
};

// The inventory's lists, owned by the main window and touched on its thread,
// except TempProgramList while a scan worker fills it and the main thread
// waits.
class ProgramLists {
public:
    using RecordList = std::vector<std::unique_ptr<TProgramRecord>>;

    // The published inventory.
    RecordList ProgramList;
    // The inventory being built. Its records move to ProgramList when
    // published; the next scan destroys those that never were.
    RecordList TempProgramList;
    // Every shortcut candidate found since start, in the order found.
    std::vector<TTempRecord> LinkCandidateList;
    // The candidates of one shortcut-resolution run.
    std::vector<TTempRecord> LinkResultList;

    // Adds a record for the trimmed name, folder and file name to
    // TempProgramList unless one with that name and file name is there.
    // Returns the index of the new or the existing record.
    size_t AddProgramTemp(const std::wstring& name, const std::wstring& path,
                          const std::wstring& fileName);

    // The first record whose name and file name equal the trimmed arguments,
    // ignoring the case of ASCII letters; nullopt when there is none.
    std::optional<size_t> GetProgramIdxTemp(const std::wstring& name,
                                            const std::wstring& fileName) const;
    std::optional<size_t> GetProgramIdxLive(const std::wstring& name,
                                            const std::wstring& fileName) const;

    // Replaces ProgramList's records by TempProgramList's (same order) and
    // refills the view, which is refilled and redrawn again even when the
    // exchange fails.
    void PublishPrograms(ProgramListViewRefill& view);
};

} // namespace torvik
