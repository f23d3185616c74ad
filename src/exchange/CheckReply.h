#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "inventory/CachedLibrary.h"
#include "inventory/ProgramLists.h"

namespace torvik {

// The counters above the program list after a reply.
struct CheckCounters {
    int64_t newVersions = 0; // Status 1
    int64_t answered = 0;    // programs the service or the community answered for
    int64_t upToDate = 0;    // Status 2
    int64_t submissions = 0; // Status 3
    int64_t total = 0;       // the user's total submissions, "total_points"
};

// A counter as its label shows it: grouped digits, bold green above 0,
// regular black otherwise.
struct CounterLabel {
    std::wstring text;
    bool emphasised = false;
};
CounterLabel CounterLabelOf(int64_t count);

// What applying a reply shows besides the records.
class ReplyView {
public:
    virtual ~ReplyView() = default;
    virtual void ShowMessage(const std::wstring& text) = 0;
    virtual void PopupMsg(const std::wstring& text) = 0;
    virtual void RepaintProgramList() = 0;
    virtual void ShowCounters(const CheckCounters& counters) = 0;
};

// The list a reply is applied to: TempProgramList while a check builds the
// inventory, ProgramList otherwise.
struct ReplyTarget {
    ProgramLists& lists;
    bool temp;
    ProgramLists::RecordList& Records() const {
        return temp ? lists.TempProgramList : lists.ProgramList;
    }
};

// Applies the lines of a check's reply to the target's records: server
// versions, URLs, comments and statuses from "[results]", community notes
// from "[community_results]", the details of every record marked as sent in
// the cached library, then the counters. recheckText gets the value of
// "recheck_str" before the list is repainted. An empty reply shows "No reply
// from server" and changes nothing. Statuses other than 1, 2 and 3 are kept
// and named in one "Unknown status: " message for the whole reply. A status
// that is not a decimal number or a community version that cannot be read
// raises TorvikError, and the records keep what was set before it.
void ApplyReply(const std::vector<std::wstring>& lines, const ReplyTarget& target,
                TCachedLibrary& cache, ReplyView& view, std::wstring& recheckText);

} // namespace torvik
