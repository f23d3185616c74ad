#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "app/Window.h"
#include "common/Error.h"

namespace torvik::app {
namespace {

constexpr UINT kThrowTorvik = WM_APP + 1;
constexpr UINT kThrowStd = WM_APP + 2;
constexpr UINT kThrowOther = WM_APP + 3;
constexpr UINT kAnswer = WM_APP + 4;

std::wstring reported;
void Capture(const std::wstring& text) {
    reported = text;
}

class ThrowingWindow : public Window {
public:
    bool Create() {
        return Window::Create(L"TorvikTestWindow", WS_OVERLAPPEDWINDOW, 0, L"probe", 0, 0, 100, 100,
                              nullptr);
    }
    bool destroyed = false;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case kThrowTorvik:
            throw TorvikError(L"Cannot write the file");
        case kThrowStd:
            throw std::runtime_error("bad state");
        case kThrowOther:
            throw 7;
        case kAnswer:
            return 42;
        default:
            return Window::HandleMessage(msg, wParam, lParam);
        }
    }
    void OnDestroyed() override { destroyed = true; }
};

TEST(Window, NoExceptionLeavesTheWindowProcedure) {
    const ErrorSink previous = SetErrorSink(Capture);
    ThrowingWindow window;
    ASSERT_TRUE(window.Create());
    EXPECT_EQ(::SendMessageW(window.Handle(), kAnswer, 0, 0), 42);
    const struct {
        UINT msg;
        const wchar_t* text;
    } cases[] = {
        {kThrowTorvik, L"Cannot write the file"},
        {kThrowStd, L"bad state"},
        {kThrowOther, L"Unknown error"},
    };
    for (const auto& c : cases) {
        reported.clear();
        ::SendMessageW(window.Handle(), c.msg, 0, 0);
        EXPECT_EQ(reported, c.text);
    }
    // The object lets go of its window when the window is destroyed.
    ::DestroyWindow(window.Handle());
    EXPECT_TRUE(window.destroyed);
    EXPECT_EQ(window.Handle(), nullptr);
    SetErrorSink(previous);
}

} // namespace
} // namespace torvik::app
