#pragma once
#include <string>

#include "exchange/ScreenedPost.h"
#include "platform/Dialogs.h"

namespace torvik {

// The login panel and the account as the main window shows them.
class AccountView {
public:
    enum class Page { Register, Login, ChangeUsername, ChangePassword };
    // The panel's boxes: "Register" (user name, password), "Login" (user
    // name, password), "Change Username" (the existing name, read-only, and
    // the new one), "Change Password" (the existing name, read-only, and the
    // new password).
    enum class Box {
        RegisterName,
        RegisterPassword,
        LoginName,
        LoginPassword,
        ExistingName,
        NewName,
        PasswordPageName,
        NewPassword,
    };

    virtual ~AccountView() = default;
    virtual std::wstring BoxText(Box box) = 0;
    virtual void SetBoxText(Box box, const std::wstring& text) = 0;
    virtual void FocusBox(Box box) = 0;
    // The panel centred in front, on the page.
    virtual void ShowLoginPanel(Page page) = 0;
    virtual void HideLoginPanel() = 0;
    // The anonymous user id of the settings (edUserName).
    virtual std::wstring UserId() = 0;
    // The account name of the settings (edUserName2), and the one shown at
    // the top of the window.
    virtual std::wstring AccountName() = 0;
    virtual std::wstring ShownAccountName() = 0;
    // Sets both.
    virtual void SetAccountName(const std::wstring& name) = 0;
    virtual void SaveSettings() = 0;
};

// Registration, login and the changes of user name and password, each one
// request that the window waits for. Service and screening errors
// propagate to the window's error handling; the panel then stays open.
// owner: of the question boxes.
class AccountFlow {
public:
    AccountFlow(ServiceAccess service, Dialogs& dialogs, WindowHandle owner, AccountView& view)
        : service_(std::move(service)), dialogs_(dialogs), owner_(owner), view_(view) {}

    // ".." beside the account name, and "My account".
    void bMyAccountClick();
    void bLoginClick();
    void bRegisterClick();
    void bRegister_PasswordClick();
    // True when the service took the new name, which then is the account
    // name, saved with the settings (also run by a contribution under a new
    // alias).
    bool bRegister_UsernameClick();

private:
    // A password goes out in clear over plain http: unless the service is
    // on this computer, the user is told and decides.
    bool PasswordMayTravel();
    std::wstring TrimBox(AccountView::Box box);
    std::optional<std::vector<std::wstring>> Send(const std::wstring& mode,
                                                  const MultipartFields& fields);
    void TakeAccount(const std::wstring& name);
    bool HasUserId();

    ServiceAccess service_;
    Dialogs& dialogs_;
    WindowHandle owner_;
    AccountView& view_;
};

// The question asked before a password goes to serviceUrl in clear; empty
// when it does not (https, or a service on this computer).
std::wstring PasswordInClearQuestion(const std::wstring& serviceUrl);

} // namespace torvik
