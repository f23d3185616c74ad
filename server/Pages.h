#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "server/CheckService.h"
#include "server/CommunityService.h"
#include "server/Storage.h"

namespace torvik::server {

inline constexpr const char* kHtmlType = "text/html; charset=utf-8";

// Text made safe for HTML content and attribute values.
std::string HtmlEscape(std::string_view text);

// The pages the program shows or opens. Plain, self-contained HTML: no
// script and no external asset.
// "AppFrame_Updater.aspx?mode=1": what the catalogue holds.
std::string CataloguePage(const std::vector<CatalogueEntry>& catalogue, const std::string& build);
// "AppFrame_Updater.aspx?mode=2": versions newer than the catalogue's that
// users reported.
std::string UpdatesPage(const std::vector<CheckService::Reported>& reported,
                        const std::string& build);
// "ForumThreads.aspx".
std::string ForumPage();
// "program.aspx?id=": one program with its links, the community's notes,
// the newer versions users reported and its popularity.
std::string ProgramPage(const CommunityService::Details& program);
// The page of an id that names no program the service knows (sent as 404).
std::string ProgramNotFoundPage();

} // namespace torvik::server
