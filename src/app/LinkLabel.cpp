#include "app/LinkLabel.h"

#include <windowsx.h>

#include "app/Controls.h"
#include "app/MarkupPainter.h"
#include "common/Error.h"
#include "platform/win32/UniqueHandle.h"

namespace torvik::app {
namespace {

constexpr wchar_t kClassName[] = L"TorvikLinkLabel";
constexpr COLORREF kLinkColor = RGB(0, 0, 255);
constexpr COLORREF kHoverColor = RGB(255, 0, 0);

void RegisterClassOnce(WNDPROC procedure) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (::GetClassInfoExW(instance, kClassName, &wc)) {
        return;
    }
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    ::RegisterClassExW(&wc);
}

HCURSOR HandCursor() {
    return ::LoadCursorW(nullptr, IDC_HAND);
}

} // namespace

bool LinkLabel::Create(HWND parent, const std::wstring& caption, int id) {
    RegisterClassOnce(WindowProc);
    const HWND hwnd = ::CreateWindowExW(0, kClassName, L"", kChildStyle, 0, 0, 0, 0, parent,
                                        reinterpret_cast<HMENU>(INT_PTR{id}),
                                        ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) {
        return false;
    }
    Attach(hwnd);
    SetCaption(caption);
    return true;
}

void LinkLabel::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    displayText_ = LinkDisplayText(caption);
    ::SetWindowTextW(Handle(), caption.c_str());
    ApplyLinkColor();
    AdjustBounds();
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void LinkLabel::SetFont(HFONT font) {
    font_ = font;
    parentFont_ = font == nullptr;
    ApplyLinkColor();
    AdjustBounds();
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void LinkLabel::SetFontColor(COLORREF color) {
    textColor_ = backupColor_ = color;
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void LinkLabel::SetBackground(std::optional<COLORREF> color) {
    background_ = color;
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void LinkLabel::SetVerticalLayout(VerticalLayout layout) {
    layout_ = layout;
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void LinkLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    AdjustBounds();
}

void LinkLabel::SetRightJustify(bool rightJustify) {
    rightJustify_ = rightJustify;
}

void LinkLabel::Enable(bool enabled) {
    ::EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

HFONT LinkLabel::Font() const {
    if (!parentFont_) {
        return font_;
    }
    const auto parentFont =
        reinterpret_cast<HFONT>(::SendMessageW(::GetParent(Handle()), WM_GETFONT, 0, 0));
    return parentFont != nullptr ? parentFont
                                 : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

// A link in the parent's font looks like a link; one with a font of its own
// keeps the colour it was given.
void LinkLabel::ApplyLinkColor() {
    if (IsLink() && parentFont_) {
        textColor_ = backupColor_ = kLinkColor;
    }
}

SIZE LinkLabel::MeasuredSize() const {
    const win32::WindowDc dc(Handle());
    MarkupFonts fonts(dc.get(), Font());
    GdiMeasurer measurer(dc.get(), fonts);
    MarkupFrame frame;
    frame.style = fonts.BaseStyle();
    const MarkupLayout layout = LayoutMarkup(displayText_, frame, measurer);
    return {layout.width, layout.height};
}

void LinkLabel::AdjustBounds() {
    if (!autoSize_ || Handle() == nullptr) {
        return;
    }
    RECT bounds{};
    ::GetWindowRect(Handle(), &bounds);
    ::MapWindowPoints(nullptr, ::GetParent(Handle()), reinterpret_cast<POINT*>(&bounds), 2);
    const SIZE size = MeasuredSize();
    const int left = rightJustify_ ? bounds.right - size.cx : bounds.left;
    ::SetWindowPos(Handle(), nullptr, left, bounds.top, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void LinkLabel::MouseEntered() {
    mouseInside_ = true;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
    ::TrackMouseEvent(&track);
    if (IsLink() && ::IsWindowEnabled(Handle())) {
        textColor_ = kHoverColor;
        ::SetCursor(HandCursor());
        ::InvalidateRect(Handle(), nullptr, FALSE);
    }
}

void LinkLabel::MouseLeft() {
    mouseInside_ = false;
    textColor_ = backupColor_;
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void LinkLabel::Paint(HDC target) const {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    if (client.right <= 0 || client.bottom <= 0) {
        return;
    }
    // Drawn off screen first: the disabled look draws twice and would flicker.
    const win32::UniqueCreatedDc dc(::CreateCompatibleDC(target));
    const win32::UniqueBitmap bitmap(::CreateCompatibleBitmap(target, client.right, client.bottom));
    const win32::SelectedObject selected(dc.get(), bitmap.get());
    if (background_) {
        const win32::UniqueBrush brush(::CreateSolidBrush(*background_));
        ::FillRect(dc.get(), &client, brush.get());
    } else {
        // Transparent: the parent erases its own background under the label.
        POINT offset{0, 0};
        ::MapWindowPoints(Handle(), ::GetParent(Handle()), &offset, 1);
        POINT previous{};
        ::SetWindowOrgEx(dc.get(), offset.x, offset.y, &previous);
        ::SendMessageW(::GetParent(Handle()), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
        ::SetWindowOrgEx(dc.get(), previous.x, previous.y, nullptr);
    }

    MarkupFonts fonts(dc.get(), Font());
    GdiMeasurer measurer(dc.get(), fonts);
    const bool enabled = ::IsWindowEnabled(Handle()) != FALSE;
    MarkupFrame frame;
    frame.width = client.right;
    frame.style = fonts.BaseStyle();
    frame.disabledLook = !enabled;
    const MarkupLayout layout = LayoutMarkup(displayText_, frame, measurer);
    const int top = layout_ == VerticalLayout::Top      ? 0
                    : layout_ == VerticalLayout::Center ? (client.bottom - layout.height) / 2
                                                        : client.bottom - layout.height;
    if (enabled) {
        PaintMarkup(dc.get(), layout, fonts, {0, top}, textColor_, false);
    } else {
        PaintMarkup(dc.get(), layout, fonts, {1, top + 1}, ::GetSysColor(COLOR_BTNHIGHLIGHT), true);
        PaintMarkup(dc.get(), layout, fonts, {0, top}, ::GetSysColor(COLOR_BTNSHADOW), true);
    }
    ::BitBlt(target, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
}

LRESULT LinkLabel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = Handle();
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        const HDC dc = ::BeginPaint(hwnd, &ps);
        Paint(dc);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers every pixel
    case WM_SETCURSOR:
        if (IsLink()) {
            ::SetCursor(HandCursor());
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        if (!mouseInside_) {
            MouseEntered();
        }
        return 0;
    case WM_MOUSELEAVE:
        MouseLeft();
        return 0;
    case WM_ENABLE:
        if (wParam == FALSE) {
            MouseLeft();
        }
        ::InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        ::SetCapture(hwnd);
        return 0;
    case WM_LBUTTONUP: {
        if (!pressed_) {
            return 0;
        }
        pressed_ = false;
        ::ReleaseCapture();
        RECT client{};
        ::GetClientRect(hwnd, &client);
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (::PtInRect(&client, at) && onClick) {
            // A copy: the handler may destroy the label.
            const auto click = onClick;
            click();
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        return 0;
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wParam));
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(Font());
    case WM_WINDOWPOSCHANGING: {
        // Whoever places the label, auto-size decides its size.
        auto& pos = *reinterpret_cast<WINDOWPOS*>(lParam);
        if (autoSize_ && (pos.flags & SWP_NOSIZE) == 0) {
            const SIZE size = MeasuredSize();
            if (rightJustify_ && (pos.flags & SWP_NOMOVE) == 0) {
                pos.x += pos.cx - size.cx;
            }
            pos.cx = size.cx;
            pos.cy = size.cy;
        }
        break;
    }
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK LinkLabel::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Only LinkLabel objects attach themselves to windows of this class.
    auto* self = static_cast<LinkLabel*>(Control::Of(hwnd));
    if (self == nullptr) {
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    try {
        return self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        ReportError(CurrentExceptionText());
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace torvik::app
