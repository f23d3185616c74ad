#include "server/AccountModes.h"

#include "server/ProgramLines.h"
#include "server/ReplyText.h"

namespace torvik::server {
namespace {

// The success value names nothing the user typed: a name holding "failed"
// would make the client report a failure.
constexpr const char* kRenamed = "username changed";

// The client reads "failed" anywhere in the value, letter case significant.
std::string Failed(const std::string& reason) {
    return ValueReply("result", "set_username failed: " + reason);
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

} // namespace

AccountModes::AccountModes(Storage& storage) : storage_(storage) {}

void AccountModes::AddTo(std::map<std::string, ModeHandler>& modes) {
    modes["set_username"] = [this](const FormFields& f) { return SetUsername(f); };
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

} // namespace torvik::server
