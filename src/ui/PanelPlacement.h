#pragma once
#include <string>
#include <vector>

namespace torvik {

// Where a floating panel lies in its window's client area, in pixels.
struct PanelRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const PanelRect&) const = default;
};

// The part of a panel that always stays reachable inside its window.
inline constexpr int kPanelGrip = 100;

// The panel moved back into a client area of clientWidth x clientHeight
// after the user moved or resized it: its top not above the window, at least
// kPanelGrip pixels of it inside on the left, and its top-left corner at
// least kPanelGrip pixels inside the right and bottom edges. The size never
// changes. On a window too small for all of them, the edges nearest the
// origin win: top >= 0 over top <= clientHeight - 100, and
// left + width >= 100 over left <= clientWidth - 100, so the caption bar
// stays where the mouse can reach it.
PanelRect KeepPanelInside(PanelRect panel, int clientWidth, int clientHeight);

struct PanelPoint {
    int left = 0, top = 0;
    bool operator==(const PanelPoint&) const = default;
};

// The top-left corner that centres a panel in its parent, shifted by the
// offsets; halves are truncated toward zero (a panel wider than its parent
// gets a negative left).
PanelPoint CentrePanel(int parentWidth, int parentHeight, int panelWidth, int panelHeight,
                       int topOffset, int leftOffset);

// The rows of a navigation bar beside a page control: the pages in order,
// without those whose caption begins with "_" (pages the program shows by
// itself, never by the user's choice).
class NavigationRows {
public:
    explicit NavigationRows(const std::vector<std::wstring>& pageCaptions);

    const std::vector<std::wstring>& Captions() const { return captions_; }
    int Count() const { return static_cast<int>(pages_.size()); }
    // The page a row shows, or -1 for a row that does not exist.
    int PageOfRow(int row) const;
    // The row that lists a page, or -1 for a page the bar leaves out.
    int RowOfPage(int page) const;

private:
    std::vector<std::wstring> captions_;
    std::vector<int> pages_;
};

} // namespace torvik
