#pragma once
#include <map>

#include "common/Text.h"
#include "ui/SettingsStore.h"

namespace torvik::testing {

// Controls as plain values, found by name ignoring letter case.
class FakeControls : public ControlRegistry {
public:
    struct Control {
        ControlClass cls = ControlClass::Edit;
        std::wstring text;
        int itemIndex = -1;
        bool checked = false;
        std::vector<std::wstring> lines;
        std::vector<ListViewItem> items;
        std::vector<int> widths;
        double date = 0, value = 0;
        std::map<Bound, int> bounds;
    };
    std::map<std::wstring, Control> controls; // keys lower-case

    Control& Add(const std::wstring& name, ControlClass cls) {
        Control& c = controls[LowerCaseAscii(name)];
        c.cls = cls;
        return c;
    }
    Control& At(const std::wstring& name) { return controls.at(LowerCaseAscii(name)); }
    const Control& At(const std::wstring& name) const { return controls.at(LowerCaseAscii(name)); }

    std::optional<ControlClass> Find(const std::wstring& name) const override {
        const auto it = controls.find(LowerCaseAscii(name));
        return it == controls.end() ? std::nullopt : std::optional(it->second.cls);
    }
    std::wstring Text(const std::wstring& n) const override { return At(n).text; }
    void SetText(const std::wstring& n, const std::wstring& v) override { At(n).text = v; }
    int ItemIndex(const std::wstring& n) const override { return At(n).itemIndex; }
    void SetItemIndex(const std::wstring& n, int v) override { At(n).itemIndex = v; }
    bool Checked(const std::wstring& n) const override { return At(n).checked; }
    void SetChecked(const std::wstring& n, bool v) override { At(n).checked = v; }
    std::vector<std::wstring> Lines(const std::wstring& n) const override { return At(n).lines; }
    void SetLines(const std::wstring& n, const std::vector<std::wstring>& v) override {
        At(n).lines = v;
    }
    std::vector<ListViewItem> ListItems(const std::wstring& n) const override {
        return At(n).items;
    }
    void SetListItems(const std::wstring& n, const std::vector<ListViewItem>& v) override {
        At(n).items = v;
    }
    std::vector<int> ColumnWidths(const std::wstring& n) const override { return At(n).widths; }
    void SetColumnWidths(const std::wstring& n, const std::vector<int>& v) override {
        At(n).widths = v;
    }
    double Date(const std::wstring& n) const override { return At(n).date; }
    void SetDate(const std::wstring& n, double v) override { At(n).date = v; }
    double Value(const std::wstring& n) const override { return At(n).value; }
    void SetValue(const std::wstring& n, double v) override { At(n).value = v; }
    int BoundOf(const std::wstring& n, Bound b) const override {
        const auto& bounds = At(n).bounds;
        return bounds.count(b) ? bounds.at(b) : 0;
    }
    void SetBound(const std::wstring& n, Bound b, int v) override { At(n).bounds[b] = v; }
};

// The main window's stored controls with their design defaults.
inline void AddMainWindowControls(FakeControls& f) {
    f.Add(L"lvCustomPrograms", ControlClass::ListView);
    f.Add(L"lbProgramExclusions", ControlClass::ListBox);
    f.Add(L"edUserName", ControlClass::Edit);
    f.Add(L"cbDisablePrivacyWarning", ControlClass::CheckBox);
    f.Add(L"edUserName2", ControlClass::Edit);
    f.Add(L"cbAutoCheck", ControlClass::CheckBox).checked = true;
    f.Add(L"cbFirstRun", ControlClass::CheckBox).checked = true;
    f.Add(L"cbDisplayDrivers", ControlClass::CheckBox);
}

} // namespace torvik::testing
