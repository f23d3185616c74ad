#pragma once
#include <string>
#include <vector>

#include "protocol/Multipart.h"

namespace torvik {

// What the contribution form sends about a program: every field travels,
// empty ones too, so that one request carries a comment, a pair of
// addresses or both.
struct ProgramNote {
    std::wstring alias; // the name the note is credited to
    std::wstring comment;
    std::wstring tags;
    std::wstring productUrl;
    std::wstring downloadUrl;
};

// The "community_post_note" form: "build", "header", "username", then
// "mode" (the user name stands before it), "program_name", "exe_filename",
// "comment", "tags", "product_url", "download_url".
MultipartFields CommunityPostNoteRequest(const std::wstring& build, const std::wstring& header,
                                         const std::wstring& programName,
                                         const std::wstring& exeFilename, const ProgramNote& note);
// Whether the service took the note: the value of "reply" is exactly "ok".
bool PostNoteAccepted(const std::vector<std::wstring>& replyLines);

// The "custom_program_search" form for an executable (a Windows path):
// "program_exe_fn" its file name, "program_exe_path" its folder with the
// trailing backslash, "program_details" its details lines joined with CR LF.
MultipartFields CustomProgramSearchRequest(const std::wstring& build, const std::wstring& header,
                                           const std::wstring& exeFile,
                                           const std::vector<std::wstring>& detailsLines);
// The value of "search_result", trimmed; empty when the service knows none.
std::wstring CustomProgramSearchResult(const std::vector<std::wstring>& replyLines);

// The moderators' verdicts on a program's submissions.
enum class ModerationAction {
    ApproveVersion, // "community_approve_app"
    ApproveUrl,     // "community_approve_app_url"
    TakeOffline,    // "community_reject_app"
};
// The verdict's form: "build", "header", "mode", "program_name",
// "exe_filename". Only screening reads its reply.
MultipartFields ModerationRequest(const std::wstring& build, const std::wstring& header,
                                  ModerationAction action, const std::wstring& programName,
                                  const std::wstring& exeFilename);

} // namespace torvik
