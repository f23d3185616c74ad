#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace torvik::server {

// A program as the in-memory view knows it: a small number in place of its
// key, so that each installation's reports hold numbers, not texts.
using ProgramId = uint32_t;

// The key of a program: its name and executable file name, lower-cased.
std::string ProgramKey(std::string_view programName, std::string_view exeFilename);
// The same, written over key (a buffer reused from line to line).
void MakeProgramKey(std::string& key, std::string_view programName, std::string_view exeFilename);

// Numbers the program keys 0, 1, 2, ... in the order they are first seen.
// An id stays the key's for the object's life.
class ProgramIds {
public:
    std::optional<ProgramId> Find(const std::string& key) const;
    // The key's id, a new one when it has none yet.
    ProgramId Intern(const std::string& key);
    size_t Size() const { return ids_.size(); }

private:
    std::unordered_map<std::string, ProgramId> ids_;
};

} // namespace torvik::server
