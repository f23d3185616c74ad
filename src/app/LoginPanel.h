#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "app/CaptionPanel.h"
#include "app/Controls.h"
#include "app/NavigationBar.h"
#include "app/PageControl.h"
#include "ui/AccountFlow.h"

namespace torvik::app {

// The floating "Login" panel: one page at a time, without tabs, for
// registering, logging in and changing the user name or the password; a
// list beside the pages moves between them. Password boxes mask what is
// typed.
class LoginPanel {
public:
    using Page = AccountView::Page;
    using Box = AccountView::Box;

    // The pages' buttons; closing (each page's "Close" and the caption's
    // button) hides the panel here.
    std::function<void()> onRegister, onLogin, onChangeUsername, onChangePassword;

    bool Create(HWND parent);
    HWND Handle() const { return panel_.Handle(); }
    bool Visible() const { return ::IsWindowVisible(Handle()) != FALSE; }

    void ShowPage(Page page);
    void CentreAndShow() { panel_.CentreAndShow(); }
    void Hide() { ::ShowWindow(Handle(), SW_HIDE); }

    std::wstring Text(Box box) const;
    void SetText(Box box, const std::wstring& text);
    void Focus(Box box);

private:
    HWND AddBox(HWND page, const wchar_t* caption, int y, Box box, int id, DWORD style);
    bool AddButtons(HWND page, Button& action, const wchar_t* caption, int id, Button& close);

    CaptionPanel panel_;
    PageControl pages_;
    NavigationBar navigation_;
    std::map<Box, HWND> boxes_;
    Button register_, login_, changeUsername_, changePassword_;
    Button closeRegister_, closeLogin_, closeUsername_, closePassword_;
};

} // namespace torvik::app
