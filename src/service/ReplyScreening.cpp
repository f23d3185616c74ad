#include "service/ReplyScreening.h"

#include <algorithm>

#include "common/Text.h"

namespace torvik {
namespace {

constexpr size_t kQuoteLimit = 500;
constexpr size_t kCustomErrorLimit = 200;

bool Contains(const std::wstring& text, const wchar_t* what) {
    return text.find(what) != std::wstring::npos;
}

// At most limit characters of text from at.
std::wstring From(const std::wstring& text, size_t at, size_t limit) {
    return text.substr(at, limit);
}

} // namespace

std::wstring GetASPXError(const std::wstring& text) {
    const size_t open = text.find(L"<title>");
    const size_t close = text.find(L"</title>");
    if (open == std::wstring::npos || close == std::wstring::npos) {
        return text;
    }
    const size_t start = open + 7;
    std::wstring title = close > start ? text.substr(start, close - start) : L"";
    for (size_t at = title.find(L"&quot;"); at != std::wstring::npos;
         at = title.find(L"&quot;", at + 1)) {
        title.replace(at, 6, L"\"");
    }
    return L"ASPX error: " + title;
}

std::wstring GetCustomError(const std::wstring& text) {
    const size_t at = text.find(L"error:");
    return at == std::wstring::npos ? text : From(text, at, kCustomErrorLimit);
}

void ScreenReply(const std::wstring& text, const ScreeningHooks& hooks) {
    if (hooks.writeDebugCopy) {
        hooks.writeDebugCopy(text);
    }
    if (Contains(text, L"prevent the details of the application error") && hooks.showMessage) {
        hooks.showMessage(
            L"A runtime error occurred, but the currect settings in web.config do not "
            L"allow details to be shown.\rTo view details disable customErrors in "
            L"web.config. <customErrors mode=\"Off\"/> ");
    }
    if (Contains(text, L"Server Error") && !Contains(text, L"Server Error and Usage")) {
        throw TorvikError(GetASPXError(text));
    }
    if (const size_t at = text.find(L"HTTP Error"); at != std::wstring::npos) {
        throw TorvikError(From(text, at, kQuoteLimit));
    }
    if (Contains(text, L"error:")) {
        throw TorvikError(GetCustomError(text));
    }
    const std::wstring lower = LowerCaseAscii(text);
    if (!Contains(lower, L"text:char:255") && !Contains(lower, L"text:sqlnvarchar:255")) {
        if (const size_t at = text.find(L"warning:"); at != std::wstring::npos) {
            throw TorvikError(From(text, at, kQuoteLimit));
        }
    }
    const size_t bold = std::min(lower.find(L"warning</b>:"), lower.find(L"error</b>:"));
    if (bold != std::wstring::npos) {
        throw TorvikError(From(lower, bold, kQuoteLimit));
    }
}

} // namespace torvik
