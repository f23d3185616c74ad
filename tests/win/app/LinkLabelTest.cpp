#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "WinTestSupport.h"
#include "app/LinkLabel.h"
#include "app/Window.h"

namespace torvik::app {
namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

class LabelWindow : public Window {
public:
    bool Create() {
        return Window::Create(L"TorvikLinkLabelTest", WS_OVERLAPPEDWINDOW, 0, L"Link labels", 40,
                              40, 360, 240, nullptr);
    }
};

class LinkLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window.Create());
        ASSERT_TRUE(back.Create(window.Handle(), L"<a href=><u>&lt;&lt; Back", 1));
        ASSERT_TRUE(plain.Create(window.Handle(), L"Plain text label", 2));
        ASSERT_TRUE(notes.Create(window.Handle(),
                                 L"<b>Torvik</b> Updater<align center><br>checks <i>your</i> "
                                 L"programs<br><font bgcolor=#80FFFF>for &quot;new&quot; "
                                 L"versions</font><br>&copy; 2026<hr size=2>",
                                 3));
        ASSERT_TRUE(disabled.Create(window.Handle(), L"<x>Disabled link", 4));
        disabled.Enable(false);
        // White shows the plain label's bounds on the screenshot; the disabled
        // one lets the window show through.
        plain.SetBackground(RGB(255, 255, 255));
        disabled.SetBackground(std::nullopt);
        ::MoveWindow(back.Handle(), 10, 10, 1, 1, TRUE);
        ::MoveWindow(plain.Handle(), 10, 34, 1, 1, TRUE);
        notes.SetAutoSize(false);
        ::MoveWindow(notes.Handle(), 10, 60, 200, 80, TRUE);
        ::MoveWindow(disabled.Handle(), 10, 160, 1, 1, TRUE);
    }
    void TearDown() override { ::DestroyWindow(window.Handle()); }

    static SIZE ClientSize(const LinkLabel& label) {
        RECT r{};
        ::GetClientRect(label.Handle(), &r);
        return {r.right, r.bottom};
    }

    LabelWindow window;
    LinkLabel back, plain, notes, disabled;
};

TEST_F(LinkLabelTest, OnlyLinksShowTheHandCursor) {
    const HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
    EXPECT_TRUE(back.IsLink());
    EXPECT_FALSE(plain.IsLink());
    EXPECT_TRUE(disabled.IsLink());

    ::SetCursor(arrow);
    EXPECT_TRUE(::SendMessageW(back.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(back.Handle()),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::GetCursor(), hand);

    ::SendMessageW(plain.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(plain.Handle()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), arrow);
}

TEST_F(LinkLabelTest, LinksTurnRedUnderTheMouseAndBack) {
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    const struct {
        LinkLabel& label;
        COLORREF normal;
        COLORREF hovered;
    } cases[] = {
        {back, kBlue, kRed},
        {plain, text, text},
        {disabled, kBlue, kBlue},
    };
    for (const auto& c : cases) {
        const std::wstring name = c.label.Caption();
        EXPECT_EQ(c.label.TextColor(), c.normal) << name;
        ::SendMessageW(c.label.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        EXPECT_EQ(c.label.TextColor(), c.hovered) << name;
        ::SendMessageW(c.label.Handle(), WM_MOUSELEAVE, 0, 0);
        EXPECT_EQ(c.label.TextColor(), c.normal) << name;
    }
    // A link with a font of its own keeps its own colour.
    LinkLabel own;
    ASSERT_TRUE(own.Create(window.Handle(), L"x", 5));
    own.SetFont(static_cast<HFONT>(::GetStockObject(SYSTEM_FONT)));
    own.SetFontColor(RGB(0, 128, 0));
    own.SetCaption(L"<a href=x>own</a>");
    EXPECT_EQ(own.TextColor(), RGB(0, 128, 0));
}

TEST_F(LinkLabelTest, AutoSizeTakesTheMeasuredSize) {
    // The plain label measured by hand: one line of the parent's font.
    const HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const HDC dc = ::GetDC(plain.Handle());
    const HGDIOBJ old = ::SelectObject(dc, font);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, L"Plain text label", 16, &extent);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(plain.Handle(), dc);
    EXPECT_EQ(ClientSize(plain).cx, extent.cx);
    EXPECT_EQ(ClientSize(plain).cy, metrics.tmHeight + 1);

    for (const LinkLabel* label : {&back, &plain, &disabled}) {
        EXPECT_EQ(ClientSize(*label).cx, label->MeasuredSize().cx) << label->Caption();
        EXPECT_EQ(ClientSize(*label).cy, label->MeasuredSize().cy) << label->Caption();
    }
    // Without auto-size the label keeps the size it was given.
    EXPECT_EQ(ClientSize(notes).cx, 200);
    EXPECT_EQ(ClientSize(notes).cy, 80);
    EXPECT_GT(notes.MeasuredSize().cy, 3 * metrics.tmHeight);

    // A right-justified label grows to the left.
    plain.SetRightJustify(true);
    ::MoveWindow(plain.Handle(), 100, 34, 200, 20, TRUE); // right edge at 300
    plain.SetCaption(L"A longer <b>plain</b> text label");
    RECT bounds{};
    ::GetWindowRect(plain.Handle(), &bounds);
    ::MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&bounds), 2);
    EXPECT_EQ(bounds.right, 300);
    EXPECT_EQ(bounds.right - bounds.left, plain.MeasuredSize().cx);
    EXPECT_GT(plain.MeasuredSize().cx, extent.cx);
}

TEST_F(LinkLabelTest, AClickOnTheLabelRunsOnClick) {
    int clicks = 0;
    back.onClick = [&clicks] { ++clicks; };
    const LPARAM inside = MAKELPARAM(2, 2);
    ::SendMessageW(back.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, inside);
    ::SendMessageW(back.Handle(), WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(clicks, 1);
    // Released elsewhere, or with no press first: no click.
    ::SendMessageW(back.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, inside);
    ::SendMessageW(back.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(500, 2));
    ::SendMessageW(back.Handle(), WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(clicks, 1);
}

TEST_F(LinkLabelTest, Screenshot) {
    // Kept for a person to look at: link, plain, centred notes with a rule
    // and a background, disabled link.
    EXPECT_TRUE(torvik::wintest::SaveWindowShot(window.Handle(), L"link_label") ||
                std::getenv("TORVIK_SCREENSHOTS") == nullptr);
}

} // namespace
} // namespace torvik::app
