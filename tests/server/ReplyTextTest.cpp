#include <gtest/gtest.h>

#include "server/ReplyText.h"

namespace torvik::server {
namespace {

TEST(ReplyText, SectionsAndRecordsWithCrLf) {
    ReplyText reply;
    reply.Section("results");
    reply.Record({"Demo App", "app.exe", "1"});
    reply.Line("x");
    EXPECT_EQ(reply.Text(), "[results]\r\nDemo App|app.exe|1\r\nx\r\n");
    EXPECT_EQ(ErrorReply("unknown mode x"), "error: unknown mode x\r\n");
}

// Every marker the program's screening reacts to, in any letter case, is
// seen, and defused in free texts without losing the rest of the text.
TEST(ReplyText, ErrorMarkersAreSeenAndDefused) {
    const struct {
        const char* text;
        bool marker;
        const char* field;
    } cases[] = {
        {"Fixes an error: crash at start", true, "Fixes an error - crash at start"},
        {"WARNING: beta", true, "WARNING - beta"},
        {"Server Error in '/' Application", true, "Server-Error in '/' Application"},
        {"http error 400", true, "http-error 400"},
        {"<b>Error</b>: x", true, "<b>Error</b> - x"},
        {"warning</B>:y", true, "warning</B> -y"},
        {"prevent the details of the application error", true,
         "prevent the details of the application-error"},
        {"error:warning:", true, "error -warning -"},
        {"a|b\r\nc", false, "a/b  c"},
        {"No errors here", false, "No errors here"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HoldsErrorMarker(c.text), c.marker) << c.text;
        EXPECT_EQ(ReplyField(c.text), c.field) << c.text;
        EXPECT_FALSE(HoldsErrorMarker(ReplyField(c.text))) << c.text;
    }
}

// Users' texts that stand as whole lines: a section header cannot begin
// one, and line breaks travel as a mark.
TEST(ReplyText, UsersTextsStayInsideTheirLines) {
    const struct {
        const char* text;
        const char* line;
        const char* broken;
    } cases[] = {
        {"[reply]", "(reply]", "[reply]"},
        {" [x", " [x", " [x"},
        {"a\r\nb\rc\nd\n\re", "a  b c d  e", "a<br>b<br>c<br>d<br><br>e"},
        {"[error: x\r\n", "(error - x  ", "[error: x<br>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplyLineText(c.text), c.line) << c.text;
        EXPECT_EQ(LineBreaksAs(c.text, "<br>"), c.broken) << c.text;
    }
}

} // namespace
} // namespace torvik::server
