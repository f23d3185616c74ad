#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/ListViewEx.h"
#include "app/WindowTimer.h"
#include "inventory/ProgramLists.h"
#include "platform/TextCompare.h"
#include "platform/win32/UniqueHandle.h"
#include "ui/Debounce.h"
#include "ui/ListSortState.h"
#include "ui/ProgramFilter.h"
#include "ui/ProgramListModel.h"

namespace torvik::app {

// The "My programs" list: a virtual, owner-drawn list view over the
// published programs. It shows the programs the filter box and the switches
// let through, sorted by the header last clicked, each row drawn in the
// colours of its status. It changes no record.
class ProgramListView : public ListViewEx {
public:
    static constexpr std::chrono::milliseconds kFilterDelay{400};
    // The window's switches until SetSwitches: excluded and up-to-date
    // programs hidden, drivers not displayed.
    static constexpr ProgramFilterSwitches kInitialSwitches{
        .hideExcluded = true, .hideUpToDate = true, .displayDrivers = false};

    ProgramListView();
    ~ProgramListView() override;

    // Creates the list on parent over programs (ProgramList, which outlives
    // the view); texts sort through compare. Empty until the first Refill.
    bool Create(HWND parent, int id, const ProgramLists::RecordList& programs,
                const TextCompare& compare);
    // The columns as designed (caption:width:L:tag), the tags being
    // ProgramListModel's columns.
    static std::vector<std::wstring> DesignedColumns();

    // Before ProgramList's records are replaced: no row refers to them.
    void ClearRows();
    // Rebuilds the rows from ProgramList with the current filter and sets the
    // item count, in one freeze of the control.
    void Refill();
    // Sorts the rows again when a header was clicked; repaints.
    void Resort();

    // The status text of programs the service does not know.
    void SetRecheckText(std::wstring text);
    // The filter box's text and the switches: the list is rebuilt
    // kFilterDelay after the last change, keeping the selected row number.
    void SetFilterText(std::wstring text);
    void SetSwitches(ProgramFilterSwitches switches);
    const std::wstring& FilterText() const { return filterText_; }
    ProgramFilterSwitches Switches() const { return switches_; }

    // The selection by program, across a re-sort, a refill or a rescan.
    void SaveSelection();
    void RestoreSelection();
    // The record of the (first) selected row; nullptr when none.
    const TProgramRecord* SelectedRecord() const;
    bool IsSelected(const TProgramRecord& record) const;
    // Selects only that record's row, quietly, and scrolls it to the middle.
    void SelectRecordCentered(const TProgramRecord& record);

    // A row became selected by the user or the filter (not quietly).
    std::function<void(const TProgramRecord& record)> onProgramSelected;
    // The 16 x 16 icon of a program, not owned; nullptr draws none.
    std::function<HICON(const TProgramRecord& record)> iconFor;

    const ProgramListModel& Model() const { return model_; }
    const ListSortState& Sorting() const { return sort_; }
    // Puts the direction marks on the headers again (after the columns were
    // rebuilt, e.g. by a header drag).
    void ShowSortMarks();

    std::optional<LRESULT> OnNotify(NMHDR& header) override;

private:
    static LRESULT CALLBACK TimerSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR id, DWORD_PTR data);
    void OnFilterTimer();
    void SortByColumn(int column);
    void SelectRowsQuietly(const std::vector<int>& rows);
    void DrawRow(const DRAWITEMSTRUCT& item) const;

    const ProgramLists::RecordList* programs_ = nullptr;
    const TextCompare* compare_ = nullptr;
    ProgramListModel model_;
    ListSortState sort_;
    std::wstring filterText_;
    ProgramFilterSwitches switches_ = kInitialSwitches;
    std::vector<ProgramKey> savedSelection_;
    bool quiet_ = false;
    WindowTimer filterTimer_;
    Debounce filterDebounce_;
    win32::UniqueFont boldFont_;
};

} // namespace torvik::app
