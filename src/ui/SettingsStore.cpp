#include "ui/SettingsStore.h"

#include "common/DateText.h"
#include "common/Error.h"
#include "common/Text.h"
#include "protocol/IniSections.h"
#include "protocol/Split.h"
#include "ui/NumberText.h"

namespace torvik {
namespace {

struct Entry {
    std::wstring control;
    std::wstring property;
    ControlClass cls;
};

bool HoldsLines(ControlClass cls) {
    return cls == ControlClass::ComboBox || cls == ControlClass::ListBox;
}

std::wstring UnknownClass(const Entry& e, SettingsContext& c) {
    c.showMessage(L"Unknown class for object " + e.control);
    return {};
}

const wchar_t* ClassName(ControlClass cls) {
    switch (cls) {
    case ControlClass::Edit:
        return L"Edit";
    case ControlClass::CheckBox:
        return L"CheckBox";
    case ControlClass::RadioButton:
        return L"RadioButton";
    case ControlClass::ComboBox:
        return L"ComboBox";
    case ControlClass::ListBox:
        return L"ListBox";
    case ControlClass::ListView:
        return L"ListView";
    case ControlClass::Memo:
        return L"Memo";
    case ControlClass::DatePicker:
        return L"DatePicker";
    case ControlClass::NumericEdit:
        return L"NumericEdit";
    case ControlClass::Other:
        break;
    }
    return L"Other";
}

// Column widths belong to list views only.
bool IsListView(const Entry& e, SettingsContext& c) {
    if (e.cls == ControlClass::ListView) {
        return true;
    }
    c.showMessage(L"Unknown LV class for object: " + e.control + L", class: " + ClassName(e.cls));
    return false;
}

// One row per property kind: how its value is read from a control and
// written back. Reading and writing the file both go through this table.
struct PropertyKind {
    const wchar_t* name;
    std::wstring (*get)(const Entry&, SettingsContext&);
    void (*set)(const Entry&, const std::wstring& value, SettingsContext&);
};

template <Bound B> PropertyKind BoundKind(const wchar_t* name) {
    return {name,
            [](const Entry& e, SettingsContext& c) {
                return std::to_wstring(c.controls.BoundOf(e.control, B));
            },
            [](const Entry& e, const std::wstring& v, SettingsContext& c) {
                c.controls.SetBound(e.control, B, ParseDecimal(v).value_or(0));
            }};
}

const std::vector<PropertyKind>& Kinds() {
    static const std::vector<PropertyKind> kinds = {
        {L"Text",
         [](const Entry& e, SettingsContext& c) { return Escape(c.controls.Text(e.control)); },
         [](const Entry& e, const std::wstring& v, SettingsContext& c) {
             c.controls.SetText(e.control, v);
         }},
        {L"ItemIndex",
         [](const Entry& e, SettingsContext& c) {
             return std::to_wstring(c.controls.ItemIndex(e.control));
         },
         [](const Entry& e, const std::wstring& v, SettingsContext& c) {
             c.controls.SetItemIndex(e.control, ParseDecimal(v.empty() ? L"-1" : v).value_or(-1));
         }},
        {L"Checked",
         [](const Entry& e, SettingsContext& c) {
             return std::wstring(c.controls.Checked(e.control) ? L"1" : L"0");
         },
         [](const Entry& e, const std::wstring& v, SettingsContext& c) {
             c.controls.SetChecked(e.control, v == L"1");
         }},
        {L"Items",
         [](const Entry& e, SettingsContext& c) {
             if (HoldsLines(e.cls)) {
                 return Escape(JoinLines(c.controls.Lines(e.control)));
             }
             if (e.cls == ControlClass::ListView) {
                 return Escape(GetLVAsText(c.controls.ListItems(e.control)));
             }
             return UnknownClass(e, c);
         },
         [](const Entry& e, const std::wstring& v, SettingsContext& c) {
             if (HoldsLines(e.cls)) {
                 c.controls.SetLines(e.control, TextToLines(v));
             } else if (e.cls == ControlClass::ListView) {
                 c.controls.SetListItems(e.control, SetLVAsText(v));
             } else {
                 UnknownClass(e, c);
             }
         }},
        {L"Lines",
         [](const Entry& e, SettingsContext& c) {
             return e.cls == ControlClass::Memo ? Escape(JoinLines(c.controls.Lines(e.control)))
                                                : UnknownClass(e, c);
         },
         [](const Entry& e, const std::wstring& v, SettingsContext& c) {
             if (e.cls == ControlClass::Memo) {
                 c.controls.SetLines(e.control, TextToLines(v));
             }
         }},
        {L"Date",
         [](const Entry& e, SettingsContext& c) {
             return DateTimeToStrX(c.controls.Date(e.control));
         },
         [](const Entry& e, const std::wstring& v, SettingsContext& c) {
             double date = c.today;
             try {
                 date = StrToDateTimeX(v);
             } catch (const TorvikError&) {
                 // An unreadable date gives today, as a new value would.
             }
             c.controls.SetDate(e.control, date);
         }},
        {L"Value",
         [](const Entry& e, SettingsContext& c) {
             // The value is kept to single precision, as the control holds it.
             return FixedNumberText(
                 static_cast<double>(static_cast<float>(c.controls.Value(e.control))), 5);
         },
         [](const Entry& e, const std::wstring& v, SettingsContext& c) {
             c.controls.SetValue(e.control, NumberOrZero(v));
         }},
        BoundKind<Bound::Width>(L"Width"),
        BoundKind<Bound::Height>(L"Height"),
        BoundKind<Bound::Left>(L"Left"),
        BoundKind<Bound::Top>(L"Top"),
        {L"Columns",
         [](const Entry& e, SettingsContext& c) {
             return IsListView(e, c) ? GetColumns(c.controls.ColumnWidths(e.control))
                                     : std::wstring();
         },
         [](const Entry& e, const std::wstring& v, SettingsContext& c) {
             if (!IsListView(e, c)) {
                 return;
             }
             std::vector<int> widths = c.controls.ColumnWidths(e.control);
             SetColumns(v, widths);
             c.controls.SetColumnWidths(e.control, widths);
         }},
    };
    return kinds;
}

const PropertyKind* KindOf(const std::wstring& property) {
    for (const auto& kind : Kinds()) {
        if (property == kind.name) { // letter case significant
            return &kind;
        }
    }
    return nullptr;
}

// The control and property of a list line, when it names an existing
// control; shows "Component NAME not found" for a missing one.
std::optional<Entry> EntryOf(const std::wstring& line, SettingsContext& context) {
    if (Trim(line).empty()) {
        return std::nullopt;
    }
    const auto parts = _x_Split(line, L".", true);
    if (parts.size() != 2) {
        return std::nullopt;
    }
    const auto cls = context.controls.Find(parts[0]);
    if (!cls) {
        context.showMessage(L"Component " + parts[0] + L" not found");
        return std::nullopt;
    }
    return Entry{parts[0], parts[1], *cls};
}

} // namespace

std::vector<std::wstring> BuildSettingsText(const std::vector<std::wstring>& propertiesList,
                                            SettingsContext& context) {
    std::vector<std::wstring> lines;
    for (const auto& line : propertiesList) {
        const auto entry = EntryOf(line, context);
        if (!entry) {
            continue;
        }
        std::wstring value;
        if (const PropertyKind* kind = KindOf(entry->property)) {
            value = kind->get(*entry, context);
        } else {
            context.showMessage(L"Unknown property: " + entry->property);
        }
        lines.push_back(L"[" + line + L"]");
        const auto valueLines = TextToLines(value);
        if (valueLines.empty()) {
            lines.emplace_back();
        } else {
            lines.insert(lines.end(), valueLines.begin(), valueLines.end());
        }
    }
    // The file does not end in an empty line.
    if (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

void ApplySettingsText(const std::vector<std::wstring>& fileLines,
                       const std::vector<std::wstring>& propertiesList, SettingsContext& context,
                       MissingEntries missing) {
    std::wstring whole;
    for (const auto& line : fileLines) {
        whole += line + L"\r\n";
    }
    for (const auto& line : propertiesList) {
        const auto entry = EntryOf(line, context);
        if (!entry ||
            (missing == MissingEntries::KeepDefault && whole.find(line) == std::wstring::npos)) {
            continue;
        }
        const std::wstring value = Unescape(IniSectionValue(L"[" + line + L"]", fileLines));
        if (const PropertyKind* kind = KindOf(entry->property)) {
            kind->set(*entry, value, context);
        } else {
            context.showMessage(L"Unknown property: " + entry->property);
        }
    }
}

} // namespace torvik
