#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "platform/win32/Com.h"
#include "platform/win32/UniqueHandle.h"

namespace torvik::win32 {
namespace {

// Counts closes, to see each handle closed exactly once.
struct CountingTraits {
    using Handle = int;
    static inline int closed = 0;
    static Handle Invalid() { return -1; }
    static void Close(Handle) { ++closed; }
};
using CountingHandle = UniqueHandle<CountingTraits>;

bool KernelHandleOpen(HANDLE h) {
    DWORD flags = 0;
    return ::GetHandleInformation(h, &flags) != FALSE;
}

TEST(UniqueHandle, ClosesOnceAcrossMovesResetsAndRelease) {
    CountingTraits::closed = 0;
    {
        CountingHandle a(7);
        CountingHandle b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), 7);
        CountingHandle c(8);
        c = std::move(b); // closes 8, takes 7
        EXPECT_EQ(CountingTraits::closed, 1);
        EXPECT_EQ(c.get(), 7);
        c = std::move(c); // self-move keeps the handle
        EXPECT_EQ(c.get(), 7);
        c.reset(9); // closes 7
        EXPECT_EQ(CountingTraits::closed, 2);
        EXPECT_EQ(c.release(), 9); // handed over, never closed here
        EXPECT_FALSE(c);
        CountingHandle invalid(-1);
        EXPECT_FALSE(invalid);
        invalid.reset(); // nothing to close
    }
    EXPECT_EQ(CountingTraits::closed, 2);
}

TEST(UniqueHandle, KernelHandlesAreClosedAndTheInvalidValuesDiffer) {
    HANDLE raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(raw, nullptr);
    {
        UniqueKernelHandle event(raw);
        EXPECT_TRUE(event);
        EXPECT_TRUE(KernelHandleOpen(raw));
    }
    EXPECT_FALSE(KernelHandleOpen(raw));

    // CreateFileW fails with INVALID_HANDLE_VALUE, which is not "open".
    UniqueFileHandle missing(
        ::CreateFileW(L"Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_FALSE(UniqueFileHandle());
    EXPECT_FALSE(UniqueKernelHandle());
}

TEST(UniqueHandle, GdiObjectsMenusAndIconsAreDestroyed) {
    HFONT rawFont =
        ::CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    HBRUSH rawBrush = ::CreateSolidBrush(RGB(0xC7, 0xC7, 0xD6));
    HMENU rawMenu = ::CreatePopupMenu();
    ASSERT_TRUE(rawFont && rawBrush && rawMenu);
    {
        UniqueFont font(rawFont);
        UniqueBrush brush(rawBrush);
        UniqueMenu menu(rawMenu);
        EXPECT_EQ(::GetObjectType(font.get()), static_cast<DWORD>(OBJ_FONT));
        EXPECT_TRUE(::IsMenu(menu.get()));
    }
    EXPECT_EQ(::GetObjectType(rawFont), 0u);
    EXPECT_EQ(::GetObjectType(rawBrush), 0u);
    EXPECT_FALSE(::IsMenu(rawMenu));

    BYTE andMask[32 * 4] = {};
    BYTE xorMask[32 * 4] = {};
    HICON rawIcon = ::CreateIcon(nullptr, 32, 32, 1, 1, andMask, xorMask);
    ASSERT_NE(rawIcon, nullptr);
    { UniqueIcon icon(rawIcon); }
    EXPECT_FALSE(::DestroyIcon(rawIcon)); // already gone
}

TEST(UniqueHandle, SelectedObjectPutsThePreviousOneBack) {
    UniqueCreatedDc dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ before = ::GetCurrentObject(dc.get(), OBJ_BRUSH);
    UniqueBrush brush(::CreateSolidBrush(RGB(255, 0, 0)));
    {
        SelectedObject selected(dc.get(), brush.get());
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BRUSH), brush.get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BRUSH), before);
    const HBRUSH raw = brush.get();
    brush.reset();
    EXPECT_EQ(::GetObjectType(raw), 0u); // deletable once deselected
}

TEST(UniqueHandle, WindowDcIsGivenBack) {
    WindowDc screen(nullptr);
    ASSERT_TRUE(screen);
    EXPECT_GT(::GetDeviceCaps(screen.get(), LOGPIXELSX), 0);
}

TEST(ComPtr, ReleasesOnResetAndMoves) {
    ComApartment apartment;
    ASSERT_TRUE(apartment.Initialized());
    ComPtr<IUnknown> stream;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, reinterpret_cast<IStream**>(stream.put())),
              S_OK);
    IUnknown* raw = stream.get();
    raw->AddRef();
    ComPtr<IUnknown> moved(std::move(stream));
    EXPECT_FALSE(stream);
    EXPECT_EQ(moved.get(), raw);
    ComPtr<IStream> asStream = moved.As<IStream>(IID_IStream);
    EXPECT_TRUE(asStream);
    asStream.reset();
    moved.reset();
    // Only the reference taken above is left.
    EXPECT_EQ(raw->Release(), 0u);
}

} // namespace
} // namespace torvik::win32
