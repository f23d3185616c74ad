#pragma once
#include <string>
#include <vector>

namespace torvik {

// What the details page shows of a program as the service describes it: the
// raw addresses behind the links, and the texts of the controls.
struct ProgramDetailsTexts {
    std::wstring comments;
    // The addresses the links open (the hidden edits behind them).
    std::wstring productUrl, downloadUrl, fileHippoUrl, programPageUrl;
    // The link labels' mark-up or plain text.
    std::wstring productLink, downloadLink, fileHippoLink, programPageLink;
    std::wstring fileHippoVersion;
    std::wstring newVersions;
    std::wstring popularity;
    bool operator==(const ProgramDetailsTexts&) const = default;
};

// While the fetch runs: "-=downloading..=-" in the comments and the product
// link, everything else empty.
ProgramDetailsTexts DownloadingDetailsTexts();

// The texts of a "community_get_notes" reply. Each note line is a heading
// and a text separated by ">>>" ("<br>" in the text is a line break),
// followed by a line "---"; a line without the separator is shown as a text
// without heading. programPageBase is the site's program page up to its id
// ("...program.aspx?id="); the page's address stays empty when the reply has
// no id, so that the link opens nothing. A reply without sections (an error
// page: the fetch is not screened) gives the "nothing found" texts.
ProgramDetailsTexts ReadProgramDetails(const std::vector<std::wstring>& reply,
                                       const std::wstring& programPageBase);

// The comments text of a fetch that failed, with the failure's text.
std::wstring DetailsFailedText(const std::wstring& error);

} // namespace torvik
