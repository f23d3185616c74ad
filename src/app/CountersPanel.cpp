#include "app/CountersPanel.h"

#include <algorithm>
#include <cwchar>

#include "app/Controls.h"

namespace torvik::app {
namespace {

constexpr const wchar_t* kCaptions[CountersPanel::kCount] = {
    L"New versions", L"From community", L"Up-to-date", L"My submissions", L"My Total submissions",
};
// Space on either side of a caption, and the rows' places.
constexpr int kColumnPadding = 6;
constexpr int kCaptionTop = 5;
constexpr int kNumberTop = 22;
constexpr int kRowHeight = 16;

int TextWidth(HWND control, const wchar_t* text) {
    const win32::WindowDc dc(control);
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    const HGDIOBJ old = ::SelectObject(dc.get(), font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc.get(), text, static_cast<int>(std::wcslen(text)), &size);
    ::SelectObject(dc.get(), old);
    return size.cx;
}

} // namespace

bool CountersPanel::Create(HWND parent, int id, const std::array<int, kCount>& numberIds) {
    background_.reset(::CreateSolidBrush(kBackground));
    if (!ContainerWindow::Create(parent, L"TorvikCountersPanel", background_.get())) {
        return false;
    }
    ::SetWindowLongPtrW(Handle(), GWLP_ID, id);
    LOGFONTW font{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    bold_.reset(::CreateFontIndirectW(&font));
    for (size_t i = 0; i < kCount; ++i) {
        captions_[i] = CreateChild(L"STATIC", SS_CENTER | SS_NOPREFIX, Handle(), kCaptions[i], 0);
        numbers_[i] = CreateChild(L"STATIC", SS_CENTER | SS_NOPREFIX, Handle(), L"0", numberIds[i]);
        captionWidths_[i] = TextWidth(captions_[i], kCaptions[i]);
    }
    return true;
}

void CountersPanel::SetCounter(Counter counter, const CounterLabel& label) {
    const HWND number = numbers_[counter];
    emphasised_[counter] = label.emphasised;
    const HGDIOBJ font = label.emphasised ? bold_.get() : ::GetStockObject(DEFAULT_GUI_FONT);
    ::SendMessageW(number, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SetWindowTextW(number, label.text.c_str());
    ::InvalidateRect(number, nullptr, TRUE);
}

int CountersPanel::CaptionsWidth() const {
    int width = 0;
    for (const int caption : captionWidths_) {
        width += caption;
    }
    return width;
}

int CountersPanel::PreferredWidth() const {
    return CaptionsWidth() + 2 * kColumnPadding * static_cast<int>(kCount);
}

void CountersPanel::Move(int x, int y, int width, int height) {
    ::MoveWindow(Handle(), x, y, width, height, TRUE);
    // What the captions leave goes to the columns in equal parts, the
    // last taking the remainder, so that the columns fill the panel.
    const int spare = std::max(0, width - CaptionsWidth());
    const int share = spare / static_cast<int>(kCount);
    int left = 0;
    for (size_t i = 0; i < kCount; ++i) {
        const int column =
            captionWidths_[i] + share + (i + 1 == kCount ? spare % static_cast<int>(kCount) : 0);
        ::MoveWindow(captions_[i], left, kCaptionTop, column, kRowHeight, TRUE);
        ::MoveWindow(numbers_[i], left, kNumberTop, column, kRowHeight, TRUE);
        left += column;
    }
}

LRESULT CountersPanel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CTLCOLORSTATIC) {
        const auto control = reinterpret_cast<HWND>(lParam);
        bool emphasised = false;
        for (size_t i = 0; i < kCount; ++i) {
            emphasised = emphasised || (control == numbers_[i] && emphasised_[i]);
        }
        ::SetTextColor(reinterpret_cast<HDC>(wParam), emphasised ? kEmphasis : RGB(0, 0, 0));
    }
    return ContainerWindow::HandleMessage(msg, wParam, lParam);
}

} // namespace torvik::app
