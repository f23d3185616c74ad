#include <gtest/gtest.h>

#include "common/Text.h"
#include "protocol/IniSections.h"
#include "ui/SettingsText.h"

namespace torvik {
namespace {

TEST(SettingsText, EscapedValuesSurviveTheSectionFile) {
    const struct {
        const wchar_t* value;
        const wchar_t* escaped;
        const wchar_t* back; // trimmed: outer blank lines and blanks are not kept
    } cases[] = {
        {L"", L"", L""},
        {L"user_ABC", L">user_ABC", L"user_ABC"},
        {L"[not a header]\r\n\r\nlast", L">[not a header]\r\n>\r\n>last",
         L"[not a header]\r\n\r\nlast"},
        {L"  padded\n>quoted  \r\n", L">padded\r\n>>quoted", L"padded\r\n>quoted"},
        {L"1", L">1", L"1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Escape(c.value), c.escaped) << c.value;
        EXPECT_EQ(Unescape(Escape(c.value)), c.back) << c.value;
        // Read back through a section of the file, as the store does.
        std::vector<std::wstring> file{L"[a.Text]"};
        for (const auto& line : TextToLines(Escape(c.value))) {
            file.push_back(line);
        }
        file.push_back(L"[b.Text]");
        file.push_back(L">other");
        EXPECT_EQ(Unescape(IniSectionValue(L"a.Text", file)), c.back) << c.value;
    }
    // Values never escaped ("Checked", numbers) pass unchanged.
    EXPECT_EQ(Unescape(L"1"), L"1");
    EXPECT_EQ(Unescape(L" 15.00000 "), L"15.00000");
}

TEST(SettingsText, ListViewItemsRoundTrip) {
    const std::vector<ListViewItem> items = {
        {false, false, L"Editor", {L"C:\\Apps\\editor.exe"}},
        {true, false, L"Tool", {L"", L"third"}},
        {false, false, L"Alone", {}},
    };
    const std::wstring text = GetLVAsText(items);
    EXPECT_EQ(text.substr(0, text.find(L"\r\n")),
              L"<checked>0<caption>Editor<FF>C:\\Apps\\editor.exe");
    EXPECT_EQ(SetLVAsText(Unescape(Escape(text))), items);
}

TEST(SettingsText, OlderListViewLinesAndBlankLinesAreRead) {
    const auto items = SetLVAsText(L"Old#1#1<FF> sub \r\n\r\nPlain\r\n<checked>1<caption>Spaced  ");
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0], (ListViewItem{true, true, L"Old", {L"sub"}}));
    EXPECT_EQ(items[1], (ListViewItem{false, false, L"Plain", {}}));
    EXPECT_EQ(items[2], (ListViewItem{true, false, L"Spaced", {}}));
}

TEST(SettingsText, ColumnWidths) {
    EXPECT_EQ(GetColumns({200, 0, 150}), L"200,0,150");
    EXPECT_EQ(GetColumns({}), L"");
    std::vector<int> widths{10, 20, 30, 40};
    SetColumns(L" 200 ,0,x", widths); // 0 and non-numbers keep the width; missing parts too
    EXPECT_EQ(widths, (std::vector<int>{200, 20, 30, 40}));
    SetColumns(L"1,2,3,4,5", widths);
    EXPECT_EQ(widths, (std::vector<int>{1, 2, 3, 4}));
}

TEST(SettingsText, FormPositionIsStoredAndRestored) {
    const WorkArea area{1920, 1040};
    EXPECT_EQ(FormPositionValue({100, 50, 992, 754, false}, area), L"100,50,992,754,Normal");
    // Maximized: the centred rectangle, for when the window is restored.
    EXPECT_EQ(FormPositionValue({-8, -8, 1936, 1056, true}, area), L"120,130,1680,780,Max");
    // Dragged far off the left or top edge: nothing stored.
    EXPECT_EQ(FormPositionValue({-101, 10, 900, 600, false}, area), std::nullopt);
    EXPECT_EQ(FormPositionValue({-100, -100, 900, 600, false}, area), L"-100,-100,900,600,Normal");

    const struct {
        const wchar_t* value;
        FormPlacement placement;
    } cases[] = {
        {L"100,50,992,754,Normal", {100, 50, 992, 754, false}},
        {L"", {0, 0, 1920, 1040, false}}, // no value: the work area
        {L"120,130,1680,780,Max", {0, 0, 1920, 1040, true}},
        {L"-200,10,900,600,Normal", {0, 0, 1920, 1040, true}}, // far off: maximized
        {L"x,10,900,600,Normal", {0, 0, 1920, 1040, true}},
        {L"10,20,0,-5", {10, 20, 0, 0, false}}, // design size kept
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlacementFromValue(c.value, area), c.placement) << c.value;
    }
}

} // namespace
} // namespace torvik
