#pragma once
#include <functional>
#include <initializer_list>
#include <limits>
#include <map>
#include <optional>
#include <string>

namespace torvik::server {

// The form fields of one service request (multipart or URL-encoded).
using FormFields = std::map<std::string, std::string>;
// The reply text of one mode of "versionchecker.aspx".
using ModeHandler = std::function<std::string(const FormFields&)>;

// A field's value; null when the request lacks it.
const std::string* Field(const FormFields& fields, const std::string& name);

// A field a mode needs, and how long it may be, in bytes.
struct Wanted {
    const char* name;
    size_t limit = std::numeric_limits<size_t>::max();
};
// Why the fields do not do: one is missing ("missing field NAME") or
// longer than its limit. Nothing when they do.
std::optional<std::string> FieldFault(const FormFields& fields,
                                      std::initializer_list<Wanted> wanted);

// The anonymous installation id of a "header" field: the text before the
// first "#", trimmed; empty when there is none.
std::string InstallationOf(const std::string& header);
// The installation id of a request's "header" field; nothing when it holds
// none or one longer than an id can be (the reason is kNoUserId).
std::optional<std::string> InstallationField(const FormFields& fields);
inline constexpr const char* kNoUserId = "the header field holds no user id";

} // namespace torvik::server
