#include "app/WindowControls.h"

#include <commctrl.h>

#include "app/Controls.h"
#include "common/Error.h"
#include "common/Text.h"
#include "platform/win32/Win32Locale.h"
#include "ui/NumberText.h"

namespace torvik::app {
namespace {

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    ::GetClassNameW(hwnd, name, 64);
    return name;
}

ControlClass KindOf(HWND hwnd) {
    const std::wstring cls = ClassOf(hwnd);
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    if (SameTextAscii(cls, L"Edit")) {
        return (style & ES_MULTILINE) != 0 ? ControlClass::Memo : ControlClass::Edit;
    }
    if (SameTextAscii(cls, L"Button")) {
        switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return ControlClass::CheckBox;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return ControlClass::RadioButton;
        default:
            return ControlClass::Other;
        }
    }
    if (SameTextAscii(cls, L"ComboBox")) {
        return ControlClass::ComboBox;
    }
    if (SameTextAscii(cls, L"ListBox")) {
        return ControlClass::ListBox;
    }
    if (SameTextAscii(cls, WC_LISTVIEWW)) {
        return ControlClass::ListView;
    }
    if (SameTextAscii(cls, DATETIMEPICK_CLASSW)) {
        return ControlClass::DatePicker;
    }
    return ControlClass::Other;
}

// The lines of a list box or a combo box's list: their messages differ only
// in their numbers.
struct ListMessages {
    UINT count, textLength, text, reset, add, getSelection, setSelection;
};
constexpr ListMessages kListBox{LB_GETCOUNT,  LB_GETTEXTLEN, LB_GETTEXT,  LB_RESETCONTENT,
                                LB_ADDSTRING, LB_GETCURSEL,  LB_SETCURSEL};
constexpr ListMessages kComboBox{CB_GETCOUNT,  CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_RESETCONTENT,
                                 CB_ADDSTRING, CB_GETCURSEL,    CB_SETCURSEL};

const ListMessages& MessagesOf(ControlClass cls) {
    return cls == ControlClass::ComboBox ? kComboBox : kListBox;
}

std::vector<std::wstring> ListLines(HWND hwnd, const ListMessages& m) {
    std::vector<std::wstring> lines;
    const auto count = ::SendMessageW(hwnd, m.count, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = ::SendMessageW(hwnd, m.textLength, static_cast<WPARAM>(i), 0);
        std::wstring line(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
        const auto got = ::SendMessageW(hwnd, m.text, static_cast<WPARAM>(i),
                                        reinterpret_cast<LPARAM>(line.data()));
        line.resize(static_cast<size_t>(got < 0 ? 0 : got));
        lines.push_back(std::move(line));
    }
    return lines;
}

std::wstring ItemText(HWND list, int row, int column) {
    std::wstring text(256, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto got = ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                        reinterpret_cast<LPARAM>(&item));
        if (static_cast<size_t>(got) + 1 < text.size()) {
            text.resize(static_cast<size_t>(got));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

int ColumnCount(HWND list) {
    const HWND header = ListView_GetHeader(list);
    return header ? Header_GetItemCount(header) : 0;
}

// The control's rectangle in its parent's client coordinates.
RECT BoundsOf(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

void WindowControls::Add(const std::wstring& name, HWND control, std::optional<ControlClass> cls) {
    controls_[LowerCaseAscii(name)] = {control, cls.value_or(KindOf(control))};
}

const WindowControls::Entry* WindowControls::Get(const std::wstring& name) const {
    const auto it = controls_.find(LowerCaseAscii(name));
    return it == controls_.end() ? nullptr : &it->second;
}

std::optional<ControlClass> WindowControls::Find(const std::wstring& name) const {
    const Entry* e = Get(name);
    return e ? std::optional(e->cls) : std::nullopt;
}

// The store asks only for controls that Find reported; a name that is not
// there is a fault of the caller.
const WindowControls::Entry& WindowControls::At(const std::wstring& name) const {
    const Entry* e = Get(name);
    if (e == nullptr) {
        throw TorvikError(L"Component " + name + L" not found");
    }
    return *e;
}

std::wstring WindowControls::Text(const std::wstring& name) const {
    const Entry& e = At(name);
    return WindowText(e.hwnd);
}

void WindowControls::SetText(const std::wstring& name, const std::wstring& text) {
    const Entry& e = At(name);
    ::SetWindowTextW(e.hwnd, text.c_str());
}

int WindowControls::ItemIndex(const std::wstring& name) const {
    const Entry& e = At(name);
    if (e.cls == ControlClass::ListView) {
        return ListView_GetNextItem(e.hwnd, -1, LVNI_SELECTED);
    }
    if (e.cls == ControlClass::ComboBox || e.cls == ControlClass::ListBox) {
        return static_cast<int>(::SendMessageW(e.hwnd, MessagesOf(e.cls).getSelection, 0, 0));
    }
    return -1;
}

void WindowControls::SetItemIndex(const std::wstring& name, int index) {
    const Entry& e = At(name);
    if (e.cls == ControlClass::ListView) {
        ListView_SetItemState(e.hwnd, -1, 0, LVIS_SELECTED);
        if (index >= 0) {
            ListView_SetItemState(e.hwnd, index, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
        }
    } else if (e.cls == ControlClass::ComboBox || e.cls == ControlClass::ListBox) {
        ::SendMessageW(e.hwnd, MessagesOf(e.cls).setSelection, static_cast<WPARAM>(index), 0);
    }
}

bool WindowControls::Checked(const std::wstring& name) const {
    const Entry& e = At(name);
    return ::SendMessageW(e.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void WindowControls::SetChecked(const std::wstring& name, bool checked) {
    const Entry& e = At(name);
    // BM_SETCHECK sends no BN_CLICKED: the control's click handler stays out.
    ::SendMessageW(e.hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::vector<std::wstring> WindowControls::Lines(const std::wstring& name) const {
    const Entry& e = At(name);
    if (e.cls == ControlClass::Memo) {
        return TextToLines(WindowText(e.hwnd));
    }
    return ListLines(e.hwnd, MessagesOf(e.cls));
}

void WindowControls::SetLines(const std::wstring& name, const std::vector<std::wstring>& lines) {
    const Entry& e = At(name);
    if (e.cls == ControlClass::Memo) {
        ::SetWindowTextW(e.hwnd, JoinLines(lines).c_str());
        return;
    }
    const ListMessages& m = MessagesOf(e.cls);
    ::SendMessageW(e.hwnd, m.reset, 0, 0);
    for (const auto& line : lines) {
        ::SendMessageW(e.hwnd, m.add, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
}

std::vector<ListViewItem> WindowControls::ListItems(const std::wstring& name) const {
    const Entry& e = At(name);
    std::vector<ListViewItem> items;
    const int count = ListView_GetItemCount(e.hwnd);
    const int columns = ColumnCount(e.hwnd);
    for (int row = 0; row < count; ++row) {
        ListViewItem item;
        item.checked = ListView_GetCheckState(e.hwnd, static_cast<UINT>(row)) != 0;
        item.selected = ListView_GetItemState(e.hwnd, row, LVIS_SELECTED) != 0;
        item.caption = ItemText(e.hwnd, row, 0);
        for (int column = 1; column < columns; ++column) {
            item.subItems.push_back(ItemText(e.hwnd, row, column));
        }
        items.push_back(std::move(item));
    }
    return items;
}

void WindowControls::SetListItems(const std::wstring& name,
                                  const std::vector<ListViewItem>& items) {
    const Entry& e = At(name);
    ::SendMessageW(e.hwnd, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(e.hwnd);
    const int columns = ColumnCount(e.hwnd);
    for (const auto& source : items) {
        std::wstring caption = source.caption;
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = ListView_GetItemCount(e.hwnd);
        item.pszText = caption.data();
        const int row = ListView_InsertItem(e.hwnd, &item);
        if (row < 0) {
            continue;
        }
        for (size_t i = 0; i < source.subItems.size() && static_cast<int>(i) + 1 < columns; ++i) {
            std::wstring text = source.subItems[i];
            ListView_SetItemText(e.hwnd, row, static_cast<int>(i) + 1, text.data());
        }
        ListView_SetCheckState(e.hwnd, static_cast<UINT>(row), source.checked);
        if (source.selected) {
            ListView_SetItemState(e.hwnd, row, LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    ::SendMessageW(e.hwnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(e.hwnd, nullptr, TRUE);
}

std::vector<int> WindowControls::ColumnWidths(const std::wstring& name) const {
    const Entry& e = At(name);
    std::vector<int> widths;
    for (int column = 0, count = ColumnCount(e.hwnd); column < count; ++column) {
        widths.push_back(ListView_GetColumnWidth(e.hwnd, column));
    }
    return widths;
}

void WindowControls::SetColumnWidths(const std::wstring& name, const std::vector<int>& widths) {
    const Entry& e = At(name);
    for (size_t column = 0; column < widths.size(); ++column) {
        ListView_SetColumnWidth(e.hwnd, static_cast<int>(column), widths[column]);
    }
}

double WindowControls::Date(const std::wstring& name) const {
    const Entry& e = At(name);
    SYSTEMTIME t{};
    if (DateTime_GetSystemtime(e.hwnd, &t) != GDT_VALID) {
        return 0;
    }
    return win32::DateTimeOf(t);
}

void WindowControls::SetDate(const std::wstring& name, double date) {
    const Entry& e = At(name);
    SYSTEMTIME t = win32::SystemTimeOf(date);
    DateTime_SetSystemtime(e.hwnd, GDT_VALID, &t);
}

double WindowControls::Value(const std::wstring& name) const {
    const Entry& e = At(name);
    return NumberOrZero(Trim(WindowText(e.hwnd)));
}

void WindowControls::SetValue(const std::wstring& name, double value) {
    const Entry& e = At(name);
    ::SetWindowTextW(e.hwnd, NumberText(value).c_str());
}

int WindowControls::BoundOf(const std::wstring& name, Bound bound) const {
    const Entry& e = At(name);
    const RECT r = BoundsOf(e.hwnd);
    switch (bound) {
    case Bound::Left:
        return r.left;
    case Bound::Top:
        return r.top;
    case Bound::Width:
        return r.right - r.left;
    case Bound::Height:
        return r.bottom - r.top;
    }
    return 0;
}

void WindowControls::SetBound(const std::wstring& name, Bound bound, int value) {
    const Entry& e = At(name);
    RECT r = BoundsOf(e.hwnd);
    int left = r.left, top = r.top, width = r.right - r.left, height = r.bottom - r.top;
    switch (bound) {
    case Bound::Left:
        left = value;
        break;
    case Bound::Top:
        top = value;
        break;
    case Bound::Width:
        width = value;
        break;
    case Bound::Height:
        height = value;
        break;
    }
    ::SetWindowPos(e.hwnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace torvik::app
