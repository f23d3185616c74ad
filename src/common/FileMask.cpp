#include "common/FileMask.h"

namespace torvik {
namespace {
wchar_t Fold(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? c + (L'a' - L'A') : c;
}
} // namespace

bool FileMaskMatch(std::wstring_view mask, std::wstring_view name) {
    // Greedy with one back-track point: the last "*" seen.
    size_t m = 0, n = 0, starM = std::wstring_view::npos, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() &&
            (mask[m] == L'?' || (mask[m] != L'*' && Fold(mask[m]) == Fold(name[n])))) {
            ++m, ++n;
        } else if (m < mask.size() && mask[m] == L'*') {
            starM = m++, starN = n;
        } else if (starM != std::wstring_view::npos) {
            m = starM + 1, n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == L'*') {
        ++m;
    }
    return m == mask.size();
}

} // namespace torvik
