#include "ui/ProgramDetailsText.h"

#include "common/Text.h"
#include "inventory/UrlText.h"
#include "protocol/IniSections.h"
#include "protocol/Split.h"

namespace torvik {
namespace {

constexpr const wchar_t* kDownloading = L"-=downloading..=-";
constexpr const wchar_t* kLinkMarkup = L"<a href=><u>";
constexpr const wchar_t* kSubmitUrl = L"please submit a url";

std::wstring NotesText(const std::vector<std::wstring>& reply) {
    std::vector<std::wstring> lines;
    for (const std::wstring& note : GetIniSectionInternal(L"community_notes", reply, false)) {
        const std::vector<std::wstring> fields = _x_Split(note, L">>>", true);
        if (fields.empty()) {
            continue;
        }
        // Only one field: there is no heading to show, the field is the text.
        if (fields.size() > 1) {
            lines.push_back(fields[0]);
        }
        lines.push_back(ReplaceAll(fields[fields.size() > 1 ? 1 : 0], L"<br>", L"\r\n"));
        lines.push_back(L"---");
    }
    const std::wstring text = JoinLines(lines);
    return Trim(text).empty() ? L"<no comments found>" : text;
}

std::wstring LinkOf(const std::wstring& url) {
    return kLinkMarkup + TrimUrl(url);
}

} // namespace

ProgramDetailsTexts DownloadingDetailsTexts() {
    ProgramDetailsTexts texts;
    texts.comments = kDownloading;
    texts.productLink = kDownloading;
    return texts;
}

ProgramDetailsTexts ReadProgramDetails(const std::vector<std::wstring>& reply,
                                       const std::wstring& programPageBase) {
    ProgramDetailsTexts texts;
    texts.comments = NotesText(reply);
    texts.productUrl = IniSectionValue(L"product_url", reply);
    texts.downloadUrl = IniSectionValue(L"download_url", reply);
    texts.fileHippoUrl = IniSectionValue(L"filehippo_url", reply);
    const std::wstring programId = IniSectionValue(L"program_id_enc", reply);
    if (!programId.empty()) {
        texts.programPageUrl = programPageBase + programId;
    }
    texts.productLink = texts.productUrl.empty() ? kSubmitUrl : LinkOf(texts.productUrl);
    texts.downloadLink = texts.downloadUrl.empty() ? kSubmitUrl : LinkOf(texts.downloadUrl);
    texts.fileHippoLink = LinkOf(texts.fileHippoUrl);
    texts.programPageLink = LinkOf(texts.programPageUrl);
    texts.fileHippoVersion = IniSectionValue(L"filehippo_version", reply);
    texts.newVersions = IniSectionValue(L"new_versions", reply);
    if (texts.newVersions.empty()) {
        texts.newVersions = L"<no new version found from the community>";
    }
    texts.popularity = IniSectionValue(L"popularity", reply);
    return texts;
}

std::wstring DetailsFailedText(const std::wstring& error) {
    return L"The program's details could not be loaded: " + error;
}

} // namespace torvik
