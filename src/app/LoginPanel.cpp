#include "app/LoginPanel.h"

#include "app/MainWindowIds.h"

namespace torvik::app {
namespace {

constexpr int kPanelWidth = 544, kPanelHeight = 281;
constexpr int kNavigationWidth = 146;
constexpr int kCaptionX = 12, kCaptionWidth = 120;
constexpr int kBoxX = 134, kBoxWidth = 240;
constexpr int kButtonsTop = 170;

} // namespace

bool LoginPanel::Create(HWND parent) {
    if (!panel_.Create(parent, L"Login", kPanelWidth, kPanelHeight)) {
        return false;
    }
    const HWND body = panel_.Body();
    const int bodyHeight = kPanelHeight - CaptionPanel::CaptionBarHeight();
    if (!pages_.Create(body, kNavigationWidth, 0, kPanelWidth - kNavigationWidth, bodyHeight)) {
        return false;
    }
    // In the order of AccountView::Page.
    const HWND registerPage = pages_.AddPage(L"Register");
    const HWND loginPage = pages_.AddPage(L"Login");
    const HWND usernamePage = pages_.AddPage(L"Change Username");
    const HWND passwordPage = pages_.AddPage(L"Change Password");

    AddBox(registerPage, L"Username:", 40, Box::RegisterName, kIdRegisterName, 0);
    AddBox(registerPage, L"Password:", 72, Box::RegisterPassword, kIdRegisterPassword, ES_PASSWORD);
    AddBox(loginPage, L"Username:", 40, Box::LoginName, kIdLoginName, 0);
    AddBox(loginPage, L"Password:", 72, Box::LoginPassword, kIdLoginPassword, ES_PASSWORD);
    AddBox(usernamePage, L"Existing Username:", 40, Box::ExistingName, kIdExistingName,
           ES_READONLY);
    AddBox(usernamePage, L"New Username:", 72, Box::NewName, kIdNewName, 0);
    AddBox(passwordPage, L"Existing Username:", 40, Box::PasswordPageName, kIdPasswordPageName,
           ES_READONLY);
    AddBox(passwordPage, L"Password:", 72, Box::NewPassword, kIdNewPassword, ES_PASSWORD);
    for (const auto& [page, title] :
         {std::pair{registerPage, L"Register a new account"}, std::pair{loginPage, L"Login"},
          std::pair{usernamePage, L"Change your user name"},
          std::pair{passwordPage, L"Change your password"}}) {
        Place(CreateChild(L"STATIC", SS_LEFT, page, title, 0), kCaptionX, 10, 360, 18);
    }
    if (!AddButtons(registerPage, register_, L"Register", kIdRegister, closeRegister_) ||
        !AddButtons(loginPage, login_, L"Login", kIdLogin, closeLogin_) ||
        !AddButtons(usernamePage, changeUsername_, L"Change username", kIdChangeUsername,
                    closeUsername_) ||
        !AddButtons(passwordPage, changePassword_, L"Change password", kIdChangePassword,
                    closePassword_)) {
        return false;
    }
    if (!navigation_.Create(body, pages_, kIdLoginPages)) {
        return false;
    }
    Place(navigation_.Handle(), 0, 0, kNavigationWidth - 6, bodyHeight - 8);
    register_.onClick = [this] { RunIfSet(onRegister); };
    login_.onClick = [this] { RunIfSet(onLogin); };
    changeUsername_.onClick = [this] { RunIfSet(onChangeUsername); };
    changePassword_.onClick = [this] { RunIfSet(onChangePassword); };
    panel_.onClose = [this] { Hide(); };
    return true;
}

HWND LoginPanel::AddBox(HWND page, const wchar_t* caption, int y, Box box, int id, DWORD style) {
    Place(CreateChild(L"STATIC", SS_LEFT, page, caption, 0), kCaptionX, y + 3, kCaptionWidth, 16);
    const HWND edit =
        CreateChild(L"EDIT", style | ES_AUTOHSCROLL | WS_TABSTOP, page, L"", id, WS_EX_CLIENTEDGE);
    Place(edit, kBoxX, y, kBoxWidth, 21);
    ::SendMessageW(edit, EM_SETLIMITTEXT, 200, 0);
    boxes_[box] = edit;
    return edit;
}

bool LoginPanel::AddButtons(HWND page, Button& action, const wchar_t* caption, int id,
                            Button& close) {
    if (!action.Create(page, caption, id) || !close.Create(page, L"Close", 0)) {
        return false;
    }
    Place(action.Handle(), kBoxX, kButtonsTop, 140, 25);
    Place(close.Handle(), kBoxX + kBoxWidth - 90, kButtonsTop, 90, 25);
    close.onClick = [this] { Hide(); };
    return true;
}

void LoginPanel::ShowPage(Page page) {
    pages_.ShowPage(static_cast<int>(page));
}

std::wstring LoginPanel::Text(Box box) const {
    return WindowText(boxes_.at(box));
}

void LoginPanel::SetText(Box box, const std::wstring& text) {
    ::SetWindowTextW(boxes_.at(box), text.c_str());
}

void LoginPanel::Focus(Box box) {
    ::SetFocus(boxes_.at(box));
}

} // namespace torvik::app
