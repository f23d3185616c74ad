// Catalogue files come from whoever hosts a catalogue. Any bytes must be
// read or refused with a reason, and whatever is accepted must hold only
// what the import rules allow.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "server/CatalogueFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace torvik::server;
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        for (const auto& entry : ParseCatalogueText(text)) {
            if (entry.programName.empty() || entry.exeFilename.empty() ||
                !IsCatalogueVersion(entry.latestVersion) ||
                entry.exeFilename.find_first_of("\\/|") != std::string::npos) {
                std::abort();
            }
        }
    } catch (const CatalogueFileError& e) {
        if (std::string(e.what()).empty()) {
            std::abort();
        }
    }
    return 0;
}
