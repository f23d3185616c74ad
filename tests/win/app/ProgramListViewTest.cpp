#include <windows.h>

#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "app/ProgramListView.h"
#include "app/TestHost.h"
#include "platform/win32/Win32Locale.h"

namespace torvik::app {
namespace {

using ::testing::ElementsAre;
using Names = std::vector<std::wstring>;

constexpr int kListId = 300;

using wintest::PumpUntil;

class ProgramListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(wintest::ListViewClassesReady());
        Add(L"Gone", ProgramStatus::Missing, L"1.0.0 build:0");
        Add(L"Excluded Tool", ProgramStatus::Excluded, L"3.1.0 build:2");
        Add(L"Fresh Install", ProgramStatus::New, L"0.9.0 build:1");
        Add(L"Media Player", ProgramStatus::NewerVersion, L"11.0.0 build:5", L"12.0.0 build:1");
        Add(L"Current Editor", ProgramStatus::UpToDate, L"5.0.0 build:0", L"5.0.0 build:0");
        Add(L"My Own Tool", ProgramStatus::OwnSubmission, L"2.2.0 build:0");
        Add(L"Tom & Jerry", ProgramStatus::NotInDatabase, L"1.0.0 build:7", L"?");
        Add(L"Unversioned Tool", ProgramStatus::NoVersionInfo, L"--", L"2.0.0 build:0");
        records[3]->ReceivedNotes = L"runs well";
        records[3]->ReceivedUrl = L"www.example.org/player/";
        records[4]->ReceivedUrl = L"https://example.org/editor/";

        ASSERT_TRUE(host.Create(760, 230));
        ASSERT_TRUE(view.Create(host.Handle(), kListId, records, compare));
        ::MoveWindow(view.Handle(), 8, 8, 744, 214, TRUE);
        view.iconFor = [](const TProgramRecord&) { return ::LoadIconW(nullptr, IDI_APPLICATION); };
        view.onProgramSelected = [this](const TProgramRecord& r) { announced.push_back(&r); };
        view.SetRecheckText(L"recheck later");
        view.Refill();
    }

    void Add(const wchar_t* name, int32_t status, const wchar_t* version,
             const wchar_t* serverVersion = L"") {
        auto& r = *records.emplace_back(std::make_unique<TProgramRecord>());
        r.ProgramName = name;
        r.TargetExePath = L"C:\\Program Files\\" + std::wstring(name) + L"\\";
        r.TargetExeFilename = L"app.exe";
        r.Status = status;
        r.TargetExeVersion = version;
        r.ServerVersion = serverVersion;
    }

    Names Shown() const {
        Names names;
        for (int row = 0; row < view.Count(); ++row) {
            names.push_back(Cell(row, 0));
        }
        return names;
    }

    // A cell as the control gives it to anyone who asks (its display request).
    std::wstring Cell(int row, int column) const {
        wchar_t text[128] = L"";
        ListView_GetItemText(view.Handle(), row, column, text, 128);
        return text;
    }

    void ClickHeader(int column) {
        NMLISTVIEW click{};
        click.hdr.hwndFrom = view.Handle();
        click.hdr.idFrom = kListId;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        ::SendMessageW(host.Handle(), WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&click));
    }

    int SortMark(int column) const {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(view.Header(), column, &item);
        return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
    }

    void Select(int row) {
        ListView_SetItemState(view.Handle(), row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }

    // Changes the filter and waits for the rebuild it leads to.
    template <typename Change> bool Filtered(Change change, int expectedCount) {
        change();
        return PumpUntil([&] { return view.Count() == expectedCount; });
    }

    ProgramLists::RecordList records;
    win32::Win32TextCompare compare;
    wintest::TestHost host;
    ProgramListView view;
    std::vector<const TProgramRecord*> announced;
};

TEST_F(ProgramListViewTest, ShowsTheFilteredProgramsWithTheirCells) {
    // Excluded, up-to-date and missing programs are hidden at first; a
    // program without a version stays, as the service knows one.
    EXPECT_THAT(Shown(), ElementsAre(L"Fresh Install", L"Media Player", L"My Own Tool",
                                     L"Tom & Jerry", L"Unversioned Tool"));
    EXPECT_EQ(view.ColumnCount(), 6);
    const Names mediaPlayer{L"Media Player",   L"C:\\Program Files\\Media Player\\app.exe",
                            L"11.0.0 build:5", L"12.0.0 build:1",
                            L"runs well",      L" http://www.example.org/player"};
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(Cell(1, column), mediaPlayer[static_cast<size_t>(column)]) << column;
    }
    EXPECT_EQ(Cell(3, 3), L"recheck later");
    EXPECT_EQ(Cell(4, 3), L"");

    ASSERT_TRUE(Filtered([&] { view.SetFilterText(L"tool \"-my own\""); }, 1));
    EXPECT_THAT(Shown(), ElementsAre(L"Unversioned Tool"));
    ASSERT_TRUE(Filtered(
        [&] {
            view.SetFilterText(L"");
            view.SetSwitches({.hideExcluded = false, .hideUpToDate = false});
        },
        7));
    EXPECT_EQ(Cell(3, 3), L"up to date");
    EXPECT_EQ(Cell(3, 5), L" https://example.org/editor");
}

TEST_F(ProgramListViewTest, HeaderClicksSortBothWaysAndMoveTheMark) {
    ClickHeader(3); // "Database status"
    EXPECT_THAT(Shown(), ElementsAre(L"Fresh Install", L"Media Player", L"My Own Tool",
                                     L"Tom & Jerry", L"Unversioned Tool"));
    EXPECT_EQ(SortMark(3), HDF_SORTUP);
    ClickHeader(3);
    EXPECT_THAT(Shown(), ElementsAre(L"Unversioned Tool", L"Tom & Jerry", L"My Own Tool",
                                     L"Media Player", L"Fresh Install"));
    EXPECT_EQ(SortMark(3), HDF_SORTDOWN);
    ClickHeader(0); // "Program"
    EXPECT_THAT(Shown(), ElementsAre(L"Fresh Install", L"Media Player", L"My Own Tool",
                                     L"Tom & Jerry", L"Unversioned Tool"));
    EXPECT_EQ(SortMark(0), HDF_SORTUP);
    EXPECT_EQ(SortMark(3), 0);
    ClickHeader(0);
    EXPECT_EQ(Shown().front(), L"Unversioned Tool");

    // A refill keeps the order the headers asked for.
    ASSERT_TRUE(Filtered([&] { view.SetSwitches({}); }, 7));
    EXPECT_THAT(Shown(),
                ElementsAre(L"Unversioned Tool", L"Tom & Jerry", L"My Own Tool", L"Media Player",
                            L"Fresh Install", L"Excluded Tool", L"Current Editor"));
}

TEST_F(ProgramListViewTest, TheSelectionStaysWithItsProgram) {
    const TProgramRecord* fresh = records[2].get();
    Select(0);
    ASSERT_EQ(view.SelectedRecord(), fresh);
    EXPECT_THAT(announced, ElementsAre(fresh));

    ClickHeader(3);
    ClickHeader(3); // by status, descending: the new program goes to the end
    EXPECT_EQ(view.SelectedRecord(), fresh);
    EXPECT_EQ(view.SelectedIndex(), 4);
    EXPECT_EQ(view.FocusedIndex(), 4);
    EXPECT_TRUE(view.IsSelected(*fresh));
    EXPECT_FALSE(view.IsSelected(*records[3]));
    EXPECT_EQ(announced.size(), 1u) << "sorting selects quietly";

    // Around a rebuild, as the rescan does.
    view.SaveSelection();
    view.ClearRows();
    view.Refill();
    view.Resort();
    EXPECT_EQ(view.SelectedRecord(), nullptr);
    view.RestoreSelection();
    EXPECT_EQ(view.SelectedRecord(), fresh);

    view.SelectRecordCentered(*records[3]);
    EXPECT_EQ(view.SelectedRecord(), records[3].get());
    EXPECT_EQ(announced.size(), 1u);

    // The filter keeps the row number: the program now there is selected
    // and announced.
    const int row = view.SelectedIndex();
    ASSERT_TRUE(Filtered([&] { view.SetFilterText(L"-media"); }, 4));
    EXPECT_EQ(view.SelectedIndex(), row);
    ASSERT_NE(view.SelectedRecord(), nullptr);
    EXPECT_EQ(announced.back(), view.SelectedRecord());
}

TEST_F(ProgramListViewTest, DrawsEveryStatusInItsColours) {
    ASSERT_TRUE(Filtered([&] { view.SetSwitches({}); }, 7));
    ClickHeader(3); // the excluded program first, the new one second
    Select(1);
    // Pixels are read from the screen: the window must be on it, with or
    // without screenshots being kept.
    ::ShowWindow(host.Handle(), SW_SHOW);
    ::SetFocus(view.Handle());
    wintest::SaveWindowShot(host.Handle(), L"ProgramListView");
    // The selected row's background, at the right end of the row.
    RECT row{};
    ListView_GetItemRect(view.Handle(), 1, &row, LVIR_BOUNDS);
    RECT excluded{};
    ListView_GetItemRect(view.Handle(), 0, &excluded, LVIR_BOUNDS);
    ::UpdateWindow(view.Handle());
    const HDC dc = ::GetDC(view.Handle());
    const COLORREF selected = ::GetPixel(dc, 700, (row.top + row.bottom) / 2);
    const COLORREF excludedBackground = ::GetPixel(dc, 700, (excluded.top + excluded.bottom) / 2);
    ::ReleaseDC(view.Handle(), dc);
    EXPECT_GE(row.bottom - row.top, 16) << "rows fit the icons";
    EXPECT_EQ(selected, RGB(0x00, 0x00, 0x80));
    EXPECT_EQ(excludedBackground, RGB(0xEF, 0xEF, 0xEF));
}

} // namespace
} // namespace torvik::app
