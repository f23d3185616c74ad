#pragma once
#include "app/PageControl.h"
#include "ui/PanelPlacement.h"

namespace torvik::app {

// A list beside a page control with a row per page whose caption does not
// begin with "_"; choosing a row shows its page, and the selection follows
// the pages shown by other means (no row is selected while a "_" page
// shows). The page control must outlive the bar.
class NavigationBar : public Control {
public:
    NavigationBar() = default;
    ~NavigationBar() override;

    bool Create(HWND parent, PageControl& pages, int id);
    // Lists the pages again: after pages were added.
    void Refresh();
    // The row selected, or -1.
    int SelectedRow() const;
    // As if the user had chosen the row.
    void SelectRow(int row);

    bool OnCommand(int code) override;

private:
    void Follow(int page);

    PageControl* pages_ = nullptr;
    int listenerKey_ = -1;
    NavigationRows rows_{{}};
};

} // namespace torvik::app
