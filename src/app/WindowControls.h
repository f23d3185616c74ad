#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "ui/SettingsStore.h"

namespace torvik::app {

// The named controls of one window, for the settings store: each control's
// values read and written through its own window messages. The kind of a
// control follows from its window class and style unless it is given.
class WindowControls : public ControlRegistry {
public:
    void Add(const std::wstring& name, HWND control, std::optional<ControlClass> cls = {});

    std::optional<ControlClass> Find(const std::wstring& name) const override;
    std::wstring Text(const std::wstring& name) const override;
    void SetText(const std::wstring& name, const std::wstring& text) override;
    int ItemIndex(const std::wstring& name) const override;
    void SetItemIndex(const std::wstring& name, int index) override;
    bool Checked(const std::wstring& name) const override;
    void SetChecked(const std::wstring& name, bool checked) override;
    std::vector<std::wstring> Lines(const std::wstring& name) const override;
    void SetLines(const std::wstring& name, const std::vector<std::wstring>& lines) override;
    std::vector<ListViewItem> ListItems(const std::wstring& name) const override;
    void SetListItems(const std::wstring& name, const std::vector<ListViewItem>& items) override;
    std::vector<int> ColumnWidths(const std::wstring& name) const override;
    void SetColumnWidths(const std::wstring& name, const std::vector<int>& widths) override;
    double Date(const std::wstring& name) const override;
    void SetDate(const std::wstring& name, double date) override;
    double Value(const std::wstring& name) const override;
    void SetValue(const std::wstring& name, double value) override;
    int BoundOf(const std::wstring& name, Bound bound) const override;
    void SetBound(const std::wstring& name, Bound bound, int value) override;

private:
    struct Entry {
        HWND hwnd;
        ControlClass cls;
    };
    const Entry* Get(const std::wstring& name) const;
    const Entry& At(const std::wstring& name) const;

    std::map<std::wstring, Entry> controls_; // keys in lower case
};

} // namespace torvik::app
