#include "server/Pages.h"

#include <array>

#include "inventory/VersionText.h"
#include "server/ProgramLines.h"
#include "server/ReplyText.h"

namespace torvik::server {
namespace {

constexpr const char* kStyle =
    "body{font:14px/1.45 system-ui,Segoe UI,Tahoma,sans-serif;margin:0;color:#1d1d24;"
    "background:#f4f4f7}"
    "header{background:#3a3a5c;color:#fff;padding:14px 20px}"
    "header h1{font-size:19px;margin:0}header p{margin:4px 0 0;color:#d6d6e8}"
    "main{padding:16px 20px}"
    "table{border-collapse:collapse;width:100%;background:#fff}"
    "th,td{text-align:left;padding:6px 10px;border-bottom:1px solid #dcdce6;vertical-align:top}"
    "th{background:#c7c7d6}td.v{white-space:nowrap;font-variant-numeric:tabular-nums}"
    "a{color:#1f4fbf}p.empty{color:#666}footer{padding:12px 20px;color:#777;font-size:12px}"
    "h2{font-size:16px;margin:22px 0 8px}th.k{width:160px}"
    "div.note{background:#fff;padding:8px 12px;margin:0 0 8px;border-left:3px solid #8a8ab0}"
    "div.note p{margin:0}div.note p.h{color:#555;font-size:12px;margin-bottom:4px}";

// Only web addresses become links; anything else stays text.
std::string Link(const std::string& url, const std::string& label) {
    const std::string key = KeyOf(url);
    if (key.rfind("http://", 0) != 0 && key.rfind("https://", 0) != 0) {
        return HtmlEscape(url);
    }
    return "<a href=\"" + HtmlEscape(url) + "\">" + HtmlEscape(label) + "</a>";
}

std::string Page(const std::string& title, const std::string& subtitle, const std::string& body,
                 const std::string& build) {
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>" +
           HtmlEscape(title) + "</title><style>" + kStyle + "</style></head><body><header><h1>" +
           HtmlEscape(title) + "</h1><p>" + HtmlEscape(subtitle) + "</p></header><main>" + body +
           "</main><footer>Torvik Updater" +
           (build.empty() ? std::string() : " build " + HtmlEscape(build)) +
           "</footer></body></html>\n";
}

} // namespace

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string CataloguePage(const std::vector<CatalogueEntry>& catalogue, const std::string& build) {
    std::string body;
    if (catalogue.empty()) {
        body = "<p class=\"empty\">The catalogue is empty.</p>";
    } else {
        body = "<table><tr><th>Program</th><th>File</th><th>Latest version</th><th>Notes</th>"
               "<th>Links</th></tr>";
        for (const auto& e : catalogue) {
            std::array<uint32_t, 4> v{};
            ParseDottedVersion(e.latestVersion, v);
            std::string links = e.productUrl.empty() ? "" : Link(e.productUrl, "Product page");
            if (!e.downloadUrl.empty()) {
                links += (links.empty() ? "" : " &middot; ") + Link(e.downloadUrl, "Download");
            }
            body += "<tr><td>" + HtmlEscape(e.programName) + "</td><td>" +
                    HtmlEscape(e.exeFilename) + "</td><td class=\"v\">" +
                    HtmlEscape(FormatVersionText(v)) + "</td><td>" + HtmlEscape(e.comments) +
                    "</td><td>" + links + "</td></tr>";
        }
        body += "</table>";
    }
    return Page("Program database",
                std::to_string(catalogue.size()) + " programs with their latest versions", body,
                build);
}

std::string UpdatesPage(const std::vector<CheckService::Reported>& reported,
                        const std::string& build) {
    std::string body;
    if (reported.empty()) {
        body = "<p class=\"empty\">No user has reported a version newer than the database's.</p>";
    } else {
        body = "<table><tr><th>Program</th><th>File</th><th>Version</th><th>Users</th></tr>";
        for (const auto& r : reported) {
            std::wstring version;
            try {
                version = VersionX_ToStr(std::wstring(r.versionX.begin(), r.versionX.end()));
            } catch (...) {
                version = L"?";
            }
            body += "<tr><td>" + HtmlEscape(r.programName) + "</td><td>" +
                    HtmlEscape(r.exeFilename) + "</td><td class=\"v\">" +
                    HtmlEscape(std::string(version.begin(), version.end())) + "</td><td>" +
                    std::to_string(r.installations) + "</td></tr>";
        }
        body += "</table>";
    }
    return Page("Recent updates", "Newer versions reported by the community", body, build);
}

std::string ForumPage() {
    return Page("Support forums", "Questions, answers and wishes around Torvik Updater",
                "<p>The forums are not open on this server yet. Use the program's Feedback window "
                "to reach the maker.</p>",
                "");
}

namespace {

std::string Fact(const std::string& label, const std::string& html) {
    return "<tr><th class=\"k\">" + HtmlEscape(label) + "</th><td>" + html + "</td></tr>";
}

} // namespace

std::string ProgramPage(const CommunityService::Details& program) {
    const auto& entry = program.entry;
    std::string latest = "not in the database yet";
    if (std::array<uint32_t, 4> v{}; entry && ParseDottedVersion(entry->latestVersion, v)) {
        latest = FormatVersionText(v);
    }
    const auto link = [](const std::string& url) {
        return url.empty() ? std::string("<span class=\"empty\">none yet</span>") : Link(url, url);
    };
    std::string body = "<table>" + Fact("Executable", HtmlEscape(program.exeFilename)) +
                       Fact("Latest version", HtmlEscape(latest)) +
                       Fact("Product page", link(entry ? entry->productUrl : "")) +
                       Fact("Download", link(entry ? entry->downloadUrl : "")) +
                       Fact("Popularity", HtmlEscape(PopularityText(program.installations))) +
                       "</table><h2>Newer versions from the community</h2>";
    if (program.newer.empty()) {
        body += "<p class=\"empty\">No user has reported a newer version.</p>";
    } else {
        body += "<ul>";
        for (const VersionCount& count : program.newer) {
            body += "<li>" + HtmlEscape(NewerVersionText(count)) + "</li>";
        }
        body += "</ul>";
    }
    body += "<h2>Community notes</h2>";
    if (program.notes.empty()) {
        body += "<p class=\"empty\">No notes yet.</p>";
    }
    for (const Note& note : program.notes) {
        body += "<div class=\"note\"><p class=\"h\">" + HtmlEscape(NoteHeading(note)) + "</p><p>" +
                LineBreaksAs(HtmlEscape(note.comment), "<br>") + "</p></div>";
    }
    return Page(program.programName, program.exeFilename, body, "");
}

std::string ProgramNotFoundPage() {
    return Page("Program not found", "The link names no program this service knows",
                "<p>Open the program's details in Torvik Updater and follow its link "
                "again.</p>",
                "");
}

} // namespace torvik::server
