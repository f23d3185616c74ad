#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace torvik {

// What "Exclude from updates check" on the program list works with.
struct ExcludeProgramServices {
    Dialogs& dialogs;
    WindowHandle owner; // of the question box
    // The lines of the exclusions list as they stand.
    std::function<std::vector<std::wstring>()> exclusions;
    std::function<void(const std::wstring& name)> addExclusion;
    // Repaints the program list.
    std::function<void()> refresh;
};

// Asks "Add this program to exclusions?"; on Yes refuses a name that is
// listed already (letter case ignored) and otherwise adds it and refreshes
// the list. No record changes here: the next scan reads the exclusions.
// True when the name was added.
bool ExcludeProgram(const std::wstring& programName, const ExcludeProgramServices& services);

} // namespace torvik
