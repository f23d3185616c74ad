#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "WinTestSupport.h"
#include "app/Controls.h"
#include "app/CountersPanel.h"
#include "app/TestHost.h"

namespace torvik::app {
namespace {

using wintest::RectInParent;
using wintest::TestHost;

constexpr std::array<int, CountersPanel::kCount> kIds = {31, 32, 33, 34, 35};

// What the panel tells a number's painting: text colour, weight, background.
struct Look {
    COLORREF text, background;
    LONG weight;
};
Look LookOf(const CountersPanel& panel, CountersPanel::Counter counter) {
    const HWND number = panel.Number(counter);
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(panel.Handle(), WM_CTLCOLORSTATIC,
                                                               reinterpret_cast<WPARAM>(dc),
                                                               reinterpret_cast<LPARAM>(number)));
    Look look{::GetTextColor(dc), 0, 0};
    ::DeleteDC(dc);
    LOGBRUSH fill{};
    ::GetObjectW(brush, sizeof fill, &fill);
    look.background = fill.lbColor;
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(number, WM_GETFONT, 0, 0)), sizeof font,
                 &font);
    look.weight = font.lfWeight;
    return look;
}

// The width of a control's text in its font.
int TextWidth(HWND control) {
    const std::wstring text = WindowText(control);
    const HDC dc = ::GetDC(control);
    const HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return size.cx;
}

TEST(CountersPanel, CaptionsWithNumbersThatStandOutAboveZero) {
    TestHost host;
    ASSERT_TRUE(host.Create(640, 60));
    CountersPanel panel;
    ASSERT_TRUE(panel.Create(host.Handle(), 30, kIds));
    EXPECT_EQ(::GetDlgCtrlID(panel.Handle()), 30);

    const wchar_t* captions[] = {L"New versions", L"From community", L"Up-to-date",
                                 L"My submissions", L"My Total submissions"};
    for (size_t i = 0; i < CountersPanel::kCount; ++i) {
        const auto counter = static_cast<CountersPanel::Counter>(i);
        const HWND number = panel.Number(counter);
        ASSERT_EQ(::GetDlgItem(panel.Handle(), kIds[i]), number);
        EXPECT_EQ(WindowText(number), L"0");
        EXPECT_EQ(WindowText(::GetWindow(number, GW_HWNDPREV)), captions[i]);
        const Look look = LookOf(panel, counter);
        EXPECT_EQ(look.background, RGB(0xC7, 0xC7, 0xD6));
        EXPECT_EQ(look.text, RGB(0, 0, 0));
        EXPECT_LT(look.weight, FW_BOLD);
    }

    // Each caption above its number, side by side, none over another and
    // each wide enough for its text; a narrow panel takes the room between
    // them first.
    const int preferred = panel.PreferredWidth();
    for (const int width : {preferred, preferred - 60}) {
        SCOPED_TRACE(width);
        panel.Move(8, 4, width, 46);
        int right = 0;
        for (size_t i = 0; i < CountersPanel::kCount; ++i) {
            const HWND number = panel.Number(static_cast<CountersPanel::Counter>(i));
            const HWND caption = ::GetWindow(number, GW_HWNDPREV);
            const RECT above = RectInParent(caption), below = RectInParent(number);
            EXPECT_EQ(above.left, below.left) << i;
            EXPECT_EQ(above.right, below.right) << i;
            EXPECT_LE(above.bottom, below.top) << i;
            EXPECT_EQ(above.left, right) << i;
            right = above.right;
            EXPECT_GE(above.right - above.left, TextWidth(caption)) << i;
        }
        EXPECT_EQ(right, width);
    }

    panel.SetCounter(CountersPanel::kNewVersions, {L"1,234", true});
    panel.SetCounter(CountersPanel::kTotalSubmissions, {L"7", true});
    EXPECT_EQ(WindowText(panel.Number(CountersPanel::kNewVersions)), L"1,234");
    const Look emphasised = LookOf(panel, CountersPanel::kNewVersions);
    EXPECT_EQ(emphasised.text, RGB(0, 0x80, 0));
    EXPECT_GE(emphasised.weight, FW_BOLD);
    EXPECT_LT(LookOf(panel, CountersPanel::kUpToDate).weight, FW_BOLD);
    EXPECT_TRUE(wintest::SaveWindowShot(host.Handle(), L"counters_panel") ||
                std::getenv("TORVIK_SCREENSHOTS") == nullptr);

    // A later check with nothing new takes the emphasis back.
    panel.SetCounter(CountersPanel::kNewVersions, {L"0", false});
    const Look plain = LookOf(panel, CountersPanel::kNewVersions);
    EXPECT_EQ(plain.text, RGB(0, 0, 0));
    EXPECT_LT(plain.weight, FW_BOLD);
    ::DestroyWindow(host.Handle());
}

} // namespace
} // namespace torvik::app
