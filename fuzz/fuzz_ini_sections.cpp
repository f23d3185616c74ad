// Service replies and the program's small files are read as bracketed
// sections. The first line of the input names the section, the rest is the
// text of lines.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/Utf8.h"
#include "protocol/IniSections.h"
#include "protocol/Split.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text =
        torvik::Utf8ToString(std::string(reinterpret_cast<const char*>(data), size));
    auto lines = torvik::TextToLines(text);
    if (lines.empty()) {
        return 0;
    }
    const std::wstring name = lines.front();
    lines.erase(lines.begin());
    for (const bool ignoreCase : {false, true}) {
        for (const auto& line : torvik::GetIniSectionInternal(name, lines, ignoreCase)) {
            if (std::find(lines.begin(), lines.end(), line) == lines.end()) {
                std::abort();
            }
        }
    }
    torvik::IniSectionValue(name, lines);
    const std::vector<std::wstring> replacement = {L"x=1", L"y=2"};
    auto replaced = lines;
    torvik::ReplaceIniSectionInternal(name, replaced, replacement);
    // The first header line of that name is followed by the new lines.
    const std::wstring header = name.starts_with(L"[") ? name : L"[" + name + L"]";
    const auto at = std::find(replaced.begin(), replaced.end(), header);
    if (at == replaced.end() || replaced.end() - at <= 2 || *(at + 1) != replacement[0] ||
        *(at + 2) != replacement[1]) {
        std::abort();
    }
    return 0;
}
