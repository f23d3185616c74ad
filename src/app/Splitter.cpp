#include "app/Splitter.h"

#include "app/Controls.h"

namespace torvik::app {

bool Splitter::Create(HWND parent, SplitLimits limits, int lowerHeight, COLORREF colour) {
    limits_ = limits;
    drag_ = SplitDrag(limits, lowerHeight);
    brush_.reset(::CreateSolidBrush(colour));
    return Window::Create(L"TorvikSplitter", kChildStyle, 0, L"", 0, 0, 0, limits_.bar, parent);
}

SplitHeights Splitter::Arrange(int left, int top, int width, int height) {
    const SplitHeights heights = drag_.Arrange(height);
    ::MoveWindow(Handle(), left, top + heights.upper, width, limits_.bar, TRUE);
    return heights;
}

int Splitter::ScreenY(LPARAM lParam) const {
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ClientToScreen(Handle(), &at);
    return at.y;
}

LRESULT Splitter::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS));
        return TRUE;
    case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(Handle(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, brush_.get());
        return 1;
    }
    case WM_LBUTTONDOWN:
        ::SetCapture(Handle());
        drag_.Begin(ScreenY(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (drag_.Move(ScreenY(lParam)) && onMoved) {
            onMoved();
        }
        return 0;
    case WM_LBUTTONUP:
        drag_.End();
        if (::GetCapture() == Handle()) {
            ::ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the mouse (a menu, a message box).
        drag_.End();
        return 0;
    default:
        return Window::HandleMessage(msg, wParam, lParam);
    }
}

} // namespace torvik::app
