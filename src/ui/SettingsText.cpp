#include "ui/SettingsText.h"

#include <algorithm>

#include "common/Text.h"
#include "protocol/Split.h"

namespace torvik {
namespace {

constexpr std::wstring_view kChecked = L"<checked>";
constexpr std::wstring_view kCaption = L"<caption>";
constexpr std::wstring_view kField = L"<FF>";

} // namespace

std::wstring Escape(std::wstring_view value) {
    std::vector<std::wstring> lines = TextToLines(Trim(value));
    for (auto& line : lines) {
        line.insert(0, 1, L'>');
    }
    return Trim(JoinLines(lines));
}

std::wstring Unescape(std::wstring_view text) {
    std::vector<std::wstring> lines = TextToLines(Trim(text));
    for (auto& line : lines) {
        if (!line.empty() && line.front() == L'>') {
            line.erase(0, 1);
        }
    }
    return Trim(JoinLines(lines));
}

std::wstring GetLVAsText(const std::vector<ListViewItem>& items) {
    std::wstring text;
    for (const auto& item : items) {
        text += std::wstring(kChecked) + (item.checked ? L"1" : L"0") + std::wstring(kCaption) +
                item.caption;
        for (const auto& sub : item.subItems) {
            text += std::wstring(kField) + sub;
        }
        text += L"\r\n";
    }
    return text;
}

std::vector<ListViewItem> SetLVAsText(const std::wstring& text) {
    std::vector<ListViewItem> items;
    for (const auto& line : TextToLines(text)) {
        if (line.empty()) {
            continue;
        }
        const auto fields = _x_Split(line, std::wstring(kField), true);
        ListViewItem item;
        const std::wstring& first = fields[0];
        const size_t caption = first.find(kCaption);
        if (caption != std::wstring::npos) {
            item.caption = first.substr(caption + kCaption.size());
            item.checked =
                first.substr(0, caption).find(std::wstring(kChecked) + L"1") != std::wstring::npos;
        } else {
            const auto parts = _x_Split(first, L"#", false);
            item.caption = parts[0];
            item.checked = parts.size() > 1 && parts[1] == L"1";
            item.selected = parts.size() > 2 && parts[2] == L"1";
        }
        item.subItems.assign(fields.begin() + 1, fields.end());
        items.push_back(std::move(item));
    }
    return items;
}

std::wstring GetColumns(const std::vector<int>& widths) {
    std::wstring text;
    for (const int width : widths) {
        text += std::to_wstring(width) + L",";
    }
    if (!text.empty()) {
        text.pop_back();
    }
    return text;
}

void SetColumns(const std::wstring& text, std::vector<int>& widths) {
    const auto parts = _x_Split(text, L",", true);
    for (size_t i = 0; i < widths.size() && i < parts.size(); ++i) {
        const auto width = ParseDecimal(parts[i]);
        if (width && *width != 0) {
            widths[i] = *width;
        }
    }
}

std::optional<std::wstring> FormPositionValue(const FormPlacement& window, const WorkArea& area) {
    FormPlacement stored = window;
    if (window.maximized) {
        stored.left = area.width / 16;
        stored.top = area.height / 8;
        stored.width = area.width - 2 * (area.width / 16);
        stored.height = area.height - 2 * (area.height / 8);
    }
    if (stored.left < -100 || stored.top < -100) {
        return std::nullopt;
    }
    return std::to_wstring(stored.left) + L"," + std::to_wstring(stored.top) + L"," +
           std::to_wstring(stored.width) + L"," + std::to_wstring(stored.height) + L"," +
           (window.maximized ? L"Max" : L"Normal");
}

FormPlacement PlacementFromValue(const std::wstring& value, const WorkArea& area) {
    const FormPlacement whole{0, 0, area.width, area.height, false};
    if (Trim(value).empty()) {
        return whole;
    }
    auto parts = _x_Split(value, L",", true);
    parts.resize(std::max<size_t>(parts.size(), 5));
    const auto left = ParseDecimal(parts[0]);
    const auto top = ParseDecimal(parts[1]);
    if (!left || !top || *left < -100 || *top < -100 || parts[4] == L"Max") {
        return {0, 0, area.width, area.height, true};
    }
    const int width = ParseDecimal(parts[2]).value_or(0);
    const int height = ParseDecimal(parts[3]).value_or(0);
    return {*left, *top, width > 0 ? width : 0, height > 0 ? height : 0, false};
}

} // namespace torvik
