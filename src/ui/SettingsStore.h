#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/SettingsText.h"

namespace torvik {

// The kinds of control whose values the settings file keeps.
enum class ControlClass {
    Edit,
    CheckBox,
    RadioButton,
    ComboBox,
    ListBox,
    ListView,
    Memo,
    DatePicker,
    NumericEdit,
    Other
};
enum class Bound { Left, Top, Width, Height };

// The controls of a window, found by name (letter case ignored). The window
// implements it over its real controls; tests use a map.
class ControlRegistry {
public:
    virtual ~ControlRegistry() = default;
    // The control's class, or nothing when the window has no such control.
    virtual std::optional<ControlClass> Find(const std::wstring& name) const = 0;

    virtual std::wstring Text(const std::wstring& name) const = 0;
    virtual void SetText(const std::wstring& name, const std::wstring& text) = 0;
    virtual int ItemIndex(const std::wstring& name) const = 0;
    virtual void SetItemIndex(const std::wstring& name, int index) = 0;
    virtual bool Checked(const std::wstring& name) const = 0;
    // Without running the control's click handler.
    virtual void SetChecked(const std::wstring& name, bool checked) = 0;
    // Lines of a combo box, list box or memo.
    virtual std::vector<std::wstring> Lines(const std::wstring& name) const = 0;
    virtual void SetLines(const std::wstring& name, const std::vector<std::wstring>& lines) = 0;
    virtual std::vector<ListViewItem> ListItems(const std::wstring& name) const = 0;
    virtual void SetListItems(const std::wstring& name, const std::vector<ListViewItem>& items) = 0;
    virtual std::vector<int> ColumnWidths(const std::wstring& name) const = 0;
    virtual void SetColumnWidths(const std::wstring& name, const std::vector<int>& widths) = 0;
    virtual double Date(const std::wstring& name) const = 0; // days since 1899-12-30
    virtual void SetDate(const std::wstring& name, double date) = 0;
    virtual double Value(const std::wstring& name) const = 0;
    virtual void SetValue(const std::wstring& name, double value) = 0;
    virtual int BoundOf(const std::wstring& name, Bound bound) const = 0;
    virtual void SetBound(const std::wstring& name, Bound bound, int value) = 0;
};

// What reading and writing need besides the controls: the messages the
// store shows, and today's date for a date that cannot be read.
struct SettingsContext {
    ControlRegistry& controls;
    std::function<void(const std::wstring&)> showMessage;
    double today = 0; // midnight of the current day
};

// The settings file's text for the listed "control.property" lines, in
// order: "[line]" and the value's lines. Unknown controls are left out with
// "Component NAME not found"; an unknown property is written empty with
// "Unknown property: NAME".
std::vector<std::wstring> BuildSettingsText(const std::vector<std::wstring>& propertiesList,
                                            SettingsContext& context);

// What becomes of a listed control that the file has no entry for.
enum class MissingEntries {
    KeepDefault, // settings: the control keeps its design default
    SetEmpty     // a project document: the control is set from an empty value
};

// Sets every listed control from its entry in the file.
void ApplySettingsText(const std::vector<std::wstring>& fileLines,
                       const std::vector<std::wstring>& propertiesList, SettingsContext& context,
                       MissingEntries missing = MissingEntries::KeepDefault);

} // namespace torvik
