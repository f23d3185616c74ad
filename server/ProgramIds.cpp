#include "server/ProgramIds.h"

#include <limits>

#include "server/ProgramLines.h"
#include "server/Storage.h"

namespace torvik::server {

std::string ProgramKey(std::string_view programName, std::string_view exeFilename) {
    std::string key;
    MakeProgramKey(key, programName, exeFilename);
    return key;
}

void MakeProgramKey(std::string& key, std::string_view programName, std::string_view exeFilename) {
    key.clear();
    AppendKeyOf(key, programName);
    key += '\n';
    AppendKeyOf(key, exeFilename);
}

std::optional<ProgramId> ProgramIds::Find(const std::string& key) const {
    const auto it = ids_.find(key);
    return it == ids_.end() ? std::nullopt : std::optional<ProgramId>(it->second);
}

ProgramId ProgramIds::Intern(const std::string& key) {
    if (const auto found = Find(key)) {
        return *found;
    }
    if (ids_.size() > std::numeric_limits<ProgramId>::max()) {
        throw StorageError("more distinct programs than the in-memory view can number");
    }
    const auto id = static_cast<ProgramId>(ids_.size());
    ids_.emplace(key, id);
    return id;
}

} // namespace torvik::server
