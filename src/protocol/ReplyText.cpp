#include "protocol/ReplyText.h"

#include "common/Utf8.h"

namespace torvik {

std::wstring Utf16LeToString(const std::string& bytes, bool stopAtNul) {
    std::wstring out;
    out.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char32_t unit =
            static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (unit == 0 && stopAtNul) {
            break;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = static_cast<unsigned char>(bytes[i + 2]) |
                                 static_cast<unsigned char>(bytes[i + 3]) << 8;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendCodePoint(out, unit);
    }
    return out;
}

std::wstring DecodeReplyText(const std::string& body, const ReplyCharsetEvidence& evidence,
                             const AnsiCodePage& ansi) {
    if (evidence.utf8Evidence.find(L"charset=utf-8") != std::wstring::npos) {
        return Utf8ToString(body);
    }
    if (evidence.utf16Evidence.find(L"charset=utf-16") != std::wstring::npos) {
        return Utf16LeToString(body, evidence.utf16StopsAtNul);
    }
    return ansi.ToText(body);
}

} // namespace torvik
