#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Window.h"
#include "ui/ColumnDescription.h"

namespace torvik::app {

struct ListViewExOptions {
    bool ownerData = false; // virtual: SetItemCount + cellText
    bool ownerDraw = false; // rows painted by drawItem (the parent routes WM_DRAWITEM)
    bool checkBoxes = false;
};

// A report-style list view whose columns the user may drag and resize and
// whose description (see ui/ColumnDescription.h) follows, so the settings can
// keep it. Rows are arrays of texts: the caption, then its sub-items. In
// virtual mode the rows live with the caller, who answers cellText and keeps
// LvItems (the record id of each row) for the selection to survive a
// re-sort.
class ListViewEx : public Control {
public:
    using Options = ListViewExOptions;

    ListViewEx() = default;
    ~ListViewEx() override;

    bool Create(HWND parent, int id, const Options& options = {});
    bool IsVirtual() const { return options_.ownerData; }
    bool IsOwnerDrawn() const { return options_.ownerDraw; }

    // Columns. The designed description is what the code asks for; the
    // current one is what the user made of it (rewritten after each drag of
    // a header item: the control's columns are then rebuilt in the new order,
    // the texts of a plain list moving with them).
    void SetDesignedColumns(const std::vector<std::wstring>& description);
    void ResetColumns_LVEX();
    const std::vector<std::wstring>& ColumnDescription() const { return columsCurrent; }
    int ColumnCount() const;
    // The tag of a column (its identity from the description); -1 outside.
    int ColumnTag(int column) const;
    std::vector<std::wstring> columsOriginal;
    std::vector<std::wstring> columsCurrent;

    // Rows of texts (not in virtual mode, where the caller holds the rows).
    bool AddToTop = false;
    // Adds a row: the first text is the caption, the others its sub-items;
    // at the top when AddToTop is set. Returns the row, -1 when it failed.
    int AddRange(const std::vector<std::wstring>& texts);
    int AddRangeTop(const std::vector<std::wstring>& texts);
    // Caption then sub-items (in virtual mode one text per column from
    // cellText); empty outside the list.
    std::vector<std::wstring> GetLVLineAr(int row) const;
    void SetLVLineAr(int row, const std::vector<std::wstring>& texts);
    // How many sub-items the row was given (kept in the item's lParam); -1
    // outside the list.
    int SubItemCount(int row) const;
    // Swaps the texts and the check boxes of two rows.
    void ExchangeItems(int a, int b);
    // The first row whose caption equals caption (trimmed, case ignored); -1.
    int IndexOf_CI(std::wstring_view caption) const;
    // The caption of the selected row, or empty.
    std::wstring GetText_K() const;
    // Removes every row (in virtual mode: the count and LvItems) in one
    // update of the screen.
    void ClearItems();
    void Clear() { ClearItems(); }
    int Count() const;
    bool IsChecked(int row) const;
    void SetChecked(int row, bool checked);

    // Selection and scrolling.
    int SelectedIndex() const;
    int FocusedIndex() const;
    std::vector<int> SelectedRows() const;
    // Lines per page of the rows area (below the header); 0 outside report style.
    int ItemsPerPage() const;
    // Scrolls row to the middle of the page; -1 means the selected row (none:
    // nothing happens). A row outside the list raises "SPropertyOutOfRange".
    void EnsureVisibleCentered(int row = -1);
    // Scrolls so that row is the top row, as far as the list scrolls.
    void SetTopItem(int row);
    // The top row; -1 in an empty list.
    int GetTopItem() const;
    // True once each time the top row differs from the previous call.
    bool IsTopItemChanged();
    // Scrolls row (-1: the selected one) into view and gives it the focus.
    void MakeVisibleK(int row = -1);
    void FocusSelected();
    // Moves the selected row one place up (-1) or down (+1) by exchanging it
    // with its neighbour; not in virtual mode. Raises "cannot exhcange rows"
    // when the two rows have different numbers of sub-items.
    void MoveSelectedByX(int step);
    // Moves the focus and the selection by step rows, stopping at the ends.
    void MoveFocusByX(int step);
    // Keeps the selected row's number; restoring selects it again, or the
    // last row when the list became shorter.
    void SaveSelection2();
    void RestoreSelection2();
    // Keeps the selected and top rows: by row number, or in virtual mode by
    // record id (LvItems), so that they are found again after a re-sort.
    void SaveSelectionExXX();
    void RestoreSelectionExXX();
    // Selects and focuses that row only, without onSelectionChanged, and
    // scrolls it to the middle of the page when it is not in view.
    void SelectItemIdCentered(int row);
    // The same, taking the last row when row is past the end.
    void SelectItemIdCentered_OrNearer(int row);

    // Virtual mode.
    std::vector<int> LvItems; // record id of each row, in row order
    void SetItemCount(int count);
    // The text of a cell; column is the column's tag, so that it does not
    // change when the user reorders the columns.
    std::function<std::wstring(int row, int column)> cellText;

    // Owner drawing. A column's cell in client pixels: left and right from
    // the widths of the columns shown before it, less the horizontal scroll;
    // top and bottom from rowRect (T2: the top 2 pixels lower).
    RECT GetAbsColumnRect(int column, const RECT& rowRect = {}) const;
    RECT GetAbsColumnRectT2(int column, const RECT& rowRect = {}) const;
    // One line, vertically centred, cut with an ellipsis, "&" shown as is.
    static void DrawTextW_Left(HDC hdc, const std::wstring& text, const RECT& rect);
    static void DrawTextW_Right(HDC hdc, const std::wstring& text, const RECT& rect);
    // The same, kTextMargin pixels in from both sides of the cell.
    static constexpr int kTextMargin = 4;
    static void DrawTextW_Left_2(HDC hdc, const std::wstring& text, const RECT& rect);
    static void DrawTextW_Right_2(HDC hdc, const std::wstring& text, const RECT& rect);
    // Paints a row; without it the row's texts are drawn in their columns.
    std::function<void(DRAWITEMSTRUCT& item)> drawItem;

    // The header.
    HWND Header() const;
    // A popup menu (not owned) opened by a right click on the header; its
    // commands go to the list's parent as WM_COMMAND. nullptr: none.
    void SetHeaderPopupMenu(HMENU menu) { headerMenu_ = menu; }
    bool IsDragging() const { return dragging_; }
    bool IsResizing() const { return resizing_; }
    // After a header drag, once the description and the columns are new.
    std::function<void()> onDraggingFinished;
    // When the header lets the mouse go after the user sized a column.
    std::function<void()> onResizingFinished;
    // Every header notification code, after it was handled.
    std::function<void(int code)> onMessageK;
    // A row became selected (not when the selection is set quietly).
    std::function<void(int row)> onSelectionChanged;

    std::optional<LRESULT> OnNotify(NMHDR& header) override;
    bool OnDrawItem(DRAWITEMSTRUCT& item) override;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    LRESULT ListMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HeaderNotification(NMHDR& header, WPARAM wParam, LPARAM lParam);
    LRESULT HandleHeaderNotification(UINT code, WPARAM wParam, LPARAM lParam);
    void HeaderLostCapture();
    void FinishDragging();
    void ApplyColumns(const std::vector<ColumnSpec>& columns, const std::vector<int>& sources);
    std::vector<int> ColumnOrder() const;
    void SelectRow(int row, bool quiet);
    int RowHeight() const;
    std::vector<ColumnSpec> ColumnsInDisplayOrder() const;
    std::wstring ItemText(int row, int column) const;
    void DrawRowTexts(const DRAWITEMSTRUCT& item) const;

    Options options_;
    HWND header_ = nullptr;
    HMENU headerMenu_ = nullptr;
    std::vector<ColumnSpec> columns_; // in the control's column order
    bool dragging_ = false;
    bool resizing_ = false;
    bool quietSelection_ = false;
    int lastTop_ = -1;
    int savedSelection2_ = -1;
    int savedRow_ = -1;
    int savedTop_ = -1;
    std::vector<int> savedIds_;
    int savedTopId_ = -1;
    bool hasSavedTopId_ = false;
};

} // namespace torvik::app
