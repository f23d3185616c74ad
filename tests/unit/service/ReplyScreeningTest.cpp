#include <gtest/gtest.h>

#include "service/ReplyScreening.h"

namespace torvik {
namespace {

// The text screening raises, or "" when the reply passes.
std::wstring Raised(const std::wstring& reply, std::wstring* shown = nullptr) {
    ScreeningHooks hooks;
    hooks.showMessage = [shown](const std::wstring& m) {
        if (shown != nullptr) {
            *shown = m;
        }
    };
    try {
        ScreenReply(reply, hooks);
    } catch (const TorvikError& e) {
        return e.Message();
    }
    return L"";
}

TEST(ScreenReply, EveryMarkerInItsOrder) {
    const std::wstring longTail(600, L'x');
    const struct {
        std::wstring reply;
        std::wstring raised;
    } cases[] = {
        {L"[results]\r\nA|a.exe|1|2|u|c|1|0\r\n[total_points]\r\n3", L""},
        {L"<html><title>Server Error in '/' Application.</title>...",
         L"ASPX error: Server Error in '/' Application."},
        {L"<title>Runtime &quot;x&quot;</title> Server Error", L"ASPX error: Runtime \"x\""},
        {L"</title><title>Server Error", L"ASPX error: "},
        {L"Server Error without a title", L"Server Error without a title"},
        {L"Server Error and Usage statistics", L""},
        {L"<h2>HTTP Error 400. The request hostname is invalid.</h2>",
         L"HTTP Error 400. The request hostname is invalid.</h2>"},
        {L"HTTP Error " + longTail, (L"HTTP Error " + longTail).substr(0, 500)},
        {L"[results]\r\nerror: unknown mode\r\nmore", L"error: unknown mode\r\nmore"},
        {L"comment with error: inside", L"error: inside"},
        {L"warning: database busy", L"warning: database busy"},
        {L"warning: x\r\nTEXT:SQLNVARCHAR:255", L""},
        {L"warning: x text:char:255", L""},
        {L"<b>Warning</b>: Division by zero in x.php", L"warning</b>: division by zero in x.php"},
        {L"<B>ERROR</B>: bad", L"error</b>: bad"},
        // "error:" comes before "warning:" in the order of the checks.
        {L"warning: a error: b", L"error: b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Raised(c.reply), c.raised) << std::string(c.reply.begin(), c.reply.end());
    }
    EXPECT_EQ(GetCustomError(L"x error:" + std::wstring(300, L'y')).size(), 200u);
    EXPECT_EQ(GetCustomError(L"no marker"), L"no marker");
}

TEST(ScreenReply, TheHiddenDetailsPageOnlyShowsAMessageAndTheDebugCopyComesFirst) {
    std::wstring shown;
    EXPECT_EQ(Raised(L"to prevent the details of the application error from being viewed", &shown),
              L"");
    EXPECT_EQ(shown, L"A runtime error occurred, but the currect settings in web.config do not "
                     L"allow details to be shown.\rTo view details disable customErrors in "
                     L"web.config. <customErrors mode=\"Off\"/> ");
    std::wstring copy;
    ScreeningHooks hooks;
    hooks.writeDebugCopy = [&copy](const std::wstring& text) { copy = text; };
    EXPECT_THROW(ScreenReply(L"error: x", hooks), TorvikError);
    EXPECT_EQ(copy, L"error: x");
}

} // namespace
} // namespace torvik
