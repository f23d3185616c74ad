#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace torvik {

// Numbers as the settings file and the numeric edit box write them: "." is
// the decimal separator whatever the user's locale says.

// The whole text as a finite number; nothing for an empty text, trailing
// characters, or a text that gives infinity or not-a-number.
std::optional<double> ParseNumber(std::wstring_view text);
// The same, with 0 for a text that is not a number.
double NumberOrZero(std::wstring_view text);

// With a fixed count of decimals: FixedNumberText(15, 5) is "15.00000".
std::wstring FixedNumberText(double value, int decimals);
// The shortest text that reads back as the same value: 15 is "15", 0.1 is
// "0.1".
std::wstring NumberText(double value);

// Whether a text may stand in a numeric edit box while the user types: an
// optional "-", digits and at most one "." among them. The half-typed "",
// "-", "." and "-." pass (they read as 0); blanks, letters and exponents do
// not.
bool IsTypedNumber(std::wstring_view text);

} // namespace torvik
