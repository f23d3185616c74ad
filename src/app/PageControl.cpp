#include "app/PageControl.h"

#include <algorithm>

namespace torvik::app {

bool PageControl::Create(HWND parent, int x, int y, int width, int height) {
    return Window::Create(L"TorvikPageControl",
                          WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                          WS_EX_CONTROLPARENT, L"", x, y, width, height, parent);
}

HWND PageControl::AddPage(const std::wstring& caption) {
    auto page = std::make_unique<ContainerWindow>();
    if (!page->Create(Handle(), L"TorvikPage", ::GetSysColorBrush(COLOR_BTNFACE))) {
        return nullptr;
    }
    const HWND hwnd = page->Handle();
    ::SetWindowTextW(hwnd, caption.c_str());
    RECT client{};
    ::GetClientRect(Handle(), &client);
    ::MoveWindow(hwnd, 0, 0, client.right, client.bottom, FALSE);
    pages_.push_back(std::move(page));
    captions_.push_back(caption);
    if (active_ < 0) {
        ShowPage(0);
    } else {
        ::ShowWindow(hwnd, SW_HIDE);
    }
    return hwnd;
}

void PageControl::ShowPage(int index) {
    if (index < 0 || index >= PageCount() || index == active_) {
        return;
    }
    // The new page shows before the old one hides: no flash of the empty
    // control between them.
    ::ShowWindow(Page(index), SW_SHOW);
    if (active_ >= 0) {
        ::ShowWindow(Page(active_), SW_HIDE);
    }
    active_ = index;
    // A copy: a listener may add or remove listeners.
    const auto listeners = listeners_;
    for (const auto& [key, listener] : listeners) {
        listener(index);
    }
}

HWND PageControl::Page(int index) const {
    return index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)]->Handle()
                                             : nullptr;
}

std::wstring PageControl::Caption(int index) const {
    return index >= 0 && index < PageCount() ? captions_[static_cast<size_t>(index)]
                                             : std::wstring();
}

int PageControl::AddPageListener(std::function<void(int)> listener) {
    listeners_.emplace_back(nextListenerKey_, std::move(listener));
    return nextListenerKey_++;
}

void PageControl::RemovePageListener(int key) {
    std::erase_if(listeners_, [key](const auto& entry) { return entry.first == key; });
}

void PageControl::OnSize(int width, int height) {
    for (const auto& page : pages_) {
        ::MoveWindow(page->Handle(), 0, 0, width, height, TRUE);
    }
}

bool PageControl::OnCommand(int id, int code, HWND control) {
    ForwardCommand(Handle(), id, code, control);
    return true;
}

std::optional<LRESULT> PageControl::OnNotify(NMHDR& header) {
    return ForwardNotify(Handle(), header);
}

} // namespace torvik::app
