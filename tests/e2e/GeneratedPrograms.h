#pragma once
#include <windows.h>

#include <string>

namespace torvik::e2e {

// Many programs for a test or a benchmark: copies of a fixture executable,
// each in a folder of its own under the temporary folder, and a shortcut to
// each in a Start Menu group named group. Both go with the object (and
// leftovers of an interrupted run with the next one).
class GeneratedPrograms {
public:
    // The programs are named group + " " + a four-digit number.
    GeneratedPrograms(const std::wstring& group, const std::wstring& fixture, int count);
    ~GeneratedPrograms();
    GeneratedPrograms(const GeneratedPrograms&) = delete;
    GeneratedPrograms& operator=(const GeneratedPrograms&) = delete;

    // Every copy and shortcut was made.
    bool Made() const { return made_; }
    int Count() const { return count_; }
    // Whether a program name is one of these.
    bool IsOurs(const std::wstring& programName) const;

private:
    void Remove() const;

    std::wstring group_, menu_, folder_;
    int count_ = 0;
    bool made_ = false;
};

} // namespace torvik::e2e
