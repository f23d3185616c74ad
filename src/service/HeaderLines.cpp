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

std::wstring ReceivedHeaderValue(const std::vector<std::wstring>& lines, const std::wstring& name) {
    const std::wstring prefix = LowerCaseAscii(HeaderName(name)) + L":";
    for (const auto& line : lines) {
        if (StartsWith(LowerCaseAscii(line), prefix)) {
            return Trim(std::wstring_view(line).substr(prefix.size()));
        }
    }
    return {};
}

std::optional<uint32_t> ParseHeaderNumber(const std::wstring& value) {
    if (value.empty()) {
        return std::nullopt;
    }
    uint64_t n = 0;
    for (const wchar_t c : value) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        n = n * 10 + static_cast<uint64_t>(c - L'0');
        if (n > UINT32_MAX) {
            return std::nullopt;
        }
    }
    return static_cast<uint32_t>(n);
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
