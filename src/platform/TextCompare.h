#pragma once
#include <string>

namespace torvik {

// Text ordering for display, ignoring letter case.
class TextCompare {
public:
    virtual ~TextCompare() = default;
    // -1 when a sorts before b, 0 when they are equal, 1 when a sorts after
    // b or the comparison fails.
    virtual int CompareIgnoreCase(const std::wstring& a, const std::wstring& b) const = 0;
    // A key whose byte order (std::string's compare) is the order above, so
    // that a sort asks for each text's place once instead of at every step.
    virtual std::string SortKey(const std::wstring& text) const = 0;
};

// Code-point order after folding ASCII letters to lower case. Stands in for
// the locale's ordering where there is none (native builds and tests).
class OrdinalTextCompare : public TextCompare {
public:
    int CompareIgnoreCase(const std::wstring& a, const std::wstring& b) const override;
    std::string SortKey(const std::wstring& text) const override;
};

} // namespace torvik
