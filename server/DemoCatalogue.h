#pragma once
#include <vector>

#include "server/Storage.h"

namespace torvik::server {

// The small catalogue the service seeds for a demonstration, also the one
// the end-to-end tests and their fixture programs (scanfix_app.exe,
// scanfix_tool.exe) expect. Two programs share each exe, so that a check
// has to tell programs apart by name as well.
std::vector<CatalogueEntry> DemoCatalogue();

} // namespace torvik::server
