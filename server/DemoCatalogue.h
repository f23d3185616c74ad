#pragma once
#include <vector>

#include "server/Storage.h"

namespace torvik::server {

// The small catalogue the service seeds for a demonstration, also the one
// the end-to-end tests and their fixture programs (scanfix_app.exe,
// scanfix_tool.exe) expect. Two programs share each exe, so that a check
// has to tell programs apart by name as well.
std::vector<CatalogueEntry> DemoCatalogue();

// What three other installations of the demonstration reported: newer
// versions of Demo App and Demo Tool than the catalogue's, so that the
// demonstration's "Community status" column has something to show. Kept
// apart from the catalogue: the tests count on nobody else having checked.
// Report i and submission i are one installation's check.
struct DemoCommunity {
    std::vector<Report> reports;
    std::vector<Submission> submissions;
};
DemoCommunity DemoCommunityReports();

// Records the demonstration's community: the checks of DemoCommunityReports
// and a few notes those installations posted, so that the details of the
// demo programs show comments. Seeding again adds nothing.
void SeedDemoCommunity(Storage& storage);

} // namespace torvik::server
