#include "server/DemoCatalogue.h"

#include <algorithm>

namespace torvik::server {

std::vector<CatalogueEntry> DemoCatalogue() {
    return {
        {.programName = "Demo App",
         .exeFilename = "scanfix_app.exe",
         .latestVersion = "1.3.0.0",
         .productUrl = "https://example.org/demo-app",
         .downloadUrl = "https://example.org/demo-app/download",
         .comments = "Faster start, new toolbar",
         .hasIcon = false},
        {.programName = "Demo Tool",
         .exeFilename = "scanfix_tool.exe",
         .latestVersion = "10.0.2.100",
         .productUrl = "https://example.org/demo-tool",
         .downloadUrl = "",
         .comments = "Up to date",
         .hasIcon = true},
        {.programName = "Demo Beta",
         .exeFilename = "scanfix_app.exe",
         .latestVersion = "1.0.0.0",
         .productUrl = "https://example.org/demo-beta",
         .downloadUrl = "",
         .comments = "",
         .hasIcon = false},
        {.programName = "Torvik E2E App",
         .exeFilename = "scanfix_app.exe",
         .latestVersion = "1.3.0.0",
         .productUrl = "https://example.org/e2e-app",
         .downloadUrl = "",
         .comments = "For the end-to-end tests",
         .hasIcon = false},
        {.programName = "Torvik E2E Tool",
         .exeFilename = "scanfix_tool.exe",
         .latestVersion = "10.0.2.100",
         .productUrl = "https://example.org/e2e-tool",
         .downloadUrl = "",
         .comments = "",
         .hasIcon = false},
    };
}

DemoCommunity DemoCommunityReports() {
    struct Reported {
        const char* installation;
        const char* programName;
        const char* exeFilename;
        const char* versionX;
    };
    static constexpr Reported kReported[] = {
        {"user_DEMOCOMMUNITY0000001_2026-01-01 00:00:00.000", "Demo App", "scanfix_app.exe",
         "00002.00000.00000.00000"},
        {"user_DEMOCOMMUNITY0000002_2026-01-01 00:00:00.000", "Demo App", "scanfix_app.exe",
         "00002.00000.00000.00000"},
        {"user_DEMOCOMMUNITY0000003_2026-01-01 00:00:00.000", "Demo Tool", "scanfix_tool.exe",
         "00010.00001.00000.00000"},
    };
    DemoCommunity community;
    for (const Reported& r : kReported) {
        community.reports.push_back({.installation = r.installation,
                                     .programName = r.programName,
                                     .exeFilename = r.exeFilename,
                                     .versionX = r.versionX,
                                     .exePath = "Demo\\",
                                     .exeDate = "2026-01-01 00:00:00",
                                     .exeSize = 4096});
        // Newer than the catalogue: each is also that installation's submission.
        community.submissions.push_back({r.installation, r.programName, r.exeFilename, r.versionX});
    }
    return community;
}

void SeedDemoCommunity(Storage& storage) {
    const DemoCommunity others = DemoCommunityReports();
    // One check of each installation, as the service records them.
    for (size_t i = 0; i < others.reports.size(); ++i) {
        storage.SaveCheck({others.reports[i]}, {}, {others.submissions[i]});
    }
    const Note notes[] = {
        {"Demo App", "scanfix_app.exe", others.reports[0].installation, "Maria",
         "Version 2.0.0 is out on the maker's site.\nThe new toolbar takes some getting used to.",
         "new version", "2026-01-02 09:30:00"},
        {"Demo App", "scanfix_app.exe", others.reports[1].installation, "",
         "Runs fine on my laptop.", "", "2026-01-03 18:05:00"},
        {"Demo Tool", "scanfix_tool.exe", others.reports[2].installation, "Tom",
         "The 10.1 beta fixes the slow start.", "beta", "2026-01-04 12:00:00"},
    };
    for (const Note& note : notes) {
        const auto posted = storage.LoadNotes(note.programName, note.exeFilename, 100);
        const bool there = std::any_of(posted.begin(), posted.end(), [&](const Note& p) {
            return p.installation == note.installation && p.postedAt == note.postedAt;
        });
        if (!there) {
            storage.SaveContribution(note, std::nullopt);
        }
    }
}

} // namespace torvik::server
