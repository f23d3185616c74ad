#include "exchange/Contributions.h"

#include "common/PathUtils.h"
#include "common/Text.h"
#include "protocol/IniSections.h"
#include "service/ServiceTransport.h"

namespace torvik {
namespace {

const wchar_t* ModeOf(ModerationAction action) {
    switch (action) {
    case ModerationAction::ApproveVersion:
        return L"community_approve_app";
    case ModerationAction::ApproveUrl:
        return L"community_approve_app_url";
    case ModerationAction::TakeOffline:
        return L"community_reject_app";
    }
    return L"";
}

} // namespace

MultipartFields CommunityPostNoteRequest(const std::wstring& build, const std::wstring& header,
                                         const std::wstring& programName,
                                         const std::wstring& exeFilename, const ProgramNote& note) {
    MultipartFields form;
    form.AddText(L"build", build);
    form.AddText(L"header", header);
    form.AddText(L"username", note.alias);
    form.AddText(L"mode", L"community_post_note");
    form.AddText(L"program_name", programName);
    form.AddText(L"exe_filename", exeFilename);
    form.AddText(L"comment", note.comment);
    form.AddText(L"tags", note.tags);
    form.AddText(L"product_url", note.productUrl);
    form.AddText(L"download_url", note.downloadUrl);
    return form;
}

bool PostNoteAccepted(const std::vector<std::wstring>& replyLines) {
    return IniSectionValue(L"reply", replyLines) == L"ok";
}

MultipartFields CustomProgramSearchRequest(const std::wstring& build, const std::wstring& header,
                                           const std::wstring& exeFile,
                                           const std::vector<std::wstring>& detailsLines) {
    MultipartFields form = NewServiceRequest(build, header, L"custom_program_search");
    form.AddText(L"program_exe_fn", ExtractFileName(exeFile));
    form.AddText(L"program_exe_path", ExtractFilePath(exeFile));
    form.AddText(L"program_details", JoinLines(detailsLines));
    return form;
}

std::wstring CustomProgramSearchResult(const std::vector<std::wstring>& replyLines) {
    return IniSectionValue(L"search_result", replyLines);
}

MultipartFields ModerationRequest(const std::wstring& build, const std::wstring& header,
                                  ModerationAction action, const std::wstring& programName,
                                  const std::wstring& exeFilename) {
    MultipartFields form = NewServiceRequest(build, header, ModeOf(action));
    form.AddText(L"program_name", programName);
    form.AddText(L"exe_filename", exeFilename);
    return form;
}

} // namespace torvik
