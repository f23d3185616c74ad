#pragma once
#include <string>

#include "platform/AnsiCodePage.h"

namespace torvik {

// UTF-16 little-endian bytes as text; an odd last byte is dropped. With
// stopAtNul the text ends before the first NUL character.
std::wstring Utf16LeToString(const std::string& bytes, bool stopAtNul);

// How the HTTP clients turn a reply body into text: UTF-8 when
// utf8Evidence contains "charset=utf-8" (letter case significant, so
// "charset=UTF-8" does not count), otherwise UTF-16 LE when utf16Evidence
// contains "charset=utf-16", otherwise the ANSI code page.
struct ReplyCharsetEvidence {
    std::wstring utf8Evidence;
    std::wstring utf16Evidence;
    bool utf16StopsAtNul = false;
};
std::wstring DecodeReplyText(const std::string& body, const ReplyCharsetEvidence& evidence,
                             const AnsiCodePage& ansi);

} // namespace torvik
