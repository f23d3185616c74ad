#include "server/FormFields.h"

#include "server/ProgramLines.h"

namespace torvik::server {
namespace {

constexpr size_t kMaxInstallationBytes = 200;

} // namespace

const std::string* Field(const FormFields& fields, const std::string& name) {
    const auto it = fields.find(name);
    return it == fields.end() ? nullptr : &it->second;
}

std::optional<std::string> FieldFault(const FormFields& fields,
                                      std::initializer_list<Wanted> wanted) {
    for (const Wanted& w : wanted) {
        const std::string* value = Field(fields, w.name);
        if (value == nullptr) {
            return std::string("missing field ") + w.name;
        }
        if (value->size() > w.limit) {
            return std::string("the field ") + w.name + " is longer than " +
                   std::to_string(w.limit) + " bytes";
        }
    }
    return std::nullopt;
}

std::string InstallationOf(const std::string& header) {
    return std::string(Trim(std::string_view(header).substr(0, header.find('#'))));
}

std::optional<std::string> InstallationField(const FormFields& fields) {
    const std::string* header = Field(fields, "header");
    if (header == nullptr) {
        return std::nullopt;
    }
    std::string installation = InstallationOf(*header);
    if (installation.empty() || installation.size() > kMaxInstallationBytes) {
        return std::nullopt;
    }
    return installation;
}

} // namespace torvik::server
