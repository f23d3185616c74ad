#include "app/NavigationBar.h"

#include "app/Controls.h"

namespace torvik::app {

NavigationBar::~NavigationBar() {
    if (pages_ != nullptr) {
        pages_->RemovePageListener(listenerKey_);
    }
}

bool NavigationBar::Create(HWND parent, PageControl& pages, int id) {
    const HWND hwnd = CreateChild(
        L"LISTBOX", WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
        parent, L"", id, WS_EX_CLIENTEDGE);
    if (hwnd == nullptr) {
        return false;
    }
    Attach(hwnd);
    pages_ = &pages;
    listenerKey_ = pages.AddPageListener([this](int page) { Follow(page); });
    Refresh();
    return true;
}

void NavigationBar::Refresh() {
    rows_ = NavigationRows(pages_->Captions());
    ::SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
    for (const auto& caption : rows_.Captions()) {
        ::SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    }
    Follow(pages_->ActivePage());
}

int NavigationBar::SelectedRow() const {
    return static_cast<int>(::SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
}

void NavigationBar::SelectRow(int row) {
    ::SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    pages_->ShowPage(rows_.PageOfRow(row));
}

bool NavigationBar::OnCommand(int code) {
    if (code != LBN_SELCHANGE) {
        return false;
    }
    pages_->ShowPage(rows_.PageOfRow(SelectedRow()));
    return true;
}

void NavigationBar::Follow(int page) {
    // LB_SETCURSEL sends no LBN_SELCHANGE: no loop back into ShowPage.
    ::SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(rows_.RowOfPage(page)), 0);
}

} // namespace torvik::app
