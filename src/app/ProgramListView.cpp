#include "app/ProgramListView.h"

#include <commctrl.h>

#include "common/Error.h"
#include "common/ScopeExit.h"

namespace torvik::app {
namespace {

// The list view's own timers use small ids, ListViewEx 0x7D1A.
constexpr UINT_PTR kFilterTimerId = 0x7D1B;
constexpr UINT_PTR kTimerSubclass = 3;
constexpr int kIconSize = 16;

COLORREF ToColorRef(RgbColour colour) {
    return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

} // namespace

ProgramListView::ProgramListView()
    : filterTimer_(kFilterTimerId),
      filterDebounce_(filterTimer_, kFilterDelay, [this] { OnFilterTimer(); }) {}

ProgramListView::~ProgramListView() {
    const HWND hwnd = Handle();
    if (hwnd != nullptr && ::IsWindow(hwnd)) {
        filterDebounce_.Cancel();
        ::RemoveWindowSubclass(hwnd, TimerSubclassProc, kTimerSubclass);
    }
}

std::vector<std::wstring> ProgramListView::DesignedColumns() {
    using Model = ProgramListModel;
    const auto line = [](const wchar_t* caption, int width, Model::Column column) {
        return FormatColumnLine({caption, width, false, static_cast<int>(column)});
    };
    return {line(L"Program", 200, Model::kProgram),
            line(L"Executable", 0, Model::kFile),
            line(L"My Version", 150, Model::kVersion),
            line(L"Database status", 150, Model::kStatus),
            line(L"Community status", 200, Model::kCommunity),
            line(L"URL", 300, Model::kUrl)};
}

bool ProgramListView::Create(HWND parent, int id, const ProgramLists::RecordList& programs,
                             const TextCompare& compare) {
    programs_ = &programs;
    compare_ = &compare;
    if (!ListViewEx::Create(parent, id, {.ownerData = true, .ownerDraw = true})) {
        return false;
    }
    const HWND hwnd = Handle();
    ::SetWindowLongW(hwnd, GWL_STYLE, ::GetWindowLongW(hwnd, GWL_STYLE) | LVS_SINGLESEL);
    SetDesignedColumns(DesignedColumns());
    // An empty image list of icon size makes the rows tall enough for the
    // icons drawn in them. The list destroys it with itself.
    if (const HIMAGELIST rowHeight =
            ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 0, 1);
        rowHeight != nullptr) {
        ListView_SetImageList(hwnd, rowHeight, LVSIL_SMALL);
    }

    LOGFONTW font{};
    const auto listFont = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
    if (listFont != nullptr && ::GetObjectW(listFont, sizeof font, &font) != 0) {
        font.lfWeight = FW_BOLD;
        boldFont_.reset(::CreateFontIndirectW(&font));
    }

    cellText = [this](int row, int column) {
        return model_.CellText(static_cast<size_t>(row), static_cast<size_t>(column));
    };
    drawItem = [this](DRAWITEMSTRUCT& item) { DrawRow(item); };
    onSelectionChanged = [this](int row) {
        if (!quiet_ && onProgramSelected && row >= 0 && static_cast<size_t>(row) < model_.Count()) {
            onProgramSelected(model_.Row(static_cast<size_t>(row)));
        }
    };
    filterTimer_.Attach(hwnd);
    ::SetWindowSubclass(hwnd, TimerSubclassProc, kTimerSubclass, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

// Rows --------------------------------------------------------------------------

void ProgramListView::ClearRows() {
    ListView_SetItemCountEx(Handle(), 0, 0);
    model_.Clear();
}

void ProgramListView::Refill() {
    const HWND hwnd = Handle();
    ::SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
    const ScopeExit thaw([hwnd] {
        ::SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(hwnd, nullptr, TRUE);
    });
    // The count goes first: the control never asks for a row the model lost.
    ClearRows();
    model_.Refill(*programs_, ProgramFilter(filterText_, switches_));
    ListView_SetItemCountEx(hwnd, static_cast<int>(model_.Count()), 0);
}

void ProgramListView::Resort() {
    if (!sort_.Order().SortColumn) {
        return;
    }
    model_.Sort(sort_.Order(), *compare_);
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void ProgramListView::SetRecheckText(std::wstring text) {
    model_.SetRecheckText(std::move(text));
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

// Filter --------------------------------------------------------------------------

void ProgramListView::SetFilterText(std::wstring text) {
    filterText_ = std::move(text);
    filterDebounce_.Restart();
}

void ProgramListView::SetSwitches(ProgramFilterSwitches switches) {
    switches_ = switches;
    filterDebounce_.Restart();
}

void ProgramListView::OnFilterTimer() {
    const int row = SelectedIndex();
    Refill();
    Resort();
    // Whatever program now stands at the selected row becomes the selection,
    // and is announced as one.
    SelectRowsQuietly({});
    if (row >= 0 && row < Count()) {
        ListView_SetItemState(Handle(), row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetSelectionMark(Handle(), row);
    }
}

LRESULT CALLBACK ProgramListView::TimerSubclassProc(HWND hwnd, UINT msg, WPARAM wParam,
                                                    LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    if (msg == WM_TIMER && wParam == kFilterTimerId) {
        try {
            reinterpret_cast<ProgramListView*>(data)->filterDebounce_.Elapsed();
        } catch (...) {
            ReportError(CurrentExceptionText());
        }
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        ::KillTimer(hwnd, kFilterTimerId);
        ::RemoveWindowSubclass(hwnd, TimerSubclassProc, id);
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

// Sorting --------------------------------------------------------------------------

std::optional<LRESULT> ProgramListView::OnNotify(NMHDR& header) {
    if (header.code == LVN_COLUMNCLICK) {
        SortByColumn(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
        return 0;
    }
    return ListViewEx::OnNotify(header);
}

void ProgramListView::SortByColumn(int column) {
    const int sortColumn = ProgramListModel::SortColumnOf(static_cast<size_t>(ColumnTag(column)));
    if (sortColumn < 0) {
        return;
    }
    sort_.Click(sortColumn);
    ShowSortMarks();
    SaveSelection();
    model_.Sort(sort_.Order(), *compare_);
    RestoreSelection();
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void ProgramListView::ShowSortMarks() {
    for (int column = 0; column < ColumnCount(); ++column) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        if (!Header_GetItem(Header(), column, &item)) {
            continue;
        }
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        const size_t tag = static_cast<size_t>(ColumnTag(column));
        switch (sort_.HeaderImage(ProgramListModel::SortColumnOf(tag))) {
        case 0:
            item.fmt |= HDF_SORTUP;
            break;
        case 1:
            item.fmt |= HDF_SORTDOWN;
            break;
        default:
            break;
        }
        Header_SetItem(Header(), column, &item);
    }
}

// Selection --------------------------------------------------------------------------

void ProgramListView::SaveSelection() {
    savedSelection_ = model_.KeysOf(SelectedRows());
}

void ProgramListView::RestoreSelection() {
    const std::vector<int> rows = model_.RowsOf(savedSelection_);
    SelectRowsQuietly(rows);
    if (!rows.empty()) {
        ListView_EnsureVisible(Handle(), rows.front(), FALSE);
    }
}

void ProgramListView::SelectRowsQuietly(const std::vector<int>& rows) {
    quiet_ = true;
    const ScopeExit loud([this] { quiet_ = false; });
    const HWND hwnd = Handle();
    ListView_SetItemState(hwnd, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (size_t i = 0; i < rows.size(); ++i) {
        const UINT state = i == 0 ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED;
        ListView_SetItemState(hwnd, rows[i], state, state);
    }
    if (!rows.empty()) {
        ListView_SetSelectionMark(hwnd, rows.front());
    }
}

const TProgramRecord* ProgramListView::SelectedRecord() const {
    const int row = SelectedIndex();
    return row >= 0 && static_cast<size_t>(row) < model_.Count()
               ? &model_.Row(static_cast<size_t>(row))
               : nullptr;
}

bool ProgramListView::IsSelected(const TProgramRecord& record) const {
    const int row = model_.RowOf(record);
    return row >= 0 && ListView_GetItemState(Handle(), row, LVIS_SELECTED) != 0;
}

void ProgramListView::SelectRecordCentered(const TProgramRecord& record) {
    const int row = model_.RowOf(record);
    if (row < 0) {
        return;
    }
    savedSelection_ = model_.KeysOf({row});
    RestoreSelection();
    EnsureVisibleCentered(row);
}

// Drawing --------------------------------------------------------------------------

void ProgramListView::DrawRow(const DRAWITEMSTRUCT& item) const {
    const size_t row = item.itemID;
    if (row >= model_.Count()) {
        return;
    }
    const HDC dc = item.hDC;
    const ProgramRowState state{(item.itemState & ODS_SELECTED) != 0, ::GetFocus() == Handle()};
    const win32::UniqueBrush background(
        ::CreateSolidBrush(ToColorRef(model_.RowColours(row, state).background)));
    ::FillRect(dc, &item.rcItem, background.get());
    ::SetBkMode(dc, TRANSPARENT);
    const auto normalFont = reinterpret_cast<HFONT>(::SendMessageW(Handle(), WM_GETFONT, 0, 0));
    for (int column = 0; column < ColumnCount(); ++column) {
        const RECT cell = GetAbsColumnRect(column, item.rcItem);
        if (cell.right <= cell.left) {
            continue;
        }
        const ProgramCellLook look =
            model_.CellLook(row, static_cast<size_t>(ColumnTag(column)), state);
        if (look.icon && iconFor) {
            if (const HICON icon = iconFor(model_.Row(row)); icon != nullptr) {
                ::DrawIconEx(dc, cell.left + ProgramCellLook::kIconLeft, item.rcItem.top, icon,
                             kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
            }
        }
        const win32::SelectedObject font(dc, look.bold && boldFont_ ? boldFont_.get() : normalFont);
        ::SetTextColor(dc, ToColorRef(look.colour));
        RECT text = cell;
        text.left += look.leftMargin;
        text.right -= ProgramCellLook::kRightMargin;
        DrawTextW_Left(dc, look.text, text);
    }
}

} // namespace torvik::app
