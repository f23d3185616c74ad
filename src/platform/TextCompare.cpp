#include "platform/TextCompare.h"

#include "common/Text.h"

namespace torvik {

int OrdinalTextCompare::CompareIgnoreCase(const std::wstring& a, const std::wstring& b) const {
    const int c = LowerCaseAscii(a).compare(LowerCaseAscii(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace torvik
