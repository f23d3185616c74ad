#pragma once
#include <string>

#include "exchange/ScreenedPost.h"
#include "platform/Dialogs.h"

namespace torvik {

// What the change of user name reads and sets on the main window.
class AccountNameView {
public:
    virtual ~AccountNameView() = default;
    // The anonymous user id of the settings (edUserName).
    virtual std::wstring UserId() = 0;
    // The account name the login panel was last opened with (Edit1); empty
    // when it was not opened in this run.
    virtual std::wstring PreviousName() = 0;
    // "New Username" (edUsername4).
    virtual std::wstring NewName() = 0;
    virtual void SetNewName(const std::wstring& name) = 0;
    // The account name of the settings and at the top of the window.
    virtual void SetAccountName(const std::wstring& name) = 0;
    virtual void SaveSettings() = 0;
    virtual void HideLoginPanel() = 0;
};

// "Change username" (mode "set_username"): true when the service took the
// new name, which then is the account name, saved with the settings.
// Without an anonymous user id, or with a blank new name, nothing is sent.
// Service and screening errors propagate; nothing changes then.
bool ChangeUserName(const ServiceAccess& service, Dialogs& dialogs, AccountNameView& view);

} // namespace torvik
