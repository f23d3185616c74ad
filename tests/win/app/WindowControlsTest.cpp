#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/Controls.h"
#include "app/TestHost.h"
#include "app/WindowControls.h"
#include "common/DateText.h"

namespace torvik::app {
namespace {

// Each kind of control the settings store reads and writes, through its own
// window messages.
TEST(WindowControls, EveryKindRoundTripsThroughItsControl) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&classes);
    wintest::TestHost host;
    ASSERT_TRUE(host.Create(400, 300));
    WindowControls controls;
    auto add = [&](const wchar_t* name, const wchar_t* cls, DWORD style) {
        const HWND hwnd = CreateChild(cls, style, host.Handle(), L"", 0);
        ::MoveWindow(hwnd, 0, 0, 150, 80, FALSE);
        controls.Add(name, hwnd);
        return hwnd;
    };
    add(L"edName", L"EDIT", ES_AUTOHSCROLL);
    add(L"meNotes", L"EDIT", ES_MULTILINE);
    add(L"rbOne", L"BUTTON", BS_AUTORADIOBUTTON);
    add(L"cbKind", L"COMBOBOX", CBS_DROPDOWNLIST);
    add(L"dtFrom", DATETIMEPICK_CLASSW, 0);
    add(L"panel", L"STATIC", 0);

    EXPECT_EQ(controls.Find(L"EDNAME"), ControlClass::Edit);
    EXPECT_EQ(controls.Find(L"meNotes"), ControlClass::Memo);
    EXPECT_EQ(controls.Find(L"rbOne"), ControlClass::RadioButton);
    EXPECT_EQ(controls.Find(L"cbKind"), ControlClass::ComboBox);
    EXPECT_EQ(controls.Find(L"dtFrom"), ControlClass::DatePicker);
    EXPECT_EQ(controls.Find(L"panel"), ControlClass::Other);
    EXPECT_EQ(controls.Find(L"missing"), std::nullopt);

    controls.SetValue(L"edName", 15.25);
    EXPECT_EQ(controls.Text(L"edName"), L"15.25");
    EXPECT_DOUBLE_EQ(controls.Value(L"edName"), 15.25);
    controls.SetText(L"edName", L"not a number");
    EXPECT_DOUBLE_EQ(controls.Value(L"edName"), 0);

    controls.SetLines(L"meNotes", {L"first", L"", L"third"});
    EXPECT_EQ(controls.Lines(L"meNotes"), (std::vector<std::wstring>{L"first", L"", L"third"}));

    controls.SetChecked(L"rbOne", true);
    EXPECT_TRUE(controls.Checked(L"rbOne"));
    EXPECT_FALSE(host.Received(0, BN_CLICKED)) << "no click handler runs";

    controls.SetLines(L"cbKind", {L"Popularity", L"Name"});
    controls.SetItemIndex(L"cbKind", 1);
    EXPECT_EQ(controls.Lines(L"cbKind"), (std::vector<std::wstring>{L"Popularity", L"Name"}));
    EXPECT_EQ(controls.ItemIndex(L"cbKind"), 1);

    const double date = EncodeDateTime({2026, 12, 10, 14, 30, 5, 0});
    controls.SetDate(L"dtFrom", date);
    EXPECT_EQ(DateTimeToStrX(controls.Date(L"dtFrom")).substr(0, 10), L"2026-12-10");

    controls.SetBound(L"panel", Bound::Left, 30);
    controls.SetBound(L"panel", Bound::Height, 44);
    EXPECT_EQ(controls.BoundOf(L"panel", Bound::Left), 30);
    EXPECT_EQ(controls.BoundOf(L"panel", Bound::Top), 0);
    EXPECT_EQ(controls.BoundOf(L"panel", Bound::Width), 150);
    EXPECT_EQ(controls.BoundOf(L"panel", Bound::Height), 44);
}

} // namespace
} // namespace torvik::app
