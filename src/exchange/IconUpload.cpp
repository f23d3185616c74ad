#include "exchange/IconUpload.h"

#include "common/PathUtils.h"
#include "exchange/ScreenedPost.h"

namespace torvik {

std::vector<IconUploadItem> ProgramsWantingIcons(const ProgramLists::RecordList& programs) {
    std::vector<IconUploadItem> wanted;
    for (const auto& record : programs) {
        if (record->IconNeeded) {
            wanted.push_back({record->ProgramName, record->TargetExeFilename,
                              MakeFn(record->TargetExePath, record->TargetExeFilename)});
        }
    }
    return wanted;
}

MultipartFields IconUploadRequest(const std::wstring& build, const std::wstring& header,
                                  const IconUploadItem& program, const std::string& png) {
    MultipartFields form = NewServiceRequest(build, header, L"upload_icon");
    form.AddText(L"program_name", program.programName);
    form.AddText(L"exe_filename", program.exeFilename);
    form.AddBinary(L"icon_contents", L"x", png);
    return form;
}

void PostIconUpload(ServiceTransport& transport, const std::wstring& url,
                    const MultipartFields& form) {
    PostScreened(transport, url, form);
}

} // namespace torvik
