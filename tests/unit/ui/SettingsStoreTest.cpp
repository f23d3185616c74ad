#include <gtest/gtest.h>

#include <map>

#include "common/Text.h"
#include "fakes/FakeControls.h"
#include "ui/MainWindowSettings.h"
#include "ui/SettingsStore.h"

namespace torvik {
namespace {

using testing::AddMainWindowControls;
using testing::FakeControls;

const std::vector<std::wstring>& kMainWindowList = MainWindowPropertiesList();

class SettingsStoreTest : public ::testing::Test {
protected:
    SettingsContext Context(FakeControls& controls) {
        return {controls, [this](const std::wstring& m) { messages.push_back(m); }, 46000};
    }
    std::vector<std::wstring> messages;
};

TEST_F(SettingsStoreTest, TheMainWindowsValuesRoundTrip) {
    FakeControls saved;
    AddMainWindowControls(saved);
    saved.At(L"lvCustomPrograms").items = {{false, false, L"Portable Tool", {L"D:\\tool.exe"}}};
    saved.At(L"lbProgramExclusions").lines = {L"zip", L"[bracketed]", L""};
    saved.At(L"edUserName").text = L"user_ABCDEFGHIJKLMNOPQRST_2026-12-10 10:00:00.000";
    saved.At(L"cbDisablePrivacyWarning").checked = true;
    saved.At(L"cbAutoCheck").checked = false;
    auto context = Context(saved);
    const auto file = BuildSettingsText(kMainWindowList, context);
    EXPECT_EQ(file[0], L"[lvCustomPrograms.Items]");
    EXPECT_EQ(file[1], L"><checked>0<caption>Portable Tool<FF>D:\\tool.exe");
    EXPECT_EQ(file[2], L"[lbProgramExclusions.Items]");
    EXPECT_EQ(file[3], L">zip");
    EXPECT_EQ(file[4], L">[bracketed]");
    EXPECT_EQ(file.back(), L"0"); // cbDisplayDrivers; no empty last line

    FakeControls loaded;
    AddMainWindowControls(loaded);
    auto loadContext = Context(loaded);
    ApplySettingsText(file, kMainWindowList, loadContext);
    EXPECT_EQ(loaded.At(L"lvCustomPrograms").items, saved.At(L"lvCustomPrograms").items);
    EXPECT_EQ(loaded.At(L"lbProgramExclusions").lines,
              (std::vector<std::wstring>{L"zip", L"[bracketed]"}));
    EXPECT_EQ(loaded.At(L"edUserName").text, saved.At(L"edUserName").text);
    EXPECT_TRUE(loaded.At(L"cbDisablePrivacyWarning").checked);
    EXPECT_FALSE(loaded.At(L"cbAutoCheck").checked);
    EXPECT_TRUE(loaded.At(L"cbFirstRun").checked);
    EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsStoreTest, MissingEntriesKeepTheDesignDefaults) {
    FakeControls controls;
    AddMainWindowControls(controls);
    auto context = Context(controls);
    ApplySettingsText({L"[edUserName.Text]", L">someone"}, kMainWindowList, context);
    EXPECT_EQ(controls.At(L"edUserName").text, L"someone");
    EXPECT_TRUE(controls.At(L"cbAutoCheck").checked);
    EXPECT_TRUE(controls.At(L"cbFirstRun").checked);
    ApplySettingsText({}, kMainWindowList, context); // no file at all
    EXPECT_TRUE(controls.At(L"cbAutoCheck").checked);

    // A project document sets every listed control, from an empty value
    // when the file has no entry for it.
    controls.At(L"lvCustomPrograms").items = {{false, false, L"Tool", {L"C:\\tool.exe"}}};
    ApplySettingsText({L"[edUserName.Text]", L">someone else"}, kMainWindowList, context,
                      MissingEntries::SetEmpty);
    EXPECT_EQ(controls.At(L"edUserName").text, L"someone else");
    EXPECT_FALSE(controls.At(L"cbAutoCheck").checked);
    EXPECT_TRUE(controls.At(L"lvCustomPrograms").items.empty());
}

TEST_F(SettingsStoreTest, EveryPropertyKindReadsBack) {
    FakeControls controls;
    controls.Add(L"cbMode", ControlClass::ComboBox).itemIndex = 2;
    controls.Add(L"memoNotes", ControlClass::Memo).lines = {L"one", L"two"};
    controls.Add(L"dtFrom", ControlClass::DatePicker).date = 45000.5;
    controls.Add(L"edCount", ControlClass::NumericEdit).value = 15;
    controls.Add(L"panel", ControlClass::Other).bounds = {
        {Bound::Left, 10}, {Bound::Top, 20}, {Bound::Width, 300}, {Bound::Height, 40}};
    controls.Add(L"lvList", ControlClass::ListView).widths = {200, 150, 0};
    const std::vector<std::wstring> list = {
        L"cbMode.ItemIndex", L"memoNotes.Lines", L"dtFrom.Date",  L"edCount.Value", L"panel.Left",
        L"panel.Top",        L"panel.Width",     L"panel.Height", L"lvList.Columns"};
    auto context = Context(controls);
    const auto file = BuildSettingsText(list, context);
    EXPECT_EQ(file[6], L"2023-03-15 12:00:00.000");
    EXPECT_EQ(file[8], L"15.00000");
    EXPECT_EQ(file.back(), L"200,150,0");

    FakeControls fresh = controls;
    for (auto& [name, c] : fresh.controls) {
        const ControlClass cls = c.cls;
        c = FakeControls::Control();
        c.cls = cls;
        c.widths = {1, 1, 1};
    }
    auto freshContext = Context(fresh);
    ApplySettingsText(file, list, freshContext);
    EXPECT_EQ(fresh.At(L"cbMode").itemIndex, 2);
    EXPECT_EQ(fresh.At(L"memoNotes").lines, (std::vector<std::wstring>{L"one", L"two"}));
    EXPECT_DOUBLE_EQ(fresh.At(L"dtFrom").date, 45000.5);
    EXPECT_DOUBLE_EQ(fresh.At(L"edCount").value, 15);
    EXPECT_EQ(fresh.At(L"panel").bounds, controls.At(L"panel").bounds);
    EXPECT_EQ(fresh.At(L"lvList").widths, (std::vector<int>{200, 150, 1})); // 0 keeps the width
    EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsStoreTest, MalformedValuesGiveTheirDefaults) {
    FakeControls controls;
    controls.Add(L"cbMode", ControlClass::ComboBox).itemIndex = 3;
    controls.Add(L"dtFrom", ControlClass::DatePicker).date = 1;
    controls.Add(L"edCount", ControlClass::NumericEdit).value = 7;
    controls.Add(L"panel", ControlClass::Other);
    controls.Add(L"cbOn", ControlClass::CheckBox).checked = true;
    auto context = Context(controls);
    ApplySettingsText(
        {L"[cbMode.ItemIndex]", L"", L"[dtFrom.Date]", L"yesterday", L"[edCount.Value]", L"1,5",
         L"[panel.Left]", L"left", L"[cbOn.Checked]", L"yes"},
        {L"cbMode.ItemIndex", L"dtFrom.Date", L"edCount.Value", L"panel.Left", L"cbOn.Checked"},
        context);
    EXPECT_EQ(controls.At(L"cbMode").itemIndex, -1);
    EXPECT_DOUBLE_EQ(controls.At(L"dtFrom").date, 46000); // today
    EXPECT_DOUBLE_EQ(controls.At(L"edCount").value, 0);
    EXPECT_EQ(controls.BoundOf(L"panel", Bound::Left), 0);
    EXPECT_FALSE(controls.At(L"cbOn").checked); // only "1" checks
}

TEST_F(SettingsStoreTest, UnknownControlsClassesAndPropertiesAreReported) {
    FakeControls controls;
    controls.Add(L"edName", ControlClass::Edit).text = L"x";
    auto context = Context(controls);
    const auto file = BuildSettingsText(
        {L"edMissing.Text", L"edName.Items", L"edName.Columns", L"edName.Colour", L"no dot", L"  "},
        context);
    EXPECT_EQ(messages, (std::vector<std::wstring>{
                            L"Component edMissing not found", L"Unknown class for object edName",
                            L"Unknown LV class for object: edName, class: Edit",
                            L"Unknown property: Colour"}));
    // The entries are written, empty; the last empty line is dropped.
    EXPECT_EQ(file, (std::vector<std::wstring>{L"[edName.Items]", L"", L"[edName.Columns]", L"",
                                               L"[edName.Colour]"}));
    // Reading column widths into something that is not a list view sets nothing.
    messages.clear();
    ApplySettingsText({L"[edName.Columns]", L"40,50"}, {L"edName.Columns"}, context);
    EXPECT_EQ(messages,
              std::vector<std::wstring>{L"Unknown LV class for object: edName, class: Edit"});
    EXPECT_TRUE(controls.At(L"edName").widths.empty());
}

} // namespace
} // namespace torvik
