#pragma once
#include <map>
#include <string>

#include "server/FormFields.h"
#include "server/LoginThrottle.h"
#include "server/Passwords.h"
#include "server/Storage.h"

namespace torvik::server {

// The longest user name an account may take, in bytes, once trimmed.
inline constexpr size_t kMaxUserNameBytes = 100;

// The account modes of "versionchecker.aspx". An account acts through the
// installations linked to it: the anonymous user ids of the "header" field.
// A login or registration links the installation to the account, moving it
// from any other; an account may have many installations.
class AccountModes {
public:
    // Passwords are hashed at cost; failed logins are counted on clock.
    AccountModes(Storage& storage, PasswordCost cost, LoginThrottle::Clock clock);

    // Registers every mode under its name.
    void AddTo(std::map<std::string, ModeHandler>& modes);

    // "set_username": the linked account takes "new_username", trimmed;
    // an installation without one gets an account of that name, without a
    // password. The "[result]" value is "username changed", or
    // "set_username failed: " and the reason, which the client shows as
    // "Login failed".
    std::string SetUsername(const FormFields& fields);
    // "login": "username" (trimmed) and "password" (as sent). The "[login]"
    // value is "login ok|NAME" (the stored spelling) or "login failed",
    // the same for every reason, so that no reply tells whether a name
    // exists.
    std::string Login(const FormFields& fields);
    // "register": a new account, or a password for the installation's own
    // account that has none ("registration ok|NAME"); an existing account
    // with its password is a login ("login ok|NAME"). Otherwise
    // "registration failed", with a reason when the request is at fault.
    // Section "[register]".
    std::string Register(const FormFields& fields);
    // "set_password": the account named "username", which must be linked to
    // the installation, takes "password". The "[result]" value is
    // "password changed" or "set_password failed: " and the reason.
    std::string SetPassword(const FormFields& fields);

private:
    // The stored name of the account when password is its password: the
    // installation is then linked to it. Counts and heeds failures.
    std::optional<std::string> LogIn(const std::string& installation, const std::string& name,
                                     const std::string& password);

    Storage& storage_;
    Passwords passwords_;
    LoginThrottle throttle_;
};

} // namespace torvik::server
