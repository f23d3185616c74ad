#include "app/WebPage.h"

namespace torvik::app {

bool WebPage::Create(HWND parent, HostCondition hostBrowser) {
    if (!Window::Create(L"TorvikWebPage", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        0, L"", 0, 0, 0, 0, parent)) {
        return false;
    }
    if (ole_.Initialized() && hostBrowser()) {
        browser_.Host(Handle());
    }
    return true;
}

bool WebPage::Navigate(const std::wstring& url) {
    return browser_.Navigate(url);
}

LRESULT WebPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The control deactivates while its window and this one still exist;
    // the children go only after this message.
    if (msg == WM_DESTROY) {
        browser_.Close();
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

void WebPage::OnSize(int width, int height) {
    browser_.Resize(width, height);
}

} // namespace torvik::app
