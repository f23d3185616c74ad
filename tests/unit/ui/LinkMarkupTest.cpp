#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/LinkMarkup.h"

namespace torvik {
namespace {

// Every character is as wide as the font size (one more in bold); a line is
// twice the size high.
class FixedMeasurer : public MarkupMeasurer {
public:
    int Width(std::wstring_view text, const MarkupStyle& style) override {
        return static_cast<int>(text.size()) * (style.size + (style.bold ? 1 : 0));
    }
    int Height(const MarkupStyle& style) override { return 2 * style.size; }
};

MarkupFrame Frame(bool disabledLook = false) {
    MarkupFrame frame;
    frame.width = 200;
    frame.style.size = 10;
    frame.disabledLook = disabledLook;
    return frame;
}

// A run as "text@x,y" and its marks, so a table can spell out a layout.
std::wstring Describe(const MarkupRun& run) {
    std::wstring out = run.text + L"@" + std::to_wstring(run.x) + L"," + std::to_wstring(run.y);
    out += run.style.bold ? L" b" : L"";
    out += run.style.italic ? L" i" : L"";
    out += run.style.underline ? L" u" : L"";
    out += run.style.strikeOut ? L" s" : L"";
    if (run.style.size != 10) {
        out += L" size" + std::to_wstring(run.style.size);
    }
    if (run.link) {
        out += L" link(" + run.href + L")";
    }
    if (run.background) {
        out += L" bg" + std::to_wstring(*run.background);
    }
    EXPECT_EQ(run.width, FixedMeasurer().Width(run.text, run.style)) << out;
    return out;
}

std::vector<std::wstring> Runs(const std::wstring& text, bool disabledLook = false) {
    FixedMeasurer measurer;
    std::vector<std::wstring> out;
    for (const auto& run : LayoutMarkup(text, Frame(disabledLook), measurer).runs) {
        out.push_back(Describe(run));
    }
    return out;
}

TEST(LinkMarkup, CaptionsAskingForTheLinkLookBecomeLinks) {
    const struct {
        const wchar_t* caption;
        const wchar_t* shown;
        bool link;
    } cases[] = {
        {L"Back", L"Back", false},
        {L"<x>Back", L"<a href=><u><x>Back", true},
        {L"<X>Back", L"<X>Back", false},
        {L"<a href='x'>site</a>", L"<a href='x'>site</a>", true},
        {L"<A HREF='x'>site</A>", L"<A HREF='x'>site</A>", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LinkDisplayText(c.caption), c.shown) << c.caption;
        EXPECT_EQ(IsLinkText(LinkDisplayText(c.caption)), c.link) << c.caption;
    }
}

TEST(LinkMarkup, TagsDecideTheRuns) {
    const struct {
        const wchar_t* text;
        std::vector<std::wstring> runs;
    } cases[] = {
        // Entities, in any letter case; "<" and ">" only inside the text.
        {L"&amp;&QUOT;&reg;&Copy;&trade;&euro;&nbsp;x", {L"&\"\u00AE\u00A9\u2122\u20AC x@0,0"}},
        {L"a &lt;&lt; b &GT;", {L"a << b >@0,0"}},
        {L"<a href=><u>&lt;&lt; Back", {L"<< Back@0,0 u link()"}},
        {L"<a href=><u><x>Back", {L"Back@0,0 u link()"}},
        // Nesting; bold characters are wider.
        {L"<b>B<i>BI</b>I</i>N", {L"B@0,0 b", L"BI@11,0 b i", L"I@33,0 i", L"N@43,0"}},
        {L"<B>x</B>y<S>z</S><U>w</U>", {L"x@0,0 b", L"y@11,0", L"z@21,0 s", L"w@31,0 u"}},
        // Link targets; the end of a link gives back the font before it.
        {L"<a href=\"http://x/a b\">go</a> on", {L"go@0,0 link(http://x/a b)", L" on@20,0"}},
        {L"<b><a href='t'><i>x</a>y", {L"x@0,0 b i link(t)", L"y@11,0 b"}},
        {L"<A HREF=page.htm title=x>go", {L"go@0,0 link(page.htm)"}},
        {L"<a name=top>x", {L"x@0,0"}},
        // A tag without ">" ends after its first character.
        {L"a<b c", {L"a@0,0", L" c@10,0 b"}},
        {L"a<", {L"a@0,0"}},
        // Lines; unknown tags are dropped.
        {L"ab<BR>c\r\nd<br>e<p>f", {L"ab@0,0", L"cd@0,20", L"e@0,40", L"f@10,40"}},
        {L"a<ind 50>b<IND=5>c<ind x>d", {L"a@0,0", L"b@50,0", L"c@5,0", L"d@15,0"}},
        // Alignment holds from the next line on, with the line's own width.
        {L"<align right>ab<br>cd", {L"ab@0,0", L"cd@180,20"}},
        {L"<ALIGN CENTER><br>abcd", {L"abcd@80,20"}},
        {L"<align=right><br><b>ab</b>c<align><br>d", {L"ab@168,20 b", L"c@190,20", L"d@0,40"}},
        {L"<align right><br>abcdefghijklmnopqrstuvwxyz", {L"abcdefghijklmnopqrstuvwxyz@0,20"}},
        // FONT: background and size until /FONT.
        {L"<b><font size=4 bgcolor=#FF>big</font>n", {L"big@0,0 b size20 bg255", L"n@63,0 b"}},
        {L"<font bgcolor=#0000FF color=#00FF00>a<font bgcolor=ClNone>b<font bgcolor=65280>c",
         {L"a@0,0 bg255", L"b@10,0", L"c@20,0 bg65280"}},
        {L"<font size=6>a<font size=big>b<font bgcolor=#xyz>c",
         {L"a@0,0 size30", L"b@30,0", L"c@40,0"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Runs(c.text), c.runs) << c.text;
    }
}

TEST(LinkMarkup, DisabledLookKeepsTheLabelsSize) {
    EXPECT_EQ(Runs(L"<font size=6 bgcolor=#FF>a", true), std::vector<std::wstring>{L"a@0,0 bg255"});
}

TEST(LinkMarkup, RulesCrossTheWholeWidthBelowTheirLine) {
    FixedMeasurer measurer;
    const struct {
        const wchar_t* text;
        int y;
        int thickness;
        const wchar_t* next; // the run after the rule
        int height;
    } cases[] = {
        {L"a<hr size=3>b", 20, 3, L"b@0,20", 41},
        {L"a<HR>b", 20, 1, L"b@0,40", 61},
        {L"<br><hr size=z>b", 40, 1, L"b@0,40", 61},
    };
    for (const auto& c : cases) {
        const MarkupLayout layout = LayoutMarkup(c.text, Frame(), measurer);
        ASSERT_EQ(layout.rules.size(), 1u) << c.text;
        EXPECT_EQ(layout.rules[0].y, c.y) << c.text;
        EXPECT_EQ(layout.rules[0].width, 200) << c.text;
        EXPECT_EQ(layout.rules[0].thickness, c.thickness) << c.text;
        ASSERT_FALSE(layout.runs.empty()) << c.text;
        EXPECT_EQ(Describe(layout.runs.back()), c.next) << c.text;
        EXPECT_EQ(layout.height, c.height) << c.text;
    }
}

TEST(LinkMarkup, MeasuresTheWidestLineAndTheHeightReached) {
    FixedMeasurer measurer;
    const struct {
        const wchar_t* text;
        int width;
        int height;
    } cases[] = {
        {L"", 0, 21},
        {L"ab<br>abcd<br>x", 40, 61},
        {L"<b>abc</b><br>", 33, 21},
        {L"<align right>ab<br>ab", 20, 41}, // measured with no room to the right
        {L"<ind 30>ab", 50, 21},
        {L"<font size=4>ab", 40, 41},
    };
    for (const auto& c : cases) {
        MarkupFrame frame = Frame();
        frame.width = 0;
        const MarkupLayout layout = LayoutMarkup(c.text, frame, measurer);
        EXPECT_EQ(layout.width, c.width) << c.text;
        EXPECT_EQ(layout.height, c.height) << c.text;
    }
}

} // namespace
} // namespace torvik
