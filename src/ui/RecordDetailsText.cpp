#include "ui/RecordDetailsText.h"

#include "common/Text.h"

namespace torvik {

std::vector<std::wstring> RecordDetailsLines(const TProgramRecord& record,
                                             const std::wstring& statusText) {
    const std::pair<const wchar_t*, std::wstring> values[] = {
        {L"Program", record.ProgramName},
        {L"Executable", record.TargetExePath + record.TargetExeFilename},
        {L"My version", record.TargetExeVersion},
        {L"Database status", statusText},
        {L"Latest version", record.ServerVersion == L"?" ? L"" : record.ServerVersion},
        {L"Community status", record.ReceivedNotes},
        {L"URL", record.ReceivedUrl},
        {L"Comments", record.ReceivedComments},
    };
    std::vector<std::wstring> lines;
    for (const auto& [caption, value] : values) {
        // A value of several lines stays on one: the page is a list of values.
        const std::wstring oneLine =
            Trim(ReplaceAll(ReplaceAll(value, L"\r\n", L" "), L"\n", L" "));
        if (!oneLine.empty()) {
            lines.push_back(std::wstring(caption) + L": " + oneLine);
        }
    }
    return lines;
}

} // namespace torvik
