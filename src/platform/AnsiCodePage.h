#pragma once
#include <string>

namespace torvik {

// The system's default 8-bit code page ("ANSI"), in which form field names
// and URL queries travel. Characters it cannot hold become "?".
class AnsiCodePage {
public:
    virtual ~AnsiCodePage() = default;
    virtual std::string FromText(const std::wstring& text) const = 0;
    virtual std::wstring ToText(const std::string& bytes) const = 0;
};

// ISO 8859-1: the native build's stand-in for the ANSI code page.
class Latin1CodePage : public AnsiCodePage {
public:
    std::string FromText(const std::wstring& text) const override;
    std::wstring ToText(const std::string& bytes) const override;
};

} // namespace torvik
