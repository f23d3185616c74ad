#include "platform/AnsiCodePage.h"

namespace torvik {

std::string Latin1CodePage::FromText(const std::wstring& text) const {
    std::string out;
    out.reserve(text.size());
    for (const wchar_t c : text) {
        out += static_cast<unsigned>(c) < 256 ? static_cast<char>(c) : '?';
    }
    return out;
}

std::wstring Latin1CodePage::ToText(const std::string& bytes) const {
    std::wstring out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        out += static_cast<wchar_t>(static_cast<unsigned char>(b));
    }
    return out;
}

} // namespace torvik
