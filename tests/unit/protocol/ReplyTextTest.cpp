#include <gtest/gtest.h>

#include "protocol/ReplyText.h"

namespace torvik {
namespace {

TEST(ReplyText, CharsetEvidenceIsCaseSensitive) {
    const std::string utf8 = "\xc3\xbc";
    const Latin1CodePage ansi;
    EXPECT_EQ(DecodeReplyText(utf8, {L"text/plain; charset=utf-8", L""}, ansi), L"\u00fc");
    EXPECT_EQ(DecodeReplyText(utf8, {L"text/plain; charset=UTF-8", L""}, ansi), L"\u00c3\u00bc");
    EXPECT_EQ(DecodeReplyText(std::string("a\0b\0", 4), {L"", L"charset=utf-16"}, ansi), L"ab");
}

TEST(ReplyText, Utf16LittleEndian) {
    const std::string bytes("h\0i\0\0\0x\0\x3d\xd8\x00\xde", 12);
    EXPECT_EQ(Utf16LeToString(bytes, true), L"hi");
    EXPECT_EQ(Utf16LeToString(bytes, false), std::wstring(L"hi") + L'\0' + L"x\U0001F600");
    EXPECT_EQ(Utf16LeToString("a", false), L"");
}

} // namespace
} // namespace torvik
