#include "ui/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <iterator>

namespace torvik {

std::optional<double> ParseNumber(std::wstring_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    const std::wstring copy(text); // wcstod needs the terminating zero
    wchar_t* end = nullptr;
    const double value = std::wcstod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

double NumberOrZero(std::wstring_view text) {
    return ParseNumber(text).value_or(0);
}

std::wstring FixedNumberText(double value, int decimals) {
    // The widest double has 309 digits before the point; 20 decimals at most
    // keeps every text within the buffer.
    wchar_t text[400];
    std::swprintf(text, std::size(text), L"%.*f",
                  decimals < 0    ? 0
                  : decimals > 20 ? 20
                                  : decimals,
                  value);
    return text;
}

std::wstring NumberText(double value) {
    wchar_t text[64];
    for (const int digits : {15, 17}) {
        std::swprintf(text, std::size(text), L"%.*g", digits, value);
        if (ParseNumber(text) == value) {
            break;
        }
    }
    return text;
}

bool IsTypedNumber(std::wstring_view text) {
    if (!text.empty() && text.front() == L'-') {
        text.remove_prefix(1);
    }
    bool point = false;
    for (const wchar_t c : text) {
        if (c == L'.' && !point) {
            point = true;
        } else if (c < L'0' || c > L'9') {
            return false;
        }
    }
    return true;
}

} // namespace torvik
