#include "inventory/ProgramLists.h"

#include "common/Text.h"

namespace torvik {
namespace {

std::optional<size_t> FindProgram(const ProgramLists::RecordList& list, const std::wstring& name,
                                  const std::wstring& fileName) {
    const std::wstring wantedName = LowerCaseAscii(Trim(name));
    const std::wstring wantedFile = LowerCaseAscii(Trim(fileName));
    for (size_t i = 0; i < list.size(); ++i) {
        if (LowerCaseAscii(list[i]->ProgramName) == wantedName &&
            LowerCaseAscii(list[i]->TargetExeFilename) == wantedFile) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace

size_t ProgramLists::AddProgramTemp(const std::wstring& name, const std::wstring& path,
                                    const std::wstring& fileName) {
    if (const auto existing = GetProgramIdxTemp(name, fileName)) {
        return *existing;
    }
    auto record = std::make_unique<TProgramRecord>();
    record->ProgramName = Trim(name);
    record->TargetExePath = Trim(path);
    record->TargetExeFilename = Trim(fileName);
    TempProgramList.push_back(std::move(record));
    return TempProgramList.size() - 1;
}

std::optional<size_t> ProgramLists::GetProgramIdxTemp(const std::wstring& name,
                                                      const std::wstring& fileName) const {
    return FindProgram(TempProgramList, name, fileName);
}

std::optional<size_t> ProgramLists::GetProgramIdxLive(const std::wstring& name,
                                                      const std::wstring& fileName) const {
    return FindProgram(ProgramList, name, fileName);
}

void ProgramLists::PublishPrograms(ProgramListViewRefill& view) {
    view.BeginUpdate();
    try {
        view.ClearItems();
        ProgramList.clear();
        // Reserving first leaves nothing that can fail while records move,
        // so no record is ever in both lists or in neither.
        ProgramList.reserve(TempProgramList.size());
        for (auto& record : TempProgramList) {
            ProgramList.push_back(std::move(record));
        }
        TempProgramList.clear();
    } catch (...) {
        view.RefillProgramList();
        view.EndUpdate();
        throw;
    }
    view.RefillProgramList();
    view.EndUpdate();
}

} // namespace torvik
