#pragma once
#include <string>
#include <tuple>
#include <vector>

#include "server/Storage.h"

namespace torvik::server {

// Catalogue entries as tuples: the structs have no ==, tuples compare and
// print.
using EntryFields =
    std::tuple<std::string, std::string, std::string, std::string, std::string, std::string, bool>;

inline std::vector<EntryFields> Fields(const std::vector<CatalogueEntry>& entries) {
    std::vector<EntryFields> fields;
    for (const auto& e : entries) {
        fields.emplace_back(e.programName, e.exeFilename, e.latestVersion, e.productUrl,
                            e.downloadUrl, e.comments, e.hasIcon);
    }
    return fields;
}

} // namespace torvik::server
