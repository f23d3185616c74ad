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
