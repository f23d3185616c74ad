#include "server/AccountModes.h"

#include "server/ProgramLines.h"
#include "server/ReplyText.h"

namespace torvik::server {
namespace {

// The success values name nothing the user typed beyond the account name:
// a name holding "failed" would make the client report a failure.
constexpr const char* kRenamed = "username changed";
constexpr const char* kPasswordChanged = "password changed";
constexpr const char* kLoginFailed = "login failed";
constexpr const char* kRegistrationFailed = "registration failed";

// The client reads "failed" anywhere in the value, letter case significant.
std::string FailedWith(std::string_view section, std::string_view failure,
                       std::string_view reason) {
    return ValueReply(section, std::string(failure) + ": " + std::string(reason));
}
std::string Failed(const std::string& reason) {
    return FailedWith("result", "set_username failed", reason);
}

// A status and the account name, the two fields the client splits at "|".
std::string NamedReply(std::string_view section, std::string_view status, std::string_view name) {
    ReplyText reply;
    reply.Section(section);
    reply.Record({status, name});
    return std::move(reply).Take();
}

// Why a trimmed name cannot be an account's. A "|" would split the
// account name that the login replies carry beside their status, and a
// control character cannot be shown or typed back.
std::optional<std::string> NameFault(std::string_view name) {
    if (name.empty()) {
        return "the new user name is empty";
    }
    if (name.size() > kMaxUserNameBytes) {
        return "the new user name is longer than " + std::to_string(kMaxUserNameBytes) + " bytes";
    }
    for (const char c : name) {
        if (c == '|' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return "the new user name holds a vertical bar or a control character";
        }
    }
    return std::nullopt;
}

bool PasswordFits(const std::string& password) {
    return !password.empty() && password.size() <= kMaxPasswordBytes;
}
const std::string kPasswordFault =
    "the password must be 1 to " + std::to_string(kMaxPasswordBytes) + " bytes long";

// Whether the client can take the name from a login reply: it would read
// "failed" in it as a failure, and its screening an error marker as a
// failure of the service.
bool Carriable(std::string_view name) {
    return name.find("failed") == std::string_view::npos && !HoldsErrorMarker(name);
}

// A request of "login", "register" or "set_password": its installation,
// its trimmed "username" and its "password" as sent; or the error reply.
struct AccountRequest {
    std::string error{}, installation{}, name{}, password{};
};
AccountRequest ReadAccountRequest(const FormFields& fields) {
    const std::optional<std::string> installation = InstallationField(fields);
    if (!installation) {
        return {.error = ErrorReply(kNoUserId)};
    }
    if (const auto fault = FieldFault(fields, {{"username"}, {"password"}})) {
        return {.error = ErrorReply(*fault)};
    }
    return {.installation = *installation,
            .name = std::string(Trim(*Field(fields, "username"))),
            .password = *Field(fields, "password")};
}

} // namespace

AccountModes::AccountModes(Storage& storage, PasswordCost cost, LoginThrottle::Clock clock)
    : storage_(storage), passwords_(cost), throttle_({}, std::move(clock)) {}

void AccountModes::AddTo(std::map<std::string, ModeHandler>& modes) {
    modes["set_username"] = [this](const FormFields& f) { return SetUsername(f); };
    modes["login"] = [this](const FormFields& f) { return Login(f); };
    modes["register"] = [this](const FormFields& f) { return Register(f); };
    modes["set_password"] = [this](const FormFields& f) { return SetPassword(f); };
}

std::string AccountModes::SetUsername(const FormFields& fields) {
    const std::optional<std::string> installation = InstallationField(fields);
    if (!installation) {
        return ErrorReply(kNoUserId);
    }
    if (const auto fault = FieldFault(fields, {{"prev_username"}, {"new_username"}})) {
        return ErrorReply(*fault);
    }
    const std::string name(Trim(*Field(fields, "new_username")));
    if (const auto fault = NameFault(name)) {
        return Failed(*fault);
    }
    try {
        switch (storage_.RenameAccountOf(
            *installation, std::string(Trim(*Field(fields, "prev_username"))), name)) {
        case AccountRenaming::Renamed:
        case AccountRenaming::Created:
            return ValueReply("result", kRenamed);
        case AccountRenaming::NotPrevious:
            return Failed("the previous user name is not the name of this installation's account");
        case AccountRenaming::NameTaken:
            // Failed defuses the name with the rest of the line.
            return Failed("the user name \"" + name + "\" belongs to another account");
        }
    } catch (const StorageError&) {
    }
    return ErrorReply("the user name could not be recorded; please try again later");
}

std::optional<std::string> AccountModes::LogIn(const std::string& installation,
                                               const std::string& name,
                                               const std::string& password) {
    const std::string key = KeyOf(name);
    if (NameFault(name) || !PasswordFits(password) || throttle_.Blocked(key)) {
        return std::nullopt;
    }
    const std::optional<Credentials> account = storage_.FindCredentials(name, installation);
    if (!account || account->passwordHash.empty()) {
        passwords_.VerifyNothing(password);
        throttle_.Failed(key);
        return std::nullopt;
    }
    if (!passwords_.Verifies(account->passwordHash, password)) {
        throttle_.Failed(key);
        return std::nullopt;
    }
    if (!Carriable(account->name)) {
        return std::nullopt;
    }
    std::optional<std::string> linked =
        storage_.LinkInstallation(installation, name, account->passwordHash);
    if (linked) {
        throttle_.Succeeded(key);
    }
    return linked;
}

std::string AccountModes::Login(const FormFields& fields) {
    const AccountRequest asked = ReadAccountRequest(fields);
    if (!asked.error.empty()) {
        return asked.error;
    }
    try {
        const auto name = LogIn(asked.installation, asked.name, asked.password);
        return name ? NamedReply("login", "login ok", *name) : ValueReply("login", kLoginFailed);
    } catch (const StorageError&) {
        return ErrorReply("the login could not be recorded; please try again later");
    }
}

std::string AccountModes::Register(const FormFields& fields) {
    const AccountRequest asked = ReadAccountRequest(fields);
    if (!asked.error.empty()) {
        return asked.error;
    }
    if (const auto fault = NameFault(asked.name)) {
        return FailedWith("register", kRegistrationFailed, *fault);
    }
    if (!PasswordFits(asked.password)) {
        return FailedWith("register", kRegistrationFailed, kPasswordFault);
    }
    if (!Carriable(asked.name)) {
        return FailedWith("register", kRegistrationFailed,
                          "the program cannot show a user name that holds \"failed\" or an error "
                          "marker");
    }
    try {
        const std::optional<Credentials> account =
            storage_.FindCredentials(asked.name, asked.installation);
        if (!account || (account->passwordHash.empty() && account->linkedHere)) {
            const auto made = storage_.RegisterAccount(asked.installation, asked.name,
                                                       passwords_.Hash(asked.password));
            return made && Carriable(*made) ? NamedReply("register", "registration ok", *made)
                                            : ValueReply("register", kRegistrationFailed);
        }
        if (account->passwordHash.empty()) {
            return ValueReply("register", kRegistrationFailed);
        }
        const auto loggedIn = LogIn(asked.installation, account->name, asked.password);
        return loggedIn ? NamedReply("register", "login ok", *loggedIn)
                        : ValueReply("register", kRegistrationFailed);
    } catch (const StorageError&) {
        return ErrorReply("the account could not be recorded; please try again later");
    }
}

std::string AccountModes::SetPassword(const FormFields& fields) {
    const AccountRequest asked = ReadAccountRequest(fields);
    if (!asked.error.empty()) {
        return asked.error;
    }
    if (!PasswordFits(asked.password)) {
        return FailedWith("result", "set_password failed", kPasswordFault);
    }
    const std::string notLinked = "the account is not linked to this installation";
    try {
        const std::optional<Credentials> account =
            storage_.FindCredentials(asked.name, asked.installation);
        if (!account || !account->linkedHere) {
            return FailedWith("result", "set_password failed", notLinked);
        }
        return storage_.SetPassword(asked.installation, asked.name, passwords_.Hash(asked.password))
                   ? ValueReply("result", kPasswordChanged)
                   : FailedWith("result", "set_password failed", notLinked);
    } catch (const StorageError&) {
        return ErrorReply("the password could not be recorded; please try again later");
    }
}

} // namespace torvik::server
