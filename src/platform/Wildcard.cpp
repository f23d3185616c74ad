#include "platform/Wildcard.h"

#include "common/FileMask.h"

namespace torvik {

bool ListingMaskMatch(std::wstring_view mask, std::wstring_view name) {
    if (mask == L"*.*") {
        return true;
    }
    if (mask.size() > 1 && mask.back() == L'.' && name.find(L'.') == std::wstring_view::npos) {
        return FileMaskMatch(mask.substr(0, mask.size() - 1), name);
    }
    return FileMaskMatch(mask, name);
}

} // namespace torvik
