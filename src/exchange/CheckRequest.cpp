#include "exchange/CheckRequest.h"

#include "common/DateText.h"
#include "common/Text.h"
#include "protocol/Compression.h"
#include "protocol/Split.h"
#include "service/ServiceTransport.h"

namespace torvik {
namespace {

std::wstring DetailsField(const std::wstring& details) {
    return ReplaceAll(ReplaceAll(ReplaceAll(details, L"\r\n", L"<br>"), L"\r", L"<br>"), L"\n",
                      L"<br>");
}

} // namespace

std::wstring ProgramLine(const TProgramRecord& record, const std::wstring& programFilesFolder) {
    const std::wstring fields[] = {
        record.ProgramName,
        _x_StringReplace_IC(record.TargetExePath, programFilesFolder, L""),
        record.TargetExeFilename,
        record.TargetExeVersion,
        record.TargetExeVersionX,
        std::to_wstring(record.TargetExeVersion1),
        std::to_wstring(record.TargetExeVersion2),
        std::to_wstring(record.TargetExeVersion3),
        std::to_wstring(record.TargetExeVersionB),
        DateTimeToStrX_noms(record.TargetExeDateM),
        std::to_wstring(record.TargetExeSize),
        record.FlagSendDetailsToServer ? DetailsField(record.TargetExeDetails) : std::wstring(),
    };
    std::wstring line;
    for (const auto& field : fields) {
        if (&field != &fields[0]) {
            line += L'|';
        }
        line += field;
    }
    return line;
}

std::vector<std::wstring> CheckProgramLines(const ProgramLists::RecordList& programs,
                                            const std::wstring& programFilesFolder) {
    std::vector<std::wstring> lines;
    for (const auto& record : programs) {
        if (record->Status >= ProgramStatus::New) {
            lines.push_back(ProgramLine(*record, programFilesFolder));
        }
    }
    return lines;
}

MultipartFields CheckForUpdatesRequest(const std::wstring& build, const std::wstring& header,
                                       const std::vector<std::wstring>& programLines) {
    MultipartFields form = NewServiceRequest(build, header, L"check_for_updates");
    form.AddBinary(L"programs_list_zlib_UTF8_nouu", L"",
                   ZlibCompressText(LinesToText(programLines)));
    return form;
}

} // namespace torvik
