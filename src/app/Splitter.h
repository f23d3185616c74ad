#pragma once
#include <windows.h>

#include <functional>

#include "app/Window.h"
#include "platform/win32/UniqueHandle.h"
#include "ui/VerticalSplit.h"

namespace torvik::app {

// The bar between two areas one above the other: the user drags it up or
// down (the cursor shows it) and the lower area's height follows, within the
// limits. The chosen height stays while the window changes size.
class Splitter : public Window {
public:
    // lowerHeight: the lower area's designed height, until the user drags.
    bool Create(HWND parent, SplitLimits limits, int lowerHeight, COLORREF colour);
    // Puts the bar inside the area of the parent's client area that the two
    // areas and the bar share, and tells how high each area is.
    SplitHeights Arrange(int left, int top, int width, int height);
    // A drag moved the bar: the parent lays the areas out again (Arrange).
    std::function<void()> onMoved;

    int ChosenLowerHeight() const { return drag_.ChosenLower(); }
    bool Dragging() const { return drag_.Dragging(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // The mouse's height on the screen: the bar moves under it.
    int ScreenY(LPARAM lParam) const;

    SplitLimits limits_;
    SplitDrag drag_{{}, 0};
    win32::UniqueBrush brush_;
};

} // namespace torvik::app
