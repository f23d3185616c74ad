#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "app/ContainerWindow.h"
#include "app/FilterEdit.h"
#include "app/TestHost.h"

namespace torvik::app {
namespace {

using wintest::PumpUntil;
using wintest::TestHost;

constexpr int kId = 77;

std::vector<std::wstring> reported;
void Capture(const std::wstring& text) {
    reported.push_back(text);
}

// The bitmap's pixels, top row first, as the screen shows them.
std::vector<COLORREF> BitmapPixels(HBITMAP bitmap) {
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = TTorvikFilterEdit::kIconSize;
    info.biHeight = -TTorvikFilterEdit::kIconSize;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    std::vector<DWORD> raw(TTorvikFilterEdit::kIconSize * TTorvikFilterEdit::kIconSize);
    const HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, TTorvikFilterEdit::kIconSize, raw.data(),
                reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    std::vector<COLORREF> pixels;
    for (const DWORD bgr : raw) {
        pixels.push_back(RGB(GetBValue(bgr), GetGValue(bgr), GetRValue(bgr)));
    }
    return pixels;
}

class FilterEditTest : public testing::Test {
protected:
    void SetUp() override {
        reported.clear();
        previousSink = SetErrorSink(Capture);
        ASSERT_TRUE(host.Create(320, 80));
        ASSERT_TRUE(page.Create(host.Handle(), L"TorvikTestPage",
                                static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))));
        ::MoveWindow(page.Handle(), 0, 0, 320, 80, TRUE);
    }
    void TearDown() override {
        SetErrorSink(previousSink);
        ::DestroyWindow(host.Handle());
    }
    RECT IconPlaceOnScreen(const TTorvikFilterEdit& edit) const {
        RECT client{};
        ::GetClientRect(edit.Handle(), &client);
        RECT icon{client.right - 2 - 16, 1, client.right - 2, 17};
        ::MapWindowPoints(edit.Handle(), nullptr, reinterpret_cast<POINT*>(&icon), 2);
        return icon;
    }

    ErrorSink previousSink = nullptr;
    TestHost host;
    ContainerWindow page;
};

TEST_F(FilterEditTest, TheHelpIconSitsInsideTheRightEdgeAndTheTextKeepsClearOfIt) {
    TTorvikFilterEdit edit;
    ASSERT_TRUE(edit.Create(page.Handle(), kId));
    ::MoveWindow(edit.Handle(), 10, 10, 260, 21, TRUE);
    EXPECT_TRUE(reported.empty());
    ASSERT_NE(edit.HelpIcon(), nullptr);

    // The text reaches the icon until the box is first focused.
    const auto rightMargin = [&] {
        return HIWORD(::SendMessageW(edit.Handle(), EM_GETMARGINS, 0, 0));
    };
    EXPECT_LT(rightMargin(), 21);
    ::ShowWindow(host.Handle(), SW_SHOW);
    ::SetForegroundWindow(host.Handle());
    ::SetFocus(edit.Handle());
    EXPECT_EQ(rightMargin(), 21);
    ::SetFocus(nullptr);
    ::SendMessageW(edit.Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, 3));
    ::SetFocus(edit.Handle());
    EXPECT_EQ(rightMargin(), 3) << "only the first focus sets the margin";

    // Typing is heard as from any edit box, icon or not.
    ::SendMessageW(edit.Handle(), WM_CHAR, L'x', 1);
    EXPECT_EQ(edit.Text(), L"x");
    EXPECT_TRUE(host.Received(kId, EN_CHANGE));

    // The icon on screen, pixel for pixel, 1 from the top and 2 from the
    // right of the box's inside.
    ::RedrawWindow(host.Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpUntil([] { return false; }, 100);
    HBITMAP bitmap =
        reinterpret_cast<HBITMAP>(::SendMessageW(edit.HelpIcon(), STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(bitmap, nullptr);
    const std::vector<COLORREF> expected = BitmapPixels(bitmap);
    const RECT icon = IconPlaceOnScreen(edit);
    const HDC screen = ::GetDC(nullptr);
    int differing = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            differing += ::GetPixel(screen, icon.left + x, icon.top + y) != expected[y * 16 + x];
        }
    }
    // The question mark itself: white inside blue.
    const COLORREF middle = ::GetPixel(screen, icon.left + 8, icon.top + 12);
    const COLORREF ring = ::GetPixel(screen, icon.left + 1, icon.top + 8);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(middle, RGB(255, 255, 255));
    EXPECT_GT(GetBValue(ring), GetRValue(ring) + 100) << std::hex << ring;

    // Moving the edit keeps the icon at the right edge.
    ::MoveWindow(edit.Handle(), 10, 10, 200, 21, TRUE);
    RECT client{};
    ::GetClientRect(edit.Handle(), &client);
    RECT placed{};
    ::GetWindowRect(edit.HelpIcon(), &placed);
    ::MapWindowPoints(nullptr, edit.Handle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, client.right - 18);
    EXPECT_EQ(placed.top, 1);
    EXPECT_EQ(placed.right - placed.left, 16);
    EXPECT_EQ(placed.bottom - placed.top, 16);

    EXPECT_TRUE(wintest::SaveWindowShot(host.Handle(), L"filter_edit") ||
                std::getenv("TORVIK_SCREENSHOTS") == nullptr);
}

TEST_F(FilterEditTest, TheMouseOnTheIconShowsTheHandAndTheHint) {
    TTorvikFilterEdit edit;
    ASSERT_TRUE(edit.Create(page.Handle(), kId));
    ::MoveWindow(edit.Handle(), 10, 10, 260, 21, TRUE);
    ASSERT_NE(edit.HelpIcon(), nullptr);
    ASSERT_NE(edit.Tooltip(), nullptr);

    wchar_t text[1024] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = edit.Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(edit.HelpIcon());
    tool.lpszText = text;
    ::SendMessageW(edit.Tooltip(), TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(text),
              L"Supports multiple keywords and also exclusions.\r\n"
              L"To exclude a term prefix the keyword with a dash (-) .\r\n"
              L"\r\n"
              L"Examples:\r\n"
              L"paint: lists all applications that contain the word \"paint\".\r\n"
              L"microsoft -office: lists all microsoft applications except office ones.\r\n"
              L"artist1 mp3: lists all mp3 items for artist1.\r\n"
              L"artist1 -mp3: lists all items for artist1 except mp3s (e.g. artist pictures)");
    // Wide enough for the longest line: only the line breaks break lines.
    EXPECT_GE(::SendMessageW(edit.Tooltip(), TTM_GETMAXTIPWIDTH, 0, 0), 600);

    // The hand over the icon only; the box keeps its own cursor.
    const HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
    ::SetCursor(arrow);
    ::SendMessageW(edit.HelpIcon(), WM_SETCURSOR, reinterpret_cast<WPARAM>(edit.HelpIcon()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), hand);
    ::SendMessageW(edit.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(edit.Handle()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(::GetCursor(), hand);

    // Resting the mouse on the icon opens the hint.
    ::ShowWindow(host.Handle(), SW_SHOW);
    ::SetForegroundWindow(host.Handle());
    ::UpdateWindow(host.Handle());
    RECT icon{};
    ::GetWindowRect(edit.HelpIcon(), &icon);
    ::SetCursorPos(icon.left + 4, icon.top + 4);
    PumpUntil([] { return false; }, 50);
    ::SetCursorPos(icon.left + 8, icon.top + 8);
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(edit.Tooltip()) != FALSE; }, 5000));
    RECT tip{};
    ::GetWindowRect(edit.Tooltip(), &tip);
    // Eight lines, one above the other.
    EXPECT_GT(tip.bottom - tip.top, 8 * 10);
    EXPECT_TRUE(wintest::SaveWindowShot(edit.Tooltip(), L"filter_edit_hint") ||
                std::getenv("TORVIK_SCREENSHOTS") == nullptr);
    ::SetCursorPos(0, 0);
}

TEST_F(FilterEditTest, WithoutItsBitmapTheBoxSaysSoAndWorksWithoutTheIcon) {
    TTorvikFilterEdit edit;
    // A module without the picture.
    ASSERT_TRUE(edit.Create(page.Handle(), kId, ::GetModuleHandleW(L"kernel32.dll")));
    EXPECT_EQ(reported, std::vector<std::wstring>{L"Resourse not found"});
    EXPECT_EQ(edit.HelpIcon(), nullptr);
    EXPECT_EQ(::GetWindow(edit.Handle(), GW_CHILD), nullptr);
    ::SendMessageW(edit.Handle(), WM_CHAR, L'p', 1);
    EXPECT_EQ(edit.Text(), L"p");
    EXPECT_TRUE(host.Received(kId, EN_CHANGE));
}

} // namespace
} // namespace torvik::app
