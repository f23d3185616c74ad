#include "ui/UserLists.h"

#include "common/Text.h"

namespace torvik {
namespace {

bool Holds(const std::vector<std::wstring>& list, const std::wstring& name) {
    for (const auto& entry : list) {
        if (SameTextAscii(Trim(entry), name)) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<std::wstring> CustomProgramRefusal(const std::vector<std::wstring>& names,
                                                 const std::wstring& name) {
    const std::wstring trimmed = Trim(name);
    if (Holds(names, trimmed)) {
        return L"Program \"" + trimmed + L"\" is already in the list";
    }
    return std::nullopt;
}

std::optional<std::wstring> ExclusionRefusal(const std::vector<std::wstring>& exclusions,
                                             const std::wstring& name) {
    if (Holds(exclusions, name)) {
        return L"This program is already in the exclusions list";
    }
    return std::nullopt;
}

std::wstring PleaseWaitText(const std::wstring& text) {
    return text.empty() ? L"Please wait..." : text;
}

} // namespace torvik
