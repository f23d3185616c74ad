#include "ui/ProgramRowLook.h"

#include "common/Text.h"
#include "inventory/UrlText.h"

namespace torvik {

ProgramRowColours ProgramRowColoursOf(const TProgramRecord& record, ProgramRowState state) {
    using namespace ProgramListColours;
    if (state.selected) {
        return {state.listFocused ? kSelectedFocused : kSelectedUnfocused, kSelectedText};
    }
    return {record.Status == ProgramStatus::Excluded ? kExcludedBackground : kBackground, kText};
}

std::wstring UrlCellText(const std::wstring& receivedUrl) {
    std::wstring url = TrimUrl(receivedUrl);
    if (Trim(url).empty()) {
        return {};
    }
    if (!ContainsTextAscii(url, L"http")) {
        url.insert(0, L"http://");
    }
    return L" " + url;
}

} // namespace torvik
