#include <gtest/gtest.h>

#include "ui/LinkAddress.h"

namespace torvik {
namespace {

TEST(AddressToOpen, WebAddressesOpenWithTheirSchemeOrHttp) {
    const struct {
        const wchar_t* text;
        const wchar_t* opened;
    } cases[] = {
        {L"http://example.org/x", L"http://example.org/x"},
        {L"https://example.org/x", L"https://example.org/x"},
        {L"HTTPS://Example.org/", L"HTTPS://Example.org/"},
        {L"example.org/x", L"http://example.org/x"},
        {L"example.org", L"http://example.org"},
        {L"  example.org/x \r\n", L"http://example.org/x"},
        {L"example.org:8080/dl", L"http://example.org:8080/dl"},
        {L"http://[::1]:1245/VersionChecker.aspx", L"http://[::1]:1245/VersionChecker.aspx"},
        {L"example.org/get?from=http://mirror.example/a", // the old rule dropped this "http://"
         L"http://example.org/get?from=http://mirror.example/a"},
        {L"https://example.org/r?u=https://a.example#s",
         L"https://example.org/r?u=https://a.example#s"},
        {L"example.org?q=a:b", L"http://example.org?q=a:b"},
        {L"example.org/%22x%22", L"http://example.org/%22x%22"},
        {L"b\u00fccher.example/\u00e4", L"http://b\u00fccher.example/\u00e4"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AddressToOpen(c.text), std::optional<std::wstring>(c.opened)) << c.text;
    }
}

TEST(AddressToOpen, NothingButAWebAddressIsEverOpened) {
    const wchar_t* const refused[] = {
        L"",
        L"   ",
        // Other schemes, in any letter case, with or without slashes.
        L"javascript:alert(1)",
        L"JavaScript://%0aalert(1)",
        L"file:///C:/Windows/System32/calc.exe",
        L"FILE://server/share/setup.exe",
        L"ms-settings:privacy",
        L"mailto:a@example.org",
        L"ftp://example.org/x",
        L"data:text/html,<b>x</b>",
        L"http:/example.org",
        L"http:example.org",
        L"https:",
        // Paths and UNC names.
        L"C:\\Windows\\notepad.exe",
        L"C:/Windows/notepad.exe",
        L"\\\\server\\share\\setup.exe",
        L"//server/share/setup.exe",
        L"/etc/passwd",
        L"..\\setup.exe",
        L"setup.exe\\..\\x",
        // A scheme behind "http://", or no host at all.
        L"http://",
        L"http:///x",
        L"http://javascript:alert(1)",
        L"http://http://example.org",
        L"https://example.org:/x",
        L"https://example.org:80x/",
        L"http://:80/x",
        L"http://[::1/x",
        L"http://[]/x",
        L"?q=1",
        // User information hides the real host.
        L"http://www.bank.example@evil.example/",
        L"user:pass@example.org",
        // Blanks, controls and invisible characters inside.
        L"http://example.org/a b",
        L"http://example.org/a\tb",
        L"http://example.org/\r\nx",
        L"http://example.org/\x7f",
        L"http://example.org/\u0085",
        L"http://example.org/\u00a0",
        L"http://exa\u200bmple.org/",
        L"http://example.org/\u202egpj.exe",
        L"http://example.org/\u2028",
        L"http://example.org/\ufeff",
        L"http://example.org/\u3000",
        // Characters a URL never holds unencoded: the quote would end the
        // argument the browser is started with.
        L"http://example.org/\" --load-extension=x",
        L"http://example.org/<script>",
        L"http://example.org/a|b",
        L"http://example.org/`x`",
        L"http://example.org/{x}",
        L"http://example.org/^",
    };
    for (const wchar_t* text : refused) {
        EXPECT_EQ(AddressToOpen(text), std::nullopt) << text;
    }
    EXPECT_EQ(AddressToOpen(std::wstring_view(L"http://example.org/\0x", 21)), std::nullopt)
        << "an embedded NUL";
}

} // namespace
} // namespace torvik
