#include "app/FadingPopup.h"

#include <algorithm>

namespace torvik::app {
namespace {
constexpr UINT_PTR kHoldTimer = 1;
constexpr UINT_PTR kFadeTimer = 2;
constexpr int kLabelLeft = 10;
} // namespace

bool FadingPopup::Create(const std::wstring& text) {
    if (!Window::Create(L"TFormFadingPopup", WS_POPUP | WS_BORDER,
                        WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_NOACTIVATE, L"", 0,
                        0, 110, 30, ::GetDesktopWindow())) {
        return false;
    }
    const HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    if (HDC dc = ::GetDC(Handle())) {
        const HGDIOBJ old = ::SelectObject(dc, font);
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        ::SelectObject(dc, old);
        ::ReleaseDC(Handle(), dc);
    }
    const HWND label = ::CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE,
                                         kLabelLeft, 7, extent.cx, extent.cy, Handle(), nullptr,
                                         ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);

    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const PopupPlacement place =
        PlacePopup(work.right - work.left, work.bottom - work.top, slot_, kLabelLeft + extent.cx);
    ::SetLayeredWindowAttributes(Handle(), 0, 255, LWA_ALPHA);
    ::SetWindowPos(Handle(), HWND_TOPMOST, place.left, place.top, place.width, 30, SWP_NOACTIVATE);
    ::ShowWindow(Handle(), SW_SHOWNA);
    ::SetTimer(Handle(), kHoldTimer, kPopupHoldMs, nullptr);
    return true;
}

LRESULT FadingPopup::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kHoldTimer) {
        ::KillTimer(Handle(), kHoldTimer);
        ::SetTimer(Handle(), kFadeTimer, kPopupFadeTickMs, nullptr);
        return 0;
    }
    if (msg == WM_TIMER && wParam == kFadeTimer) {
        alpha_ = NextPopupAlpha(alpha_);
        ::SetLayeredWindowAttributes(Handle(), 0, static_cast<BYTE>(alpha_), LWA_ALPHA);
        if (alpha_ == 0) {
            ::KillTimer(Handle(), kFadeTimer);
            ::DestroyWindow(Handle());
        }
        return 0;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

void FadingPopup::OnDestroyed() {
    owner_.Closed(this);
}

void FadingPopups::Show(const std::wstring& text) {
    auto popup = std::make_unique<FadingPopup>(*this, slots_.Acquire());
    FadingPopup* raw = popup.get();
    popups_.push_back(std::move(popup));
    if (!raw->Create(text)) {
        Closed(raw);
    }
}

void FadingPopups::Closed(FadingPopup* popup) {
    // Called from the popup's own last message: after this returns the
    // window procedure touches the object no more.
    const auto it = std::find_if(popups_.begin(), popups_.end(),
                                 [popup](const auto& p) { return p.get() == popup; });
    if (it != popups_.end()) {
        slots_.Release(popup->Slot());
        popups_.erase(it);
    }
}

} // namespace torvik::app
