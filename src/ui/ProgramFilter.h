#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "inventory/ProgramRecord.h"

namespace torvik {

// The filter box's text as words: split at spaces, a pair of double quotes
// making one phrase of what lies between them (two double quotes inside
// stand for one), each word trimmed and the empty ones dropped. A quote that
// is never closed runs to the end of the text.
std::vector<std::wstring> SplitFilterWords(std::wstring_view text);

// The switches beside the filter box. The defaults hide nothing: the window
// sets its own (see ProgramListView).
struct ProgramFilterSwitches {
    bool hideExcluded = false;
    bool hideUpToDate = false; // also hides programs nobody knows a version of
    bool displayDrivers = true;
    friend bool operator==(const ProgramFilterSwitches&, const ProgramFilterSwitches&) = default;
};

// Which programs the list shows. A program matches the words when its name,
// folder and file name, together and ignoring letter case, contain every
// word and none of the words written with a leading "-". Programs whose
// executable is missing, or that have no name, are never shown.
class ProgramFilter {
public:
    ProgramFilter() = default;
    ProgramFilter(std::wstring_view text, ProgramFilterSwitches switches);

    bool Shows(const TProgramRecord& record) const;

private:
    bool MatchesWords(const TProgramRecord& record) const;

    ProgramFilterSwitches switches_;
    bool hasWords_ = false;
    std::vector<std::wstring> required_; // lower-cased
    std::vector<std::wstring> excluded_; // lower-cased, without the "-"
};

} // namespace torvik
