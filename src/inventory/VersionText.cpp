#include "inventory/VersionText.h"

#include <optional>
#include <vector>

#include "common/Error.h"
#include "common/Text.h"

namespace torvik {
namespace {

std::vector<std::wstring> SplitTrimmed(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> pieces;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        pieces.push_back(Trim(std::wstring_view(text).substr(start, end - start)));
        if (end == std::wstring::npos) {
            return pieces;
        }
        start = end + 1;
    }
}

int32_t NumberOrZero(const std::vector<std::wstring>& pieces, size_t index) {
    return index < pieces.size() ? ParseDecimal(pieces[index]).value_or(0) : 0;
}

} // namespace

void SplitVersion123B(const std::wstring& version, int32_t& major, int32_t& minor, int32_t& release,
                      int32_t& build) {
    major = minor = release = build = 0;
    if (version.find(L':') == std::wstring::npos) {
        return;
    }
    const auto parts = SplitTrimmed(ReplaceAll(version, L"build:", L""), L' ');
    build = NumberOrZero(parts, 1);
    const auto numbers = SplitTrimmed(parts[0], L'.');
    major = NumberOrZero(numbers, 0);
    minor = NumberOrZero(numbers, 1);
    release = NumberOrZero(numbers, 2);
}

std::wstring VersionX_ToStr(const std::wstring& versionX) {
    const auto pieces = SplitTrimmed(versionX, L'.');
    if (pieces.size() < 4) {
        throw TorvikError(L"'" + versionX + L"' is not a valid version");
    }
    std::wstring numbers[4];
    for (size_t i = 0; i < 4; ++i) {
        numbers[i] = std::to_wstring(StrToInt(pieces[i]));
    }
    return numbers[0] + L"." + numbers[1] + L"." + numbers[2] + L" build:" + numbers[3];
}

std::wstring LPadZeros(const std::wstring& s, size_t n) {
    return s.size() >= n ? s : std::wstring(n - s.size(), L'0') + s;
}

std::wstring MakeVersionX(int32_t major, int32_t minor, int32_t release, int32_t build) {
    return LPadZeros(std::to_wstring(major), 5) + L"." + LPadZeros(std::to_wstring(minor), 5) +
           L"." + LPadZeros(std::to_wstring(release), 5) + L"." +
           LPadZeros(std::to_wstring(build), 5);
}

} // namespace torvik
