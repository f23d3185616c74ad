#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torvik {

// The value texts of the settings file. Values are escaped so that none of
// their lines is empty or begins with "[": a line of a value can then never
// be taken for a section header, nor be lost when blank lines are skipped.

// Trims the value, puts ">" before each of its lines, joins them with CR LF.
std::wstring Escape(std::wstring_view value);
// Trims, drops the ">" that begins a line, joins with CR LF and trims.
// Values that were never escaped pass unchanged.
std::wstring Unescape(std::wstring_view text);

// One item of a list view as the settings file keeps it.
struct ListViewItem {
    bool checked = false;
    bool selected = false;
    std::wstring caption;
    std::vector<std::wstring> subItems;
    bool operator==(const ListViewItem&) const = default;
};

// One line per item, each ended by CR LF:
// "<checked>" + 1|0 + "<caption>" + caption, then "<FF>" + each sub-item.
std::wstring GetLVAsText(const std::vector<ListViewItem>& items);
// The items of such a text: blank lines skipped, fields trimmed. A first
// field without "<caption>" is the older form caption#checked#selected.
std::vector<ListViewItem> SetLVAsText(const std::wstring& text);

// Column widths joined by ",".
std::wstring GetColumns(const std::vector<int>& widths);
// Sets the width of each column whose part is a whole number other than 0;
// missing or other parts leave their column as it is.
void SetColumns(const std::wstring& text, std::vector<int>& widths);

// The window's place in "[Form Position and Size]": Left, Top, Width,
// Height and "Max" or "Normal", joined by ",".
struct FormPlacement {
    int left = 0, top = 0, width = 0, height = 0;
    bool maximized = false;
    bool operator==(const FormPlacement&) const = default;
};
struct WorkArea {
    int width = 0, height = 0;
};

// The value stored when the window closes: a maximized window keeps a
// centred rectangle of the work area (an eighth of the height and a
// sixteenth of the width from each edge) for when it is restored; nothing
// when the window lies more than 100 pixels off the left or top edge.
std::optional<std::wstring> FormPositionValue(const FormPlacement& window, const WorkArea& area);
// The placement a stored value gives: without one, the work area at 0, 0;
// a first or second field that is not a whole number or lies below -100
// maximizes the window; a width or height of 0 or less keeps the design's
// (returned as 0).
FormPlacement PlacementFromValue(const std::wstring& value, const WorkArea& area);

} // namespace torvik
