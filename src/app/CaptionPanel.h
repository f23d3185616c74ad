#pragma once
#include <functional>
#include <string>

#include "app/ContainerWindow.h"
#include "app/Controls.h"
#include "platform/win32/UniqueHandle.h"

namespace torvik::app {

// A panel floating over its window's other controls: a caption bar in the
// active-caption colour (white text, a close button at its right) by which
// the user drags it, a border to resize it and a white body for its
// controls. The user cannot lose it: after a move or a resize it is pushed
// back within KeepPanelInside's limits. A click in it, or the focus going to
// one of its controls, brings it in front of its sibling panels.
class CaptionPanel : public Window {
public:
    // The close button's click (and Esc when closeOnEscape): the owner
    // decides what closing means (hiding, cancelling a wait...).
    std::function<void()> onClose;
    bool closeOnEscape = false;

    // Created hidden, at 0, 0; the caption may be empty.
    bool Create(HWND parent, const std::wstring& caption, int width, int height);

    // The parent for the panel's controls: the client area below the bar.
    HWND Body() const { return body_.Handle(); }
    HWND CloseButton() const { return close_.Handle(); }

    void SetCaption(const std::wstring& caption);
    std::wstring Caption() const;
    void ShowCloseButton(bool visible);

    // Centres the panel in its parent, shifted by the offsets, and shows it
    // in front.
    void CentreAndShow(int topOffset = 0, int leftOffset = 0);
    void BringToFront();
    // Pushes the panel back within the limits (also for the owner to call
    // when its window shrinks).
    void KeepInsideParent();

    // 22 pixels when visual styles are active, 18 without.
    static int CaptionBarHeight();

protected:
    // The body's notifications go on to the window that holds the panel.
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> OnNotify(NMHDR& header) override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnSize(int width, int height) override;

private:
    void Paint();
    void Close();

    ContainerWindow body_;
    Button close_;
    win32::UniqueFont captionFont_;
    bool inSizeMove_ = false;
    bool keepingInside_ = false;
};

} // namespace torvik::app
