#include <gtest/gtest.h>

#include "common/DateText.h"
#include "fakes/AppFixture.h"
#include "inventory/PopupMsg.h"

namespace torvik {
namespace {

using namespace torvik::testing;

TEST(PopupMsg, FullScreenNeedsTheWholeScreenAndNotTheDesktop) {
    struct Case {
        Rect rect;
        const wchar_t* cls;
        bool fullScreen;
    };
    const Case cases[] = {
        {{0, 0, 1920, 1080}, L"Game", true},     {{-8, -8, 1928, 1088}, L"Maximised", true},
        {{0, 0, 1919, 1079}, L"Exact", true},    {{0, 0, 1918, 1080}, L"Narrow", false},
        {{1, 0, 1920, 1080}, L"Offset", false},  {{0, 0, 1920, 1080}, L"Progman", false},
        {{0, 0, 1920, 1080}, L"WorkerW", false},
    };
    for (const auto& c : cases) {
        FakeDesktop d;
        d.foreground = 5;
        d.foregroundRect = c.rect;
        d.foregroundClass = c.cls;
        EXPECT_EQ(IsFullScreen(d), c.fullScreen) << c.cls;
    }
    EXPECT_FALSE(IsFullScreen(FakeDesktop{}));
}

TEST(PopupMsg, FullScreenNoticesGoToPendingAlerts) {
    AppFixture f;
    f.RunFrom(L"C:\\Tools\\X\\updater.exe");
    FakeDesktop desktop;
    desktop.foreground = 5;
    desktop.foregroundRect = {0, 0, 1920, 1080};
    FakeClock clock;
    clock.now = EncodeDateTime({2026, 12, 10, 9, 5, 7, 999});
    std::vector<std::wstring> shown;
    Notifier notifier(f.Folders(), desktop, clock,
                      [&](const std::wstring& t) { shown.push_back(t); });

    notifier.PopupMsg(L"Scan finished");
    notifier.PopupMsg(L"\u00e9t\u00e9");
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(f.fs.Content(L"C:\\Tools\\X\\pending_alerts.log"),
              "\xEF\xBB\xBF"
              "2026-12-10 09:05:07: Scan finished\r\n"
              "2026-12-10 09:05:07: \xC3\xA9t\xC3\xA9\r\n");

    desktop.foregroundClass = L"Progman";
    notifier.PopupMsg(L"now visible");
    EXPECT_EQ(shown, std::vector<std::wstring>{L"now visible"});
}

TEST(PopupMsg, UnwritableAlertsFileIsIgnored) {
    AppFixture f;
    f.RunFrom(L"C:\\Tools\\X\\updater.exe");
    f.fs.SetReadOnly(true);
    FakeDesktop desktop;
    desktop.foreground = 5;
    desktop.foregroundRect = {0, 0, 1920, 1080};
    FakeClock clock;
    Notifier(f.Folders(), desktop, clock, nullptr).PopupMsg(L"x");
    EXPECT_FALSE(f.fs.FileExists(L"C:\\Tools\\X\\pending_alerts.log"));
}

TEST(PopupMsg, SlotsStackAndWrapToTheFirst) {
    PopupSlots slots;
    for (int i = 1; i <= PopupSlots::kCount; ++i) {
        EXPECT_EQ(slots.Acquire(), i);
    }
    EXPECT_EQ(slots.Acquire(), 1) << "all taken: slot 1";
    slots.Release(4);
    EXPECT_EQ(slots.Acquire(), 4);
    // Numbers outside the slots free nothing: every slot is still taken.
    slots.Release(0);
    slots.Release(PopupSlots::kCount + 1);
    EXPECT_EQ(slots.Acquire(), 1);
    slots.Release(PopupSlots::kCount);
    EXPECT_EQ(slots.Acquire(), PopupSlots::kCount);
}

TEST(PopupMsg, PlacementAndFade) {
    const PopupPlacement narrow = PlacePopup(1280, 770, 1, 40);
    EXPECT_EQ(narrow.width, 110);
    EXPECT_EQ(narrow.left, 1280 - 110 - 50);
    EXPECT_EQ(narrow.top, 770 - 30 - 30);
    const PopupPlacement wide = PlacePopup(1280, 770, 3, 200);
    EXPECT_EQ(wide.width, 250);
    EXPECT_EQ(wide.top, 770 - 90 - 30);

    int alpha = 255, ticks = 0;
    while (alpha > 0) {
        alpha = NextPopupAlpha(alpha);
        ++ticks;
    }
    EXPECT_EQ(ticks, 85) << "255 / 3 steps of 10 ms after the 3 s hold";
}

} // namespace
} // namespace torvik
