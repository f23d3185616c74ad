#include "service/HeaderLines.h"

#include "common/Text.h"

namespace torvik {
namespace {
std::wstring HeaderName(const std::wstring& name) {
    std::wstring n = Trim(name);
    if (!n.empty() && n.back() == L':') {
        n.pop_back();
    }
    return n;
}
} // namespace

int HeaderLineIdx(const std::vector<std::wstring>& lines, const std::wstring& name) {
    const std::wstring prefix = LowerCaseAscii(HeaderName(name)) + L": ";
    for (size_t i = 0; i < lines.size(); ++i) {
        if (StartsWith(LowerCaseAscii(lines[i]), prefix)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::wstring HeaderLineValue(const std::vector<std::wstring>& lines, const std::wstring& name) {
    const int idx = HeaderLineIdx(lines, name);
    if (idx < 0) {
        return {};
    }
    const std::wstring& line = lines[static_cast<size_t>(idx)];
    return line.substr(line.find(L": ") + 2);
}

void SetHeaderLine(std::vector<std::wstring>& lines, const std::wstring& name,
                   const std::wstring& value) {
    DeleteHeaderLine(lines, name);
    lines.push_back(HeaderName(name) + L": " + value);
}

void DeleteHeaderLine(std::vector<std::wstring>& lines, const std::wstring& name) {
    const int idx = HeaderLineIdx(lines, name);
    if (idx >= 0) {
        lines.erase(lines.begin() + idx);
    }
}

} // namespace torvik
