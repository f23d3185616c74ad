#pragma once
#include <optional>
#include <string>
#include <vector>

namespace torvik {

// The lists the user keeps around the inventory. Each rule gives the message
// that refuses an addition, or nothing when it may be added.

// A custom program whose name (trimmed, letter case ignored) is listed
// already: "Program "NAME" is already in the list".
std::optional<std::wstring> CustomProgramRefusal(const std::vector<std::wstring>& names,
                                                 const std::wstring& name);
// An executable name already excluded (letter case ignored).
std::optional<std::wstring> ExclusionRefusal(const std::vector<std::wstring>& exclusions,
                                             const std::wstring& name);

// The please-wait panel's text: "Please wait..." when none is given.
std::wstring PleaseWaitText(const std::wstring& text);

} // namespace torvik
