#include <windows.h>

#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "app/ListViewEx.h"
#include "app/Window.h"
#include "common/Error.h"

namespace torvik::app {
namespace {

using ::testing::ElementsAre;
using Texts = std::vector<std::wstring>;

const Texts kColumns{L"Program:200:L:0", L"Version:100:L:1", L"URL:150:L:2"};

using wintest::PumpUntil;

void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

std::wstring ProgramName(int row) {
    return row == 7 ? L"  DEMO " : L"Program " + std::to_wstring(row);
}

class ListHost : public Window {
public:
    bool Create(const ListViewEx::Options& options) {
        if (!wintest::ListViewClassesReady() ||
            !Window::Create(L"TorvikListViewExTest", WS_OVERLAPPEDWINDOW, 0, L"ListViewEx", 40, 40,
                            520, 460, nullptr)) {
            return false;
        }
        if (!list.Create(Handle(), 100, options)) {
            return false;
        }
        ::MoveWindow(list.Handle(), 8, 8, 490, 400, TRUE);
        list.SetDesignedColumns(kColumns);
        return true;
    }
    void AddSixtyRows() {
        for (int row = 0; row < 60; ++row) {
            list.AddRange({ProgramName(row), L"1.0." + std::to_wstring(row),
                           L"http://127.0.0.1/p" + std::to_wstring(row)});
        }
    }
    // Makes the rows area exactly rows lines high.
    void FitRows(int rows) {
        RECT row{};
        ListView_GetItemRect(list.Handle(), 0, &row, LVIR_BOUNDS);
        RECT header{};
        ::GetWindowRect(list.Header(), &header);
        RECT window{};
        RECT client{};
        ::GetWindowRect(list.Handle(), &window);
        ::GetClientRect(list.Handle(), &client);
        const int frame = (window.bottom - window.top) - client.bottom;
        const int height = frame + (header.bottom - header.top) + rows * (row.bottom - row.top);
        ::MoveWindow(list.Handle(), 8, 8, 490, height, TRUE);
    }
    void SendHeaderNotification(UINT code, int item = 0) {
        NMHEADERW note{};
        note.hdr.hwndFrom = list.Header();
        note.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(list.Header()));
        note.hdr.code = code;
        note.iItem = item;
        note.iButton = 0;
        HDITEMW hdi{};
        note.pitem = &hdi;
        ::SendMessageW(list.Handle(), WM_NOTIFY, note.hdr.idFrom, reinterpret_cast<LPARAM>(&note));
    }

    ListViewEx list;
    int menusOpened = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_INITMENUPOPUP) {
            ++menusOpened;
        }
        return Window::HandleMessage(msg, wParam, lParam);
    }
};

TEST(ListViewEx, RowsAreArraysOfTexts) {
    ListHost host;
    ASSERT_TRUE(host.Create({}));
    ListViewEx& list = host.list;
    EXPECT_EQ(list.ColumnDescription(), kColumns);
    EXPECT_EQ(list.ColumnCount(), 3);

    EXPECT_EQ(list.AddRange({L"Only"}), 0);
    EXPECT_EQ(list.AddRange({L"Full", L"2.0", L"http://127.0.0.1/full"}), 1);
    EXPECT_EQ(list.SubItemCount(0), 0);
    EXPECT_EQ(list.SubItemCount(1), 2);
    EXPECT_THAT(list.GetLVLineAr(0), ElementsAre(L"Only"));
    EXPECT_THAT(list.GetLVLineAr(1), ElementsAre(L"Full", L"2.0", L"http://127.0.0.1/full"));
    EXPECT_TRUE(list.GetLVLineAr(-1).empty());
    EXPECT_TRUE(list.GetLVLineAr(2).empty());
    // Texts beyond the columns have no place to go.
    EXPECT_EQ(list.AddRange({L"Long", L"a", L"b", L"c", L"d"}), 2);
    EXPECT_THAT(list.GetLVLineAr(2), ElementsAre(L"Long", L"a", L"b"));

    EXPECT_EQ(list.AddRangeTop({L"Top", L"9"}), 0);
    EXPECT_FALSE(list.AddToTop);
    list.AddToTop = true;
    EXPECT_EQ(list.AddRange({L"Higher"}), 0);
    list.AddToTop = false;
    EXPECT_THAT(list.GetLVLineAr(1), ElementsAre(L"Top", L"9"));
    EXPECT_EQ(list.Count(), 5);

    // A row written again loses the sub-items it is no longer given.
    list.SetLVLineAr(1, {L"Top again"});
    EXPECT_THAT(list.GetLVLineAr(1), ElementsAre(L"Top again"));
    wchar_t cell[16] = L"x";
    ListView_GetItemText(list.Handle(), 1, 1, cell, 16);
    EXPECT_STREQ(cell, L"");

    list.ExchangeItems(1, 3);
    EXPECT_THAT(list.GetLVLineAr(1), ElementsAre(L"Full", L"2.0", L"http://127.0.0.1/full"));
    EXPECT_THAT(list.GetLVLineAr(3), ElementsAre(L"Top again"));

    list.AddRange({L"  DEMO ", L"1"});
    list.AddRange({L"demo", L"2"});
    EXPECT_EQ(list.IndexOf_CI(L"demo"), 5);
    EXPECT_EQ(list.IndexOf_CI(L"absent"), -1);

    EXPECT_EQ(list.GetText_K(), L"");
    ListView_SetItemState(list.Handle(), 3, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetText_K(), L"Top again");

    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.GetTopItem(), -1);
}

TEST(ListViewEx, CentredScrollingAndTopRow) {
    ListHost host;
    ASSERT_TRUE(host.Create({}));
    ListViewEx& list = host.list;
    host.AddSixtyRows();
    host.FitRows(20);
    ASSERT_EQ(list.ItemsPerPage(), 20);
    EXPECT_EQ(list.GetTopItem(), 0);
    EXPECT_TRUE(list.IsTopItemChanged());
    EXPECT_FALSE(list.IsTopItemChanged());

    list.EnsureVisibleCentered(40);
    EXPECT_EQ(list.GetTopItem(), 30);
    EXPECT_TRUE(list.IsTopItemChanged());
    EXPECT_FALSE(list.IsTopItemChanged());
    // Row 40 is half a page down.
    RECT row{};
    ListView_GetItemRect(list.Handle(), 40, &row, LVIR_BOUNDS);
    RECT client{};
    ::GetClientRect(list.Handle(), &client);
    RECT header{};
    ::GetWindowRect(list.Header(), &header);
    const int rowsTop = header.bottom - header.top;
    EXPECT_EQ(row.top - rowsTop, 10 * (row.bottom - row.top));
    torvik::wintest::SaveWindowShot(host.Handle(), L"ListViewEx_centred");

    list.EnsureVisibleCentered(3);
    EXPECT_EQ(list.GetTopItem(), 0);

    // Without a selection nothing moves; with one, the selected row is centred.
    list.SetTopItem(15);
    EXPECT_EQ(list.GetTopItem(), 15);
    list.EnsureVisibleCentered();
    EXPECT_EQ(list.GetTopItem(), 15);
    ListView_SetItemState(list.Handle(), 50, LVIS_SELECTED, LVIS_SELECTED);
    list.EnsureVisibleCentered();
    EXPECT_EQ(list.GetTopItem(), 40);

    // Scrolled into view and focused: a given row, or the selected one.
    list.MakeVisibleK(57);
    EXPECT_EQ(list.FocusedIndex(), 57);
    EXPECT_GE(list.GetTopItem(), 38);
    EXPECT_EQ(::GetFocus(), list.Handle());
    list.FocusSelected();
    EXPECT_EQ(list.FocusedIndex(), 50);
    EXPECT_LE(list.GetTopItem(), 50);

    // Columns wider than the list: the cells move with the horizontal scroll.
    ListView_SetColumnWidth(list.Handle(), 0, 400);
    EXPECT_EQ(list.GetAbsColumnRect(1).left, 400);
    ListView_Scroll(list.Handle(), 100, 0);
    const RECT shifted = list.GetAbsColumnRect(1, {0, 5, 0, 19});
    EXPECT_EQ(shifted.left, 300);
    EXPECT_EQ(shifted.right, 400);
    EXPECT_EQ(shifted.top, 5);
    EXPECT_EQ(shifted.bottom, 19);

    for (const int outside : {60, -2}) {
        try {
            list.EnsureVisibleCentered(outside);
            ADD_FAILURE() << "row " << outside << " was accepted";
        } catch (const TorvikError& error) {
            EXPECT_EQ(error.Message(), L"SPropertyOutOfRange");
        }
    }
}

TEST(ListViewEx, SelectionIsSavedAndRestored) {
    ListHost host;
    ASSERT_TRUE(host.Create({}));
    ListViewEx& list = host.list;
    host.AddSixtyRows();
    host.FitRows(20);
    int fired = 0;
    list.onSelectionChanged = [&fired](int) { ++fired; };

    // The last row selected and then removed: its predecessor comes back.
    list.SelectItemIdCentered(59);
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(list.SelectedIndex(), 59);
    EXPECT_EQ(list.FocusedIndex(), 59);
    EXPECT_EQ(list.GetTopItem(), 40); // as far as the list scrolls
    list.SaveSelection2();
    ListView_DeleteItem(list.Handle(), 59);
    list.RestoreSelection2();
    EXPECT_THAT(list.SelectedRows(), ElementsAre(58));
    EXPECT_EQ(fired, 1); // a restored selection is news to the owner
    fired = 0;

    list.SelectItemIdCentered_OrNearer(70);
    EXPECT_THAT(list.SelectedRows(), ElementsAre(58));
    list.SelectItemIdCentered(5);
    EXPECT_THAT(list.SelectedRows(), ElementsAre(5));
    EXPECT_EQ(list.GetTopItem(), 0);
    // Already in view: it stays where it is.
    list.SelectItemIdCentered(12);
    EXPECT_EQ(list.GetTopItem(), 0);
    EXPECT_EQ(fired, 0);

    // Selected and top row, by row number.
    list.SelectItemIdCentered(25);
    list.SetTopItem(20);
    list.SaveSelectionExXX();
    list.SelectItemIdCentered(2);
    list.SetTopItem(0);
    list.RestoreSelectionExXX();
    EXPECT_THAT(list.SelectedRows(), ElementsAre(25));
    EXPECT_EQ(list.GetTopItem(), 20);
    EXPECT_EQ(list.GetText_K(), L"Program 25");

    // The focus moves row by row and stops at the ends.
    list.SelectItemIdCentered(1);
    list.MoveFocusByX(-1);
    EXPECT_THAT(list.SelectedRows(), ElementsAre(0));
    list.MoveFocusByX(-1);
    EXPECT_THAT(list.SelectedRows(), ElementsAre(0));
    list.MoveFocusByX(100);
    EXPECT_THAT(list.SelectedRows(), ElementsAre(58));
    EXPECT_EQ(list.FocusedIndex(), 58);
    EXPECT_GT(fired, 0); // moving the focus is the user's selection
}

TEST(ListViewEx, SelectedRowMovesByExchangingWithItsNeighbour) {
    ListHost host;
    ASSERT_TRUE(host.Create({.checkBoxes = true}));
    ListViewEx& list = host.list;
    list.AddRange({L"A", L"1", L"a"});
    list.AddRange({L"B", L"2", L"b"});
    list.AddRange({L"C"});
    list.SetChecked(0, true);

    list.MoveSelectedByX(1); // nothing selected
    EXPECT_THAT(list.GetLVLineAr(0), ElementsAre(L"A", L"1", L"a"));

    list.SelectItemIdCentered(0);
    list.MoveSelectedByX(-1); // no neighbour above
    EXPECT_THAT(list.SelectedRows(), ElementsAre(0));
    list.MoveSelectedByX(1);
    EXPECT_THAT(list.GetLVLineAr(0), ElementsAre(L"B", L"2", L"b"));
    EXPECT_THAT(list.GetLVLineAr(1), ElementsAre(L"A", L"1", L"a"));
    EXPECT_FALSE(list.IsChecked(0));
    EXPECT_TRUE(list.IsChecked(1));
    EXPECT_THAT(list.SelectedRows(), ElementsAre(1));
    EXPECT_EQ(list.FocusedIndex(), 1);

    try {
        list.MoveSelectedByX(1);
        ADD_FAILURE() << "rows of different lengths were exchanged";
    } catch (const TorvikError& error) {
        EXPECT_EQ(error.Message(), L"cannot exhcange rows");
    }
    EXPECT_THAT(list.GetLVLineAr(2), ElementsAre(L"C"));
    EXPECT_THAT(list.SelectedRows(), ElementsAre(1));
}

TEST(ListViewEx, DraggedColumnsKeepTheirDescription) {
    ListHost host;
    ASSERT_TRUE(host.Create({}));
    ListViewEx& list = host.list;
    host.AddSixtyRows();
    int finished = 0;
    list.onDraggingFinished = [&finished] { ++finished; };
    std::vector<UINT> codes;
    list.onMessageK = [&codes](int code) { codes.push_back(static_cast<UINT>(code)); };

    // What the header does when the user drops URL in front of Program.
    host.SendHeaderNotification(HDN_BEGINDRAG, 2);
    EXPECT_TRUE(list.IsDragging());
    int order[] = {2, 0, 1};
    ListView_SetColumnOrderArray(list.Handle(), 3, order);
    host.SendHeaderNotification(HDN_ENDDRAG, 2);
    EXPECT_FALSE(list.IsDragging());
    EXPECT_TRUE(PumpUntil([&finished] { return finished > 0; }));
    PumpFor(100);
    EXPECT_EQ(finished, 1);
    // Rebuilding the columns makes the header report its item changes too.
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes[0], HDN_BEGINDRAG);
    EXPECT_EQ(codes[1], HDN_ENDDRAG);
    EXPECT_THAT(codes, ::testing::Contains(HDN_ITEMCHANGEDW));

    EXPECT_THAT(list.ColumnDescription(),
                ElementsAre(L"URL:150:L:2", L"Program:200:L:0", L"Version:100:L:1"));
    EXPECT_EQ(list.columsOriginal, kColumns);
    // The control now holds the columns in that order, texts included.
    EXPECT_EQ(ListView_GetColumnWidth(list.Handle(), 0), 150);
    EXPECT_EQ(ListView_GetColumnWidth(list.Handle(), 1), 200);
    EXPECT_EQ(ListView_GetColumnWidth(list.Handle(), 2), 100);
    EXPECT_EQ(list.ColumnTag(0), 2);
    EXPECT_THAT(list.GetLVLineAr(4), ElementsAre(L"http://127.0.0.1/p4", L"Program 4", L"1.0.4"));
    EXPECT_EQ(list.IndexOf_CI(L"http://127.0.0.1/P9"), 9);
    EXPECT_EQ(list.GetAbsColumnRect(1).left, 150);
    EXPECT_EQ(list.GetAbsColumnRect(1).right, 350);
    torvik::wintest::SaveWindowShot(host.Handle(), L"ListViewEx_dragged");

    // Back to the designed columns, texts following their columns.
    list.ResetColumns_LVEX();
    EXPECT_EQ(list.ColumnDescription(), kColumns);
    EXPECT_THAT(list.GetLVLineAr(4), ElementsAre(L"Program 4", L"1.0.4", L"http://127.0.0.1/p4"));
}

TEST(ListViewEx, OwnerDrawnListFollowsItsHeader) {
    ListHost host;
    ASSERT_TRUE(host.Create({.ownerDraw = true}));
    ListViewEx& list = host.list;
    host.AddSixtyRows();
    int drawn = 0;
    list.drawItem = [&list, &drawn](DRAWITEMSTRUCT& item) {
        ++drawn;
        ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));
        const auto texts = list.GetLVLineAr(static_cast<int>(item.itemID));
        for (int column = 0; column < list.ColumnCount(); ++column) {
            const RECT cell = list.GetAbsColumnRectT2(column, item.rcItem);
            EXPECT_EQ(cell.top, item.rcItem.top + 2);
            ListViewEx::DrawTextW_Left_2(item.hDC, texts.at(static_cast<size_t>(column)), cell);
        }
    };
    ::ShowWindow(host.Handle(), SW_SHOW);
    ::UpdateWindow(host.Handle());
    EXPECT_GT(drawn, 0); // WM_DRAWITEM came through the parent to the list

    // A double click on a divider leaves the width alone.
    host.SendHeaderNotification(HDN_DIVIDERDBLCLICKW, 0);
    EXPECT_EQ(ListView_GetColumnWidth(list.Handle(), 0), 200);

    // Every header repaint repaints the rows.
    ::ValidateRect(list.Handle(), nullptr);
    EXPECT_FALSE(::GetUpdateRect(list.Handle(), nullptr, FALSE));
    NMCUSTOMDRAW paint{};
    paint.hdr = {list.Header(), 0, static_cast<UINT>(NM_CUSTOMDRAW)};
    paint.dwDrawStage = CDDS_PREPAINT;
    ::SendMessageW(list.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&paint));
    EXPECT_TRUE(::GetUpdateRect(list.Handle(), nullptr, FALSE));

    // Resizing ends when the header lets the mouse go.
    int resized = 0;
    list.onResizingFinished = [&resized] { ++resized; };
    host.SendHeaderNotification(HDN_BEGINTRACKW, 1);
    EXPECT_TRUE(list.IsResizing());
    ::SetCapture(list.Header());
    ::ReleaseCapture();
    EXPECT_EQ(resized, 1);
    EXPECT_FALSE(list.IsResizing());
    ::SetCapture(list.Header());
    ::ReleaseCapture();
    EXPECT_EQ(resized, 1);
    torvik::wintest::SaveWindowShot(host.Handle(), L"ListViewEx_ownerdrawn");
}

TEST(ListViewEx, PlainListSizesAColumnOnDividerDoubleClick) {
    // The counterpart of the owner-drawn case: the list view's own sizing
    // happens when the list draws its texts itself.
    ListHost host;
    ASSERT_TRUE(host.Create({}));
    host.AddSixtyRows();
    host.SendHeaderNotification(HDN_DIVIDERDBLCLICKW, 0);
    EXPECT_NE(ListView_GetColumnWidth(host.list.Handle(), 0), 200);
}

// Draws into a white 200 x 24 bitmap and tells which pixel columns got ink.
template <typename Draw> std::vector<bool> InkColumns(Draw draw) {
    constexpr int kWidth = 200, kHeight = 24;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    const RECT rect{0, 0, kWidth, kHeight};
    ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkMode(dc, TRANSPARENT);
    draw(dc, rect);
    std::vector<bool> ink(kWidth, false);
    for (int x = 0; x < kWidth; ++x) {
        for (int y = 0; y < kHeight; ++y) {
            ink[static_cast<size_t>(x)] =
                ink[static_cast<size_t>(x)] || ::GetPixel(dc, x, y) != RGB(255, 255, 255);
        }
    }
    ::SelectObject(dc, oldFont);
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return ink;
}

int FirstInk(const std::vector<bool>& ink) {
    for (size_t x = 0; x < ink.size(); ++x) {
        if (ink[x]) {
            return static_cast<int>(x);
        }
    }
    return -1;
}

int LastInk(const std::vector<bool>& ink) {
    for (size_t x = ink.size(); x-- > 0;) {
        if (ink[x]) {
            return static_cast<int>(x);
        }
    }
    return -1;
}

TEST(ListViewEx, CellTextsShowAmpersandsAndKeepTheirSide) {
    const auto text = [](const wchar_t* what, auto drawer) {
        return InkColumns([&](HDC dc, const RECT& rect) { drawer(dc, what, rect); });
    };
    // "&&" is two ampersands, not an escaped one.
    EXPECT_NE(text(L"&&", ListViewEx::DrawTextW_Left), text(L"&", ListViewEx::DrawTextW_Left));
    EXPECT_NE(text(L"A&B", ListViewEx::DrawTextW_Left), text(L"AB", ListViewEx::DrawTextW_Left));

    const auto left = text(L"Wide", ListViewEx::DrawTextW_Left);
    const auto right = text(L"Wide", ListViewEx::DrawTextW_Right);
    const auto left2 = text(L"Wide", ListViewEx::DrawTextW_Left_2);
    const auto right2 = text(L"Wide", ListViewEx::DrawTextW_Right_2);
    EXPECT_LT(FirstInk(left), 3);
    EXPECT_GT(LastInk(right), 196);
    EXPECT_GE(FirstInk(left2), ListViewEx::kTextMargin);
    EXPECT_LE(LastInk(right2), 199 - ListViewEx::kTextMargin);
    EXPECT_GT(FirstInk(right), 100);

    // Too long for the cell: cut with an ellipsis, still one line.
    const std::wstring longText(80, L'W');
    const auto cut = InkColumns([&](HDC dc, const RECT& rect) {
        ListViewEx::DrawTextW_Left(dc, longText, {0, 0, 60, rect.bottom});
    });
    const auto longer = InkColumns([&](HDC dc, const RECT& rect) {
        ListViewEx::DrawTextW_Left(dc, longText + L"X", {0, 0, 60, rect.bottom});
    });
    EXPECT_LT(LastInk(cut), 60);
    EXPECT_EQ(cut, longer);
}

// Ends the menu loop a moment after the menu opened.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) {
    ::EndMenu();
}

std::wstring reported;
void Capture(const std::wstring& text) {
    reported = text;
}

TEST(ListViewEx, HeaderMenuAndFailingHandlers) {
    ListHost host;
    ASSERT_TRUE(host.Create({}));
    ListViewEx& list = host.list;

    // Without a menu the right click is the list view's.
    host.SendHeaderNotification(NM_RCLICK);
    EXPECT_EQ(host.menusOpened, 0);

    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, 1, L"Reset columns");
    list.SetHeaderPopupMenu(menu);
    // The menu runs its own loop: a timer closes it.
    const UINT_PTR closer = ::SetTimer(nullptr, 0, 50, CloseMenu);
    host.SendHeaderNotification(NM_RCLICK);
    ::KillTimer(nullptr, closer);
    EXPECT_EQ(host.menusOpened, 1);
    ::DestroyMenu(menu);
    list.SetHeaderPopupMenu(nullptr);

    const ErrorSink previous = SetErrorSink(Capture);
    reported.clear();
    list.onMessageK = [](int) { throw TorvikError(L"Header handler failed"); };
    host.SendHeaderNotification(HDN_BEGINDRAG);
    EXPECT_EQ(reported, L"Header handler failed");
    SetErrorSink(previous);
}

TEST(ListViewEx, VirtualListAsksForItsCellsAndKeepsSelectionByRecordId) {
    ListHost host;
    ASSERT_TRUE(host.Create({.ownerData = true}));
    ListViewEx& list = host.list;
    std::map<int, Texts> records;
    for (int id = 10; id < 15; ++id) {
        records[id] = {L"Record " + std::to_wstring(id), L"v" + std::to_wstring(id),
                       L"http://127.0.0.1/r" + std::to_wstring(id)};
    }
    list.LvItems = {10, 11, 12, 13, 14};
    list.cellText = [&records, &list](int row, int column) {
        return records.at(list.LvItems.at(static_cast<size_t>(row)))
            .at(static_cast<size_t>(column));
    };
    list.SetItemCount(5);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.AddRange({L"not here"}), -1);

    // Through the control, as it asks its parent when it paints.
    wchar_t cell[64] = L"";
    ListView_GetItemText(list.Handle(), 2, 1, cell, 64);
    EXPECT_STREQ(cell, L"v12");
    wchar_t small[4] = L"";
    ListView_GetItemText(list.Handle(), 2, 2, small, 4);
    EXPECT_STREQ(small, L"htt");
    EXPECT_THAT(list.GetLVLineAr(3), ElementsAre(L"Record 13", L"v13", L"http://127.0.0.1/r13"));
    EXPECT_EQ(list.IndexOf_CI(L"record 14"), 4);

    ListView_SetItemState(list.Handle(), 2, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(list.Handle(), 4, LVIS_SELECTED, LVIS_SELECTED);
    list.SaveSelectionExXX();
    list.LvItems = {14, 13, 12, 11, 10};
    list.RestoreSelectionExXX();
    EXPECT_THAT(list.SelectedRows(), ElementsAre(0, 2));
    EXPECT_EQ(list.GetText_K(), L"Record 14");

    // A record that went away is not selected.
    list.SaveSelectionExXX();
    list.LvItems = {11, 12, 13, 10};
    list.SetItemCount(4);
    list.RestoreSelectionExXX();
    EXPECT_THAT(list.SelectedRows(), ElementsAre(1));

    // The cells follow their columns when the user reorders them.
    int order[] = {1, 2, 0};
    ListView_SetColumnOrderArray(list.Handle(), 3, order);
    int finished = 0;
    list.onDraggingFinished = [&finished] { ++finished; };
    host.SendHeaderNotification(HDN_ENDDRAG, 0);
    EXPECT_TRUE(PumpUntil([&finished] { return finished > 0; }));
    ListView_GetItemText(list.Handle(), 0, 0, cell, 64);
    EXPECT_STREQ(cell, L"v11");
    ListView_GetItemText(list.Handle(), 0, 2, cell, 64);
    EXPECT_STREQ(cell, L"Record 11");
    torvik::wintest::SaveWindowShot(host.Handle(), L"ListViewEx_virtual");
}

} // namespace
} // namespace torvik::app
