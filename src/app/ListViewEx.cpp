#include "app/ListViewEx.h"

#include <commctrl.h>

#include <algorithm>

#include "app/Controls.h"
#include "common/Error.h"
#include "common/ScopeExit.h"

namespace torvik::app {
namespace {

constexpr UINT_PTR kListSubclass = 1;
constexpr UINT_PTR kHeaderSubclass = 2;
// The list view's own timers use small ids; this one stays clear of them.
constexpr UINT_PTR kRedescribeTimer = 0x7D1A;
// The header updates its order array after HDN_ENDDRAG returns: the columns
// are read a moment later.
constexpr UINT kRedescribeDelayMs = 10;

constexpr UINT kTextFlags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;

void DrawLine(HDC hdc, const std::wstring& text, RECT rect, UINT align) {
    ::DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &rect, kTextFlags | align);
}

RECT Inset(RECT rect, int margin) {
    rect.left += margin;
    rect.right -= margin;
    return rect;
}

} // namespace

ListViewEx::~ListViewEx() {
    const HWND hwnd = Handle();
    if (hwnd != nullptr && ::IsWindow(hwnd)) {
        ::KillTimer(hwnd, kRedescribeTimer);
        ::RemoveWindowSubclass(hwnd, SubclassProc, kListSubclass);
        if (::IsWindow(header_)) {
            ::RemoveWindowSubclass(header_, SubclassProc, kHeaderSubclass);
        }
    }
}

bool ListViewEx::Create(HWND parent, int id, const Options& options) {
    options_ = options;
    DWORD style = kChildStyle | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS;
    if (options.ownerData) {
        style |= LVS_OWNERDATA;
    }
    if (options.ownerDraw) {
        style |= LVS_OWNERDRAWFIXED;
    }
    const HWND hwnd = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, 0, 0, 0, 0,
                                        parent, reinterpret_cast<HMENU>(INT_PTR{id}),
                                        ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) {
        return false;
    }
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                   TRUE);
    DWORD exStyle = LVS_EX_DOUBLEBUFFER | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;
    if (options.checkBoxes) {
        exStyle |= LVS_EX_CHECKBOXES;
    }
    ListView_SetExtendedListViewStyle(hwnd, exStyle);
    Attach(hwnd);
    header_ = ListView_GetHeader(hwnd);
    ::SetWindowSubclass(hwnd, SubclassProc, kListSubclass, reinterpret_cast<DWORD_PTR>(this));
    ::SetWindowSubclass(header_, SubclassProc, kHeaderSubclass, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

HWND ListViewEx::Header() const {
    return header_;
}

// Columns ------------------------------------------------------------------

void ListViewEx::SetDesignedColumns(const std::vector<std::wstring>& description) {
    columsOriginal = description;
    ResetColumns_LVEX();
}

void ListViewEx::ResetColumns_LVEX() {
    const auto columns = ParseColumnDescription(columsOriginal);
    columsCurrent = DescribeColumns(columns);
    // The texts of each column go with its tag to its new place.
    std::vector<int> sources(columns.size(), -1);
    std::vector<bool> used(columns_.size(), false);
    for (size_t i = 0; i < columns.size(); ++i) {
        for (size_t j = 0; j < columns_.size(); ++j) {
            if (!used[j] && columns_[j].tag == columns[i].tag) {
                used[j] = true;
                sources[i] = static_cast<int>(j);
                break;
            }
        }
    }
    ApplyColumns(columns, sources);
}

int ListViewEx::ColumnCount() const {
    return static_cast<int>(columns_.size());
}

int ListViewEx::ColumnTag(int column) const {
    return column >= 0 && column < ColumnCount() ? columns_[static_cast<size_t>(column)].tag : -1;
}

std::vector<int> ListViewEx::ColumnOrder() const {
    std::vector<int> order(columns_.size());
    if (!order.empty() &&
        !ListView_GetColumnOrderArray(Handle(), static_cast<int>(order.size()), order.data())) {
        for (size_t i = 0; i < order.size(); ++i) {
            order[i] = static_cast<int>(i);
        }
    }
    return order;
}

std::vector<ColumnSpec> ListViewEx::ColumnsInDisplayOrder() const {
    std::vector<ColumnSpec> columns;
    for (const int index : ColumnOrder()) {
        ColumnSpec column = columns_.at(static_cast<size_t>(index));
        column.width = ListView_GetColumnWidth(Handle(), index);
        columns.push_back(column);
    }
    return columns;
}

// Sets the columns in place (column 0 carries the rows, so it is never
// deleted while there are some) and moves the rows' texts along: sources[i]
// is the former column whose texts the new column i shows, -1 for none.
void ListViewEx::ApplyColumns(const std::vector<ColumnSpec>& columns,
                              const std::vector<int>& sources) {
    const HWND hwnd = Handle();
    std::vector<std::vector<std::wstring>> rows;
    const bool moveTexts = !IsVirtual() && Count() > 0;
    if (moveTexts) {
        for (int row = 0; row < Count(); ++row) {
            std::vector<std::wstring> texts;
            for (int column = 0; column < ColumnCount(); ++column) {
                texts.push_back(ItemText(row, column));
            }
            rows.push_back(std::move(texts));
        }
    }
    ::SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
    const ScopeExit redraw([hwnd] {
        ::SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(hwnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    });
    const int keep = columns.empty() ? 0 : 1;
    for (int column = ColumnCount() - 1; column >= std::max(keep, static_cast<int>(columns.size()));
         --column) {
        ListView_DeleteColumn(hwnd, column);
    }
    const int existing = std::min(ColumnCount(), std::max(keep, static_cast<int>(columns.size())));
    for (size_t i = 0; i < columns.size(); ++i) {
        std::wstring caption = columns[i].caption;
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        lvc.fmt = columns[i].rightJustified ? LVCFMT_RIGHT : LVCFMT_LEFT;
        lvc.cx = columns[i].width;
        lvc.pszText = caption.data();
        lvc.iSubItem = static_cast<int>(i);
        if (static_cast<int>(i) < existing) {
            ListView_SetColumn(hwnd, static_cast<int>(i), &lvc);
        } else {
            ListView_InsertColumn(hwnd, static_cast<int>(i), &lvc);
        }
    }
    columns_ = columns;
    if (!columns_.empty()) {
        std::vector<int> identity(columns_.size());
        for (size_t i = 0; i < identity.size(); ++i) {
            identity[i] = static_cast<int>(i);
        }
        ListView_SetColumnOrderArray(hwnd, static_cast<int>(identity.size()), identity.data());
    }
    if (moveTexts) {
        for (size_t row = 0; row < rows.size(); ++row) {
            for (size_t column = 0; column < columns_.size(); ++column) {
                const int source = column < sources.size() ? sources[column] : -1;
                std::wstring text = source >= 0 && static_cast<size_t>(source) < rows[row].size()
                                        ? rows[row][static_cast<size_t>(source)]
                                        : std::wstring();
                ListView_SetItemText(hwnd, static_cast<int>(row), static_cast<int>(column),
                                     text.data());
            }
        }
    }
}

void ListViewEx::FinishDragging() {
    const std::vector<int> order = ColumnOrder();
    columsCurrent = RedescribeInDisplayOrder(columsCurrent, ColumnsInDisplayOrder());
    ApplyColumns(ParseColumnDescription(columsCurrent), order);
    if (onDraggingFinished) {
        onDraggingFinished();
    }
}

// Rows -----------------------------------------------------------------------

int ListViewEx::Count() const {
    return ListView_GetItemCount(Handle());
}

std::wstring ListViewEx::ItemText(int row, int column) const {
    if (IsVirtual()) {
        return cellText ? cellText(row, ColumnTag(column)) : std::wstring();
    }
    std::wstring text(128, L'\0');
    while (true) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto length = static_cast<size_t>(::SendMessageW(
            Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(text.size() * 2);
    }
}

int ListViewEx::SubItemCount(int row) const {
    if (row < 0 || row >= Count()) {
        return -1;
    }
    if (IsVirtual()) {
        return std::max(0, ColumnCount() - 1);
    }
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    ListView_GetItem(Handle(), &item);
    return static_cast<int>(item.lParam);
}

int ListViewEx::AddRange(const std::vector<std::wstring>& texts) {
    if (IsVirtual()) {
        return -1;
    }
    std::wstring caption = texts.empty() ? std::wstring() : texts.front();
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = AddToTop ? 0 : Count();
    item.pszText = caption.data();
    const int row = ListView_InsertItem(Handle(), &item);
    if (row >= 0) {
        SetLVLineAr(row, texts);
    }
    return row;
}

int ListViewEx::AddRangeTop(const std::vector<std::wstring>& texts) {
    const bool before = AddToTop;
    AddToTop = true;
    const ScopeExit restore([this, before] { AddToTop = before; });
    return AddRange(texts);
}

std::vector<std::wstring> ListViewEx::GetLVLineAr(int row) const {
    std::vector<std::wstring> texts;
    const int subItems = SubItemCount(row);
    if (subItems < 0) {
        return texts;
    }
    for (int column = 0; column <= subItems; ++column) {
        texts.push_back(ItemText(row, column));
    }
    return texts;
}

void ListViewEx::SetLVLineAr(int row, const std::vector<std::wstring>& texts) {
    if (IsVirtual() || row < 0 || row >= Count()) {
        return;
    }
    // Sub-items beyond the columns have nowhere to go.
    const int given = texts.empty() ? 0 : static_cast<int>(texts.size()) - 1;
    const int subItems = std::min(given, std::max(0, ColumnCount() - 1));
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = subItems;
    ListView_SetItem(Handle(), &item);
    const int columns = std::max(1, ColumnCount());
    for (int column = 0; column < columns; ++column) {
        std::wstring text = column <= subItems && static_cast<size_t>(column) < texts.size()
                                ? texts[static_cast<size_t>(column)]
                                : std::wstring();
        ListView_SetItemText(Handle(), row, column, text.data());
    }
}

void ListViewEx::ExchangeItems(int a, int b) {
    if (IsVirtual() || a == b || a < 0 || b < 0 || a >= Count() || b >= Count()) {
        return;
    }
    const auto textsA = GetLVLineAr(a);
    const auto textsB = GetLVLineAr(b);
    const bool checkedA = IsChecked(a);
    const bool checkedB = IsChecked(b);
    SetLVLineAr(a, textsB);
    SetLVLineAr(b, textsA);
    SetChecked(a, checkedB);
    SetChecked(b, checkedA);
}

int ListViewEx::IndexOf_CI(std::wstring_view caption) const {
    std::vector<std::wstring> captions;
    for (int row = 0; row < Count(); ++row) {
        captions.push_back(ItemText(row, 0));
    }
    return IndexOfCaptionIgnoringCase(captions, caption);
}

std::wstring ListViewEx::GetText_K() const {
    const int row = SelectedIndex();
    return row >= 0 ? ItemText(row, 0) : std::wstring();
}

void ListViewEx::ClearItems() {
    const HWND hwnd = Handle();
    ::SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
    if (IsVirtual()) {
        LvItems.clear();
        ListView_SetItemCountEx(hwnd, 0, 0);
    } else {
        ListView_DeleteAllItems(hwnd);
    }
    ::SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd, nullptr, TRUE);
}

bool ListViewEx::IsChecked(int row) const {
    return ListView_GetCheckState(Handle(), static_cast<UINT>(row)) != 0;
}

void ListViewEx::SetChecked(int row, bool checked) {
    ListView_SetCheckState(Handle(), row, checked ? TRUE : FALSE);
}

void ListViewEx::SetItemCount(int count) {
    ListView_SetItemCountEx(Handle(), count, 0);
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

// Selection and scrolling ----------------------------------------------------

int ListViewEx::SelectedIndex() const {
    return ListView_GetNextItem(Handle(), -1, LVNI_SELECTED);
}

int ListViewEx::FocusedIndex() const {
    return ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED);
}

std::vector<int> ListViewEx::SelectedRows() const {
    std::vector<int> rows;
    for (int row = SelectedIndex(); row >= 0;
         row = ListView_GetNextItem(Handle(), row, LVNI_SELECTED)) {
        rows.push_back(row);
    }
    return rows;
}

void ListViewEx::SelectRow(int row, bool quiet) {
    const bool before = quietSelection_;
    quietSelection_ = quiet;
    const ScopeExit restore([this, before] { quietSelection_ = before; });
    ListView_SetItemState(Handle(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row >= 0) {
        ListView_SetItemState(Handle(), row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetSelectionMark(Handle(), row);
    }
}

int ListViewEx::RowHeight() const {
    RECT rect{};
    if (Count() > 0 && ListView_GetItemRect(Handle(), 0, &rect, LVIR_BOUNDS)) {
        return rect.bottom - rect.top;
    }
    return 0;
}

int ListViewEx::ItemsPerPage() const {
    if ((::GetWindowLongW(Handle(), GWL_STYLE) & LVS_TYPEMASK) != LVS_REPORT) {
        return 0;
    }
    const int rowHeight = RowHeight();
    if (rowHeight <= 0) {
        return ListView_GetCountPerPage(Handle());
    }
    RECT client{};
    ::GetClientRect(Handle(), &client);
    RECT header{};
    // The header's own style, not IsWindowVisible: the page is the same
    // while the window is hidden.
    if (header_ != nullptr && (::GetWindowLongW(header_, GWL_STYLE) & WS_VISIBLE) != 0) {
        ::GetWindowRect(header_, &header);
    }
    return std::max(0, static_cast<int>(client.bottom - (header.bottom - header.top))) / rowHeight;
}

int ListViewEx::GetTopItem() const {
    return Count() > 0 ? ListView_GetTopIndex(Handle()) : -1;
}

void ListViewEx::SetTopItem(int row) {
    const int count = Count();
    if (count == 0) {
        return;
    }
    row = std::clamp(row, 0, count - 1);
    const int rows = row - GetTopItem();
    if (rows != 0) {
        ListView_Scroll(Handle(), 0, rows * RowHeight());
    }
}

bool ListViewEx::IsTopItemChanged() {
    const int top = GetTopItem();
    const bool changed = top != lastTop_;
    lastTop_ = top;
    return changed;
}

void ListViewEx::EnsureVisibleCentered(int row) {
    if (row == -1) {
        row = SelectedIndex();
        if (row == -1) {
            return;
        }
    }
    if (row < 0 || row >= Count()) {
        throw TorvikError(L"SPropertyOutOfRange");
    }
    SetTopItem(CenteredTopRow(row, ItemsPerPage()));
}

void ListViewEx::MakeVisibleK(int row) {
    if (row == -1) {
        row = SelectedIndex();
    }
    if (row < 0 || row >= Count()) {
        return;
    }
    ListView_EnsureVisible(Handle(), row, FALSE);
    ListView_SetItemState(Handle(), row, LVIS_FOCUSED, LVIS_FOCUSED);
    ::SetFocus(Handle());
}

void ListViewEx::FocusSelected() {
    MakeVisibleK();
}

void ListViewEx::MoveSelectedByX(int step) {
    const int row = SelectedIndex();
    const int neighbour = row + step;
    if (IsVirtual() || row < 0 || step == 0 || neighbour < 0 || neighbour >= Count()) {
        return;
    }
    if (SubItemCount(row) != SubItemCount(neighbour)) {
        throw TorvikError(L"cannot exhcange rows");
    }
    ExchangeItems(row, neighbour);
    SelectRow(neighbour, false);
    MakeVisibleK(neighbour);
}

void ListViewEx::MoveFocusByX(int step) {
    const int from = FocusedIndex() >= 0 ? FocusedIndex() : SelectedIndex();
    const int to = ClampedFocusMove(from, step, Count());
    if (to < 0) {
        return;
    }
    SelectRow(to, false);
    ListView_EnsureVisible(Handle(), to, FALSE);
}

void ListViewEx::SaveSelection2() {
    savedSelection2_ = SelectedIndex();
}

void ListViewEx::RestoreSelection2() {
    const int row = RestoredSelectionIndex(savedSelection2_, Count());
    if (row >= 0) {
        SelectRow(row, false);
        ListView_EnsureVisible(Handle(), row, FALSE);
    }
}

void ListViewEx::SaveSelectionExXX() {
    if (!IsVirtual()) {
        savedRow_ = SelectedIndex();
        savedTop_ = GetTopItem();
        return;
    }
    savedIds_.clear();
    for (const int row : SelectedRows()) {
        if (static_cast<size_t>(row) < LvItems.size()) {
            savedIds_.push_back(LvItems[static_cast<size_t>(row)]);
        }
    }
    const int top = GetTopItem();
    hasSavedTopId_ = top >= 0 && static_cast<size_t>(top) < LvItems.size();
    savedTopId_ = hasSavedTopId_ ? LvItems[static_cast<size_t>(top)] : -1;
}

void ListViewEx::RestoreSelectionExXX() {
    if (!IsVirtual()) {
        SelectRow(RestoredSelectionIndex(savedRow_, Count()), false);
        if (savedTop_ >= 0) {
            SetTopItem(savedTop_);
        }
        return;
    }
    const auto rowOf = [this](int id) {
        const auto found = std::find(LvItems.begin(), LvItems.end(), id);
        return found == LvItems.end() ? -1 : static_cast<int>(found - LvItems.begin());
    };
    SelectRow(-1, false);
    bool first = true;
    for (const int id : savedIds_) {
        const int row = rowOf(id);
        if (row < 0 || row >= Count()) {
            continue;
        }
        const UINT state = first ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED;
        ListView_SetItemState(Handle(), row, state, state);
        first = false;
    }
    if (hasSavedTopId_) {
        if (const int top = rowOf(savedTopId_); top >= 0) {
            SetTopItem(top);
        }
    }
}

void ListViewEx::SelectItemIdCentered(int row) {
    if (row < 0 || row >= Count()) {
        return;
    }
    // Taken before selecting: some list views scroll to a row that gets the
    // focus.
    const int top = GetTopItem();
    const bool inView = row >= top && row < top + ItemsPerPage();
    SelectRow(row, true);
    if (!inView) {
        EnsureVisibleCentered(row);
    }
    ListView_EnsureVisible(Handle(), row, FALSE);
}

void ListViewEx::SelectItemIdCentered_OrNearer(int row) {
    SelectItemIdCentered(std::min(row, Count() - 1));
}

// Drawing --------------------------------------------------------------------

RECT ListViewEx::GetAbsColumnRect(int column, const RECT& rowRect) const {
    RECT rect = rowRect;
    int left = 0;
    for (const int index : ColumnOrder()) {
        const int width = ListView_GetColumnWidth(Handle(), index);
        if (index == column) {
            rect.left = left;
            rect.right = left + width;
            break;
        }
        left += width;
    }
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_POS;
    if (::GetScrollInfo(Handle(), SB_HORZ, &scroll)) {
        rect.left -= scroll.nPos;
        rect.right -= scroll.nPos;
    }
    return rect;
}

RECT ListViewEx::GetAbsColumnRectT2(int column, const RECT& rowRect) const {
    RECT rect = GetAbsColumnRect(column, rowRect);
    rect.top += 2;
    return rect;
}

void ListViewEx::DrawTextW_Left(HDC hdc, const std::wstring& text, const RECT& rect) {
    DrawLine(hdc, text, rect, DT_LEFT);
}

void ListViewEx::DrawTextW_Right(HDC hdc, const std::wstring& text, const RECT& rect) {
    DrawLine(hdc, text, rect, DT_RIGHT);
}

void ListViewEx::DrawTextW_Left_2(HDC hdc, const std::wstring& text, const RECT& rect) {
    DrawLine(hdc, text, Inset(rect, kTextMargin), DT_LEFT);
}

void ListViewEx::DrawTextW_Right_2(HDC hdc, const std::wstring& text, const RECT& rect) {
    DrawLine(hdc, text, Inset(rect, kTextMargin), DT_RIGHT);
}

void ListViewEx::DrawRowTexts(const DRAWITEMSTRUCT& item) const {
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(item.hDC, &item.rcItem,
               ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const int row = static_cast<int>(item.itemID);
    for (int column = 0; column < ColumnCount(); ++column) {
        const RECT cell = GetAbsColumnRect(column, item.rcItem);
        const std::wstring text = ItemText(row, column);
        if (columns_[static_cast<size_t>(column)].rightJustified) {
            DrawTextW_Right_2(item.hDC, text, cell);
        } else {
            DrawTextW_Left_2(item.hDC, text, cell);
        }
    }
    if ((item.itemState & ODS_FOCUS) != 0) {
        ::DrawFocusRect(item.hDC, &item.rcItem);
    }
}

bool ListViewEx::OnDrawItem(DRAWITEMSTRUCT& item) {
    if (drawItem) {
        drawItem(item);
    } else {
        DrawRowTexts(item);
    }
    return true;
}

// Notifications --------------------------------------------------------------

std::optional<LRESULT> ListViewEx::OnNotify(NMHDR& header) {
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
        if (!cellText || (info.item.mask & LVIF_TEXT) == 0 || info.item.cchTextMax <= 0) {
            return std::nullopt;
        }
        const std::wstring text = cellText(info.item.iItem, ColumnTag(info.item.iSubItem));
        const size_t length = std::min(text.size(), static_cast<size_t>(info.item.cchTextMax) - 1);
        std::copy_n(text.begin(), length, info.item.pszText);
        info.item.pszText[length] = L'\0';
        return 0;
    }
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<NMLISTVIEW&>(header);
        const bool nowSelected = (change.uChanged & LVIF_STATE) != 0 &&
                                 (change.uNewState & LVIS_SELECTED) != 0 &&
                                 (change.uOldState & LVIS_SELECTED) == 0;
        if (nowSelected && !quietSelection_ && onSelectionChanged) {
            onSelectionChanged(change.iItem);
        }
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

LRESULT CALLBACK ListViewEx::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<ListViewEx*>(data);
    try {
        if (msg == WM_NCDESTROY) {
            ::RemoveWindowSubclass(hwnd, SubclassProc, id);
            if (id == kListSubclass) {
                ::KillTimer(hwnd, kRedescribeTimer);
            }
            return ::DefSubclassProc(hwnd, msg, wParam, lParam);
        }
        if (id == kHeaderSubclass) {
            const LRESULT result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
            if (msg == WM_CAPTURECHANGED) {
                self->HeaderLostCapture();
            }
            return result;
        }
        return self->ListMessage(msg, wParam, lParam);
    } catch (...) {
        ReportError(CurrentExceptionText());
    }
    return 0;
}

LRESULT ListViewEx::ListMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = Handle();
    if (msg == WM_NOTIFY) {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.hwndFrom == header_ && header_ != nullptr) {
            return HeaderNotification(header, wParam, lParam);
        }
    } else if (msg == WM_TIMER && wParam == kRedescribeTimer) {
        ::KillTimer(hwnd, kRedescribeTimer);
        FinishDragging();
        return 0;
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT ListViewEx::HeaderNotification(NMHDR& header, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = HandleHeaderNotification(header.code, wParam, lParam);
    if (onMessageK) {
        onMessageK(static_cast<int>(header.code));
    }
    return result;
}

LRESULT ListViewEx::HandleHeaderNotification(UINT code, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = Handle();
    // An owner-drawn list cannot size a column to its texts: the list view
    // would measure texts it never draws.
    if ((code == HDN_DIVIDERDBLCLICKW || code == HDN_DIVIDERDBLCLICKA) && IsOwnerDrawn()) {
        return 0;
    }
    if (code == NM_RCLICK && headerMenu_ != nullptr) {
        POINT at{};
        ::GetCursorPos(&at);
        ::TrackPopupMenu(headerMenu_, TPM_RIGHTBUTTON, at.x, at.y, 0, ::GetParent(hwnd), nullptr);
        return TRUE;
    }
    const LRESULT result = ::DefSubclassProc(hwnd, WM_NOTIFY, wParam, lParam);
    switch (code) {
    case HDN_BEGINDRAG:
        // A non-zero answer refuses the drag (or the tracking below).
        dragging_ = result == 0;
        break;
    case HDN_ENDDRAG:
        dragging_ = false;
        ::SetTimer(hwnd, kRedescribeTimer, kRedescribeDelayMs, nullptr);
        break;
    case HDN_BEGINTRACKW:
    case HDN_BEGINTRACKA:
        resizing_ = result == 0;
        break;
    case NM_CUSTOMDRAW:
        if (IsOwnerDrawn()) {
            // Owner-drawn cells follow a column's width while it changes.
            RECT rows{};
            ::GetClientRect(hwnd, &rows);
            RECT bar{};
            ::GetWindowRect(header_, &bar);
            rows.top = bar.bottom - bar.top;
            ::InvalidateRect(hwnd, &rows, FALSE);
        }
        break;
    default:
        break;
    }
    return result;
}

void ListViewEx::HeaderLostCapture() {
    if (!resizing_) {
        return;
    }
    resizing_ = false;
    if (onResizingFinished) {
        onResizingFinished();
    }
}

} // namespace torvik::app
