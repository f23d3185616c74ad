#include "app/CaptionPanel.h"

#include <uxtheme.h>

#include "ui/PanelPlacement.h"

namespace torvik::app {
namespace {

constexpr int kCloseButtonId = 1;

win32::UniqueFont BoldGuiFont() {
    LOGFONTW font{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    return win32::UniqueFont(::CreateFontIndirectW(&font));
}

bool IsButtonDown(WPARAM event) {
    const UINT what = LOWORD(event);
    return what == WM_LBUTTONDOWN || what == WM_RBUTTONDOWN || what == WM_MBUTTONDOWN;
}

} // namespace

int CaptionPanel::CaptionBarHeight() {
    return ::IsAppThemed() ? 22 : 18;
}

bool CaptionPanel::Create(HWND parent, const std::wstring& caption, int width, int height) {
    if (!Window::Create(L"TorvikCaptionPanel",
                        WS_CHILD | WS_THICKFRAME | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        WS_EX_CONTROLPARENT, caption, 0, 0, width, height, parent)) {
        return false;
    }
    captionFont_ = BoldGuiFont();
    if (!body_.Create(Handle(), L"TorvikCaptionPanelBody",
                      static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))) ||
        !close_.Create(Handle(), L"\u00D7", kCloseButtonId)) {
        return false;
    }
    body_.onChildFocus = [this] { BringToFront(); };
    close_.onClick = [this] { Close(); };
    RECT client{};
    ::GetClientRect(Handle(), &client);
    OnSize(client.right, client.bottom);
    BringToFront();
    return true;
}

void CaptionPanel::SetCaption(const std::wstring& caption) {
    ::SetWindowTextW(Handle(), caption.c_str());
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

std::wstring CaptionPanel::Caption() const {
    return WindowText(Handle());
}

void CaptionPanel::ShowCloseButton(bool visible) {
    ::ShowWindow(close_.Handle(), visible ? SW_SHOW : SW_HIDE);
}

void CaptionPanel::CentreAndShow(int topOffset, int leftOffset) {
    RECT parent{}, panel{};
    ::GetClientRect(::GetParent(Handle()), &parent);
    ::GetWindowRect(Handle(), &panel);
    const PanelPoint corner = CentrePanel(parent.right, parent.bottom, panel.right - panel.left,
                                          panel.bottom - panel.top, topOffset, leftOffset);
    ::SetWindowPos(Handle(), HWND_TOP, corner.left, corner.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

void CaptionPanel::BringToFront() {
    ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CaptionPanel::KeepInsideParent() {
    const HWND parent = ::GetParent(Handle());
    if (::IsIconic(parent)) {
        return; // a minimized window has no client area to keep to
    }
    RECT client{}, window{};
    ::GetClientRect(parent, &client);
    ::GetWindowRect(Handle(), &window);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    const PanelRect now{window.left, window.top, window.right - window.left,
                        window.bottom - window.top};
    const PanelRect kept = KeepPanelInside(now, client.right, client.bottom);
    if (kept != now) {
        keepingInside_ = true;
        ::SetWindowPos(Handle(), nullptr, kept.left, kept.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        keepingInside_ = false;
    }
}

void CaptionPanel::Close() {
    if (onClose) {
        onClose();
    }
}

void CaptionPanel::OnSize(int width, int height) {
    const int bar = CaptionBarHeight();
    const int button = bar - 4;
    ::MoveWindow(close_.Handle(), width - button - 2, 2, button, button, TRUE);
    ::MoveWindow(body_.Handle(), 0, bar, width, height > bar ? height - bar : 0, TRUE);
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void CaptionPanel::Paint() {
    PAINTSTRUCT ps{};
    const HDC dc = ::BeginPaint(Handle(), &ps);
    RECT bar{};
    ::GetClientRect(Handle(), &bar);
    bar.bottom = CaptionBarHeight();
    ::FillRect(dc, &bar, ::GetSysColorBrush(COLOR_ACTIVECAPTION));
    RECT text = bar;
    text.left += 6;
    text.right -= bar.bottom; // leaves the close button alone
    const HGDIOBJ oldFont = ::SelectObject(dc, captionFont_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    const std::wstring caption = Caption();
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    ::SelectObject(dc, oldFont);
    ::EndPaint(Handle(), &ps);
}

LRESULT CaptionPanel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_NCHITTEST: {
        const LRESULT hit = ::DefWindowProcW(Handle(), msg, wParam, lParam);
        POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ScreenToClient(Handle(), &point);
        return hit == HTCLIENT && point.y < CaptionBarHeight() ? HTCAPTION : hit;
    }
    // A press anywhere on the panel: its bar and border, its body or a
    // control of the body.
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_LBUTTONDOWN:
        BringToFront();
        // The keyboard follows, so that Esc reaches the panel.
        ::SetFocus(Handle());
        break;
    case WM_PARENTNOTIFY:
        if (IsButtonDown(wParam)) {
            BringToFront();
        }
        break;
    case WM_MOUSEACTIVATE: {
        BringToFront();
        const LRESULT answer = ::DefWindowProcW(Handle(), msg, wParam, lParam);
        return answer != 0 ? answer : MA_ACTIVATE;
    }
    case WM_SETFOCUS:
        BringToFront();
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && closeOnEscape) {
            Close();
            return 0;
        }
        break;
    case WM_ENTERSIZEMOVE:
        inSizeMove_ = true;
        break;
    case WM_EXITSIZEMOVE:
        inSizeMove_ = false;
        KeepInsideParent();
        break;
    case WM_WINDOWPOSCHANGED: {
        // Moves made by the program are kept inside at once; the user's drag
        // only when it ends, so that the panel does not jump under the mouse.
        const auto& pos = *reinterpret_cast<const WINDOWPOS*>(lParam);
        const bool movedOrSized = (pos.flags & SWP_NOMOVE) == 0 || (pos.flags & SWP_NOSIZE) == 0;
        const LRESULT result = Window::HandleMessage(msg, wParam, lParam); // WM_MOVE, WM_SIZE
        if (movedOrSized && !inSizeMove_ && !keepingInside_) {
            KeepInsideParent();
        }
        return result;
    }
    default:
        break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

bool CaptionPanel::OnCommand(int id, int code, HWND control) {
    ForwardCommand(Handle(), id, code, control);
    return true;
}

std::optional<LRESULT> CaptionPanel::OnNotify(NMHDR& header) {
    return ForwardNotify(Handle(), header);
}

} // namespace torvik::app
