#include <gtest/gtest.h>

#include "inventory/UrlText.h"

namespace torvik {
namespace {

TEST(TrimUrl, GivesTheDisplayFormOfReceivedUrls) {
    const struct {
        std::wstring url, shown;
    } cases[] = {
        {L"  http://example.org/tools/  ", L"example.org/tools"},
        {L"https://example.org/", L"https://example.org"},
        {L"ftp://example.org/x", L"ftp://example.org/x"},
        {L"HTTP://example.org/", L"HTTP://example.org"}, // exact case only
        {L"http://a/http://b", L"a/b"},                  // every occurrence
        {L"example.org//", L"example.org/"},             // one "/" only
        {L"http:// example.org /", L"example.org "},     // trimmed before the "/" goes
        {L"/", L""},
        {L"", L""},
        {L"\thttp://x.org\r\n", L"x.org"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrimUrl(c.url), c.shown) << c.url;
    }
}

} // namespace
} // namespace torvik
