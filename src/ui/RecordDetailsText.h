#pragma once
#include <string>
#include <vector>

#include "inventory/ProgramRecord.h"

namespace torvik {

// What the "Program Details" page shows of a record until the community's
// details are fetched: one "Caption: value" line per known value, in a
// fixed order; values the record does not have are left out.
std::vector<std::wstring> RecordDetailsLines(const TProgramRecord& record,
                                             const std::wstring& statusText);

} // namespace torvik
