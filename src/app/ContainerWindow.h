#pragma once
#include <functional>

#include "app/Window.h"

namespace torvik::app {

// What a child window does with the notifications its controls' objects
// leave: it passes them to its own parent.
void ForwardCommand(HWND from, int id, int code, HWND control);
LRESULT ForwardNotify(HWND from, NMHDR& header);

// A plain child window that holds controls (a page, a panel's body). The
// notifications of its controls reach their objects first, as in any Window;
// the rest go on to its parent, so that the window owning the page or panel
// sees its buttons' commands as if they were its own.
class ContainerWindow : public Window {
public:
    // Runs when one of its controls takes the keyboard focus.
    std::function<void()> onChildFocus;

    // background: a brush the container does not own (stock or system).
    bool Create(HWND parent, const wchar_t* className, HBRUSH background);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> OnNotify(NMHDR& header) override;

private:
    HBRUSH background_ = nullptr;
};

} // namespace torvik::app
