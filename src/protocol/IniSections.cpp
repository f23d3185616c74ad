#include "protocol/IniSections.h"

#include "common/Text.h"

namespace torvik {
namespace {
std::wstring Bracketed(const std::wstring& name) {
    return StartsWith(name, L"[") ? name : L"[" + name + L"]";
}
} // namespace

std::vector<std::wstring> GetIniSectionInternal(const std::wstring& name,
                                                const std::vector<std::wstring>& lines,
                                                bool ignoreCase) {
    const std::wstring header = ignoreCase ? LowerCaseAscii(Bracketed(name)) : Bracketed(name);
    std::vector<std::wstring> section;
    bool inside = false;
    for (const auto& line : lines) {
        if (Trim(line).empty()) {
            continue;
        }
        if (line.front() == L'[') {
            inside = (ignoreCase ? LowerCaseAscii(line) : line) == header;
            if (!inside && !section.empty()) {
                break;
            }
        } else if (inside) {
            section.push_back(line);
        }
    }
    return section;
}

std::wstring IniSectionValue(const std::wstring& name, const std::vector<std::wstring>& lines) {
    const auto section = GetIniSectionInternal(name, lines, false);
    std::wstring joined;
    for (size_t i = 0; i < section.size(); ++i) {
        if (i > 0) {
            joined += L"\r\n";
        }
        joined += section[i];
    }
    return Trim(joined);
}

void ReplaceIniSectionInternal(const std::wstring& name, std::vector<std::wstring>& lines,
                               const std::vector<std::wstring>& newLines) {
    const std::wstring header = Bracketed(name);
    size_t start = 0;
    while (start < lines.size() && lines[start] != header) {
        ++start;
    }
    if (start == lines.size()) {
        lines.push_back(header);
        lines.insert(lines.end(), newLines.begin(), newLines.end());
        return;
    }
    ++start;
    size_t end = start;
    while (end < lines.size() && !StartsWith(Trim(lines[end]), L"[")) {
        ++end;
    }
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(start),
                lines.begin() + static_cast<std::ptrdiff_t>(end));
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(start), newLines.begin(),
                 newLines.end());
}

} // namespace torvik
