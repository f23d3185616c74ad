#include "ui/PanelPlacement.h"

#include <algorithm>

namespace torvik {

PanelRect KeepPanelInside(PanelRect panel, int clientWidth, int clientHeight) {
    // The far limits first, so that the near ones have the last word.
    panel.left = std::min(panel.left, clientWidth - kPanelGrip);
    panel.top = std::min(panel.top, clientHeight - kPanelGrip);
    panel.left = std::max(panel.left, kPanelGrip - panel.width);
    panel.top = std::max(panel.top, 0);
    return panel;
}

PanelPoint CentrePanel(int parentWidth, int parentHeight, int panelWidth, int panelHeight,
                       int topOffset, int leftOffset) {
    return {(parentWidth - panelWidth) / 2 + leftOffset,
            (parentHeight - panelHeight) / 2 + topOffset};
}

NavigationRows::NavigationRows(const std::vector<std::wstring>& pageCaptions) {
    for (size_t page = 0; page < pageCaptions.size(); ++page) {
        const std::wstring& caption = pageCaptions[page];
        if (caption.empty() || caption.front() != L'_') {
            captions_.push_back(caption);
            pages_.push_back(static_cast<int>(page));
        }
    }
}

int NavigationRows::PageOfRow(int row) const {
    return row >= 0 && row < Count() ? pages_[static_cast<size_t>(row)] : -1;
}

int NavigationRows::RowOfPage(int page) const {
    const auto found = std::find(pages_.begin(), pages_.end(), page);
    return found != pages_.end() ? static_cast<int>(found - pages_.begin()) : -1;
}

} // namespace torvik
