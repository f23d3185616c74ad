#pragma once
#include <map>
#include <string>

#include "server/FormFields.h"
#include "server/Storage.h"

namespace torvik::server {

// The longest user name an account may take, in bytes, once trimmed.
inline constexpr size_t kMaxUserNameBytes = 100;

// The account modes of "versionchecker.aspx". An account acts through the
// installation linked to it: the anonymous user id of the "header" field.
class AccountModes {
public:
    explicit AccountModes(Storage& storage);

    // Registers every mode under its name.
    void AddTo(std::map<std::string, ModeHandler>& modes);

    // "set_username": the linked account takes "new_username", trimmed;
    // an installation without one gets an account of that name, without a
    // password. The "[result]" value is "username changed", or
    // "set_username failed: " and the reason, which the client shows as
    // "Login failed".
    std::string SetUsername(const FormFields& fields);

private:
    Storage& storage_;
};

} // namespace torvik::server
