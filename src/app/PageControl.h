#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ContainerWindow.h"

namespace torvik::app {

// Pages on top of each other without tabs: the program (or a navigation
// bar) chooses which one shows. Each page is a child window with a caption;
// the pages fill the control and follow its size.
class PageControl : public Window {
public:
    bool Create(HWND parent, int x, int y, int width, int height);

    // A new page, hidden unless it is the first; its window is the parent
    // for the page's controls.
    HWND AddPage(const std::wstring& caption);
    // Shows that page alone; an index out of range changes nothing.
    void ShowPage(int index);
    // The page shown, or -1 before the first page.
    int ActivePage() const { return active_; }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    HWND Page(int index) const;
    std::wstring Caption(int index) const;
    std::vector<std::wstring> Captions() const { return captions_; }

    // Runs after every ShowPage that changes the page, wherever it was made.
    // Returns the listener's key for RemovePageListener.
    int AddPageListener(std::function<void(int page)> listener);
    void RemovePageListener(int key);

protected:
    // The pages' notifications go on to the window that holds the control.
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> OnNotify(NMHDR& header) override;
    void OnSize(int width, int height) override;

private:
    std::vector<std::unique_ptr<ContainerWindow>> pages_;
    std::vector<std::wstring> captions_;
    std::vector<std::pair<int, std::function<void(int)>>> listeners_;
    int nextListenerKey_ = 0;
    int active_ = -1;
};

} // namespace torvik::app
