#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "WinTestSupport.h"
#include "app/LoginPanel.h"
#include "app/MainWindowIds.h"
#include "app/TestHost.h"

namespace torvik::app {
namespace {

TEST(LoginPanelTest, EachPageShowsItsBoxesAndButtonsAndPasswordsAreMasked) {
    wintest::TestHost host;
    ASSERT_TRUE(host.Create(800, 400));
    LoginPanel panel;
    ASSERT_TRUE(panel.Create(host.Handle()));
    std::wstring pressed;
    panel.onRegister = [&] { pressed += L"register "; };
    panel.onLogin = [&] { pressed += L"login "; };
    panel.onChangeUsername = [&] { pressed += L"username "; };
    panel.onChangePassword = [&] { pressed += L"password "; };
    ::ShowWindow(host.Handle(), SW_SHOW);

    using Box = LoginPanel::Box;
    using Page = LoginPanel::Page;
    const struct {
        Page page;
        const wchar_t* shot;
        std::pair<Box, int> boxes[2];
        bool masked[2];
        int button;
    } pages[] = {
        {Page::Register,
         L"login_panel_register",
         {{Box::RegisterName, kIdRegisterName}, {Box::RegisterPassword, kIdRegisterPassword}},
         {false, true},
         kIdRegister},
        {Page::Login,
         L"login_panel_login",
         {{Box::LoginName, kIdLoginName}, {Box::LoginPassword, kIdLoginPassword}},
         {false, true},
         kIdLogin},
        {Page::ChangeUsername,
         L"login_panel_username",
         {{Box::ExistingName, kIdExistingName}, {Box::NewName, kIdNewName}},
         {false, false},
         kIdChangeUsername},
        {Page::ChangePassword,
         L"login_panel_password",
         {{Box::PasswordPageName, kIdPasswordPageName}, {Box::NewPassword, kIdNewPassword}},
         {false, true},
         kIdChangePassword},
    };
    for (const auto& p : pages) {
        SCOPED_TRACE(p.shot);
        panel.ShowPage(p.page);
        panel.CentreAndShow();
        for (int i = 0; i < 2; ++i) {
            const auto [box, id] = p.boxes[i];
            const HWND edit = wintest::FindById(panel.Handle(), id);
            ASSERT_NE(edit, nullptr);
            EXPECT_TRUE(::IsWindowVisible(edit));
            EXPECT_EQ((::GetWindowLongW(edit, GWL_STYLE) & ES_PASSWORD) != 0, p.masked[i]);
            panel.SetText(box, L"alice");
            EXPECT_EQ(panel.Text(box), L"alice");
        }
        const HWND button = wintest::FindById(panel.Handle(), p.button);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(::IsWindowVisible(button));
        ::SendMessageW(button, BM_CLICK, 0, 0);
        wintest::PumpUntil([] { return false; }, 100);
        EXPECT_TRUE(wintest::SaveWindowShot(host.Handle(), p.shot));
    }
    EXPECT_EQ(pressed, L"register login username password ");
    EXPECT_TRUE(panel.Visible());
    // Each page's "Close" hides the panel.
    panel.Hide();
    EXPECT_FALSE(panel.Visible());
}

} // namespace
} // namespace torvik::app
