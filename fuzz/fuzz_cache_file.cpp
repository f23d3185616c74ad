// The cached library file is read back on every start. Any bytes must load
// without harm, and every row that loads must survive being written and read
// again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/TextFile.h"
#include "inventory/CachedLibrary.h"
#include "platform/AnsiCodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const torvik::Latin1CodePage ansi;
    const auto unmarked = [&ansi](const std::string& text) { return ansi.ToText(text); };
    for (const auto& line : torvik::SplitTextLines(torvik::DecodeTextFile(bytes, unmarked))) {
        const auto row = torvik::ParseCacheLine(line);
        if (!row || row->FullFnLower.empty()) {
            continue;
        }
        const auto again = torvik::ParseCacheLine(torvik::CacheLine(*row));
        if (!again || again->FullFnLower != row->FullFnLower ||
            again->AlreadySentToServer != row->AlreadySentToServer ||
            again->ModifiedDt != row->ModifiedDt || again->ExeVersion != row->ExeVersion ||
            again->OtherDetails != row->OtherDetails) {
            std::abort();
        }
    }
    return 0;
}
