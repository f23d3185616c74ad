#pragma once
#include <string>
#include <vector>

#include "common/Text.h"

namespace torvik {

// Splits at every occurrence of the separator (letter case significant). An
// empty text gives no fields; otherwise there is one field more than
// separators, so a trailing separator gives a trailing empty field. With
// trim, blanks and control characters leave both ends of every field. An
// empty separator does not split.
std::vector<std::wstring> _x_Split(const std::wstring& text, const std::wstring& separator,
                                   bool trim);
// _x_Split with trimming: one line per field.
std::vector<std::wstring> _x_SplitToSl(const std::wstring& text, const std::wstring& separator);
// Replaces every occurrence of oldText, ASCII letter case ignored.
std::wstring _x_StringReplace_IC(const std::wstring& text, const std::wstring& oldText,
                                 const std::wstring& newText);

// The list and decimal separators of the user's locale.
struct LocaleSeparators {
    wchar_t list = L',';
    wchar_t decimal = L'.';
};
// Quote-aware splitting of one line of separated values. A NUL separator
// means the locale's list separator (";" when list and decimal separator are
// both ","). A double quote toggles a quoted stretch, in which "" is one
// literal quote. Fields blank after trimming are dropped and their
// characters carried into the next field; kept fields are untrimmed.
std::vector<std::wstring> _x_SplitCsvDataLineX(const std::wstring& text, wchar_t separator,
                                               const LocaleSeparators& locale = {});

} // namespace torvik
