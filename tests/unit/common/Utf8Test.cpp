#include <gtest/gtest.h>

#include "common/Utf8.h"

namespace torvik {
namespace {

TEST(Utf8, RoundTripsEveryPlane) {
    std::wstring text = L"a\u00fc\u20ac";
    AppendCodePoint(text, 0x1F600);
    const std::string bytes = StringToUtf8(text);
    EXPECT_EQ(bytes, "a\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToString(bytes), text);
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
    struct Case {
        std::string bytes;
        std::wstring text;
    };
    const Case cases[] = {
        {"\xFF", L"\uFFFD"},
        {"a\xC3", L"a\uFFFD"},         // truncated sequence at the end
        {"\xC0\xAF", L"\uFFFD"},       // overlong form of "/"
        {"\xED\xA0\x80x", L"\uFFFDx"}, // encoded surrogate
        {"\xE2\x28\xA1", L"\uFFFD(\uFFFD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToString(c.bytes), c.text) << c.bytes;
    }
}

} // namespace
} // namespace torvik
