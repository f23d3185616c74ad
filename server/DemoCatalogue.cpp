#include "server/DemoCatalogue.h"

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

} // namespace torvik::server
