// The account against torvik-service: registration, a login from another
// installation with the wrong and then the right password, and the change
// of user name, each through the login panel as the user works it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "CheckE2EFixture.h"
#include "UpdaterProcess.h"
#include "WinTestSupport.h"
#include "app/MainWindowIds.h"

namespace torvik::e2e {
namespace {

constexpr DWORD kReplyTimeoutMs = 20000;

std::string SettingsOf(const char* userId) {
    return std::string("[cbDisablePrivacyWarning.Checked]\r\n1\r\n[cbAutoCheck.Checked]\r\n0\r\n"
                       "[edUserName.Text]\r\n") +
           userId + "\r\n";
}

void SetText(HWND window, int id, const std::wstring& text) {
    ::SendMessageW(ControlById(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// ".." beside the account name: the login panel in front.
HWND OpenLoginPanel(HWND window) {
    ClickButton(ControlById(window, app::kIdAccount));
    return WaitForPanel(window, L"Login", kReplyTimeoutMs);
}

// Chooses a page in the list beside the pages, as a click would.
void ShowPage(HWND window, int row) {
    const HWND pages = ControlById(window, app::kIdLoginPages);
    ::SendMessageW(pages, LB_SETCURSEL, row, 0);
    ::SendMessageW(::GetParent(pages), WM_COMMAND, MAKEWPARAM(app::kIdLoginPages, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(pages));
}

// Presses the button and answers the message box it brings; its text.
std::wstring PressAndRead(const UpdaterProcess& updater, HWND window, int button) {
    ClickButton(ControlById(window, button));
    const HWND box = WaitForBox(updater.Id(), L"", kReplyTimeoutMs);
    if (box == nullptr) {
        return L"(no message)";
    }
    const std::wstring text = BoxText(box);
    PressOk(box);
    // The next step must not reach the window while the box's own loop runs.
    for (int i = 0; i < 100 && ::IsWindow(box); ++i) {
        ::Sleep(50);
    }
    return text;
}

std::wstring ShownAccount(HWND window) {
    return TextOf(ControlById(window, app::kIdUserName));
}

class AccountsE2E : public CheckE2EBase {};

TEST_F(AccountsE2E, RegisterThenLogInElsewhereThenRenameTheAccount) {
    {
        ASSERT_TRUE(
            WriteSettings(exe, SettingsOf("user_E2EACCOUNTSFIRST0001_2026-12-11 00:00:00.000")));
        UpdaterProcess first(exe, L"/local_url2");
        const HWND window = StartCheck(first);
        ASSERT_NE(window, nullptr);
        const HWND panel = OpenLoginPanel(window);
        ASSERT_NE(panel, nullptr);
        EXPECT_TRUE(::IsWindowVisible(ControlById(window, app::kIdRegisterName)))
            << "without an account the panel opens on its Register page";
        SetText(window, app::kIdRegisterName, L"  E2E Carol ");
        SetText(window, app::kIdRegisterPassword, L"correct horse");
        ClickButton(ControlById(window, app::kIdRegister));
        for (DWORD waited = 0; waited < kReplyTimeoutMs && ShownAccount(window) != L"E2E Carol";
             waited += 100) {
            ::Sleep(100);
        }
        EXPECT_EQ(ShownAccount(window), L"E2E Carol");
        EXPECT_FALSE(::IsWindowVisible(panel)) << "a registration closes the panel silently";
        wintest::SaveWindowShot(window, L"e2e_account_registered");
        EXPECT_EQ(first.Close(), 0u);
    }

    // Another installation logs into the account.
    ASSERT_TRUE(
        WriteSettings(exe, SettingsOf("user_E2EACCOUNTSOTHER0001_2026-12-11 00:00:00.000")));
    UpdaterProcess other(exe, L"/local_url2");
    const HWND window = StartCheck(other);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(OpenLoginPanel(window), nullptr);
    ShowPage(window, 1);
    ASSERT_TRUE(::IsWindowVisible(ControlById(window, app::kIdLoginName)));
    SetText(window, app::kIdLoginName, L"e2e carol");
    SetText(window, app::kIdLoginPassword, L"wrong horse");
    EXPECT_EQ(PressAndRead(other, window, app::kIdLogin), L"Login failed");
    EXPECT_EQ(ShownAccount(window), L"");
    SetText(window, app::kIdLoginPassword, L"correct horse");
    EXPECT_EQ(PressAndRead(other, window, app::kIdLogin), L"Login ok");
    EXPECT_EQ(ShownAccount(window), L"E2E Carol") << "the account's own spelling";

    // The panel opens on the Login page now; the name changes on its page.
    ASSERT_NE(OpenLoginPanel(window), nullptr);
    EXPECT_TRUE(::IsWindowVisible(ControlById(window, app::kIdLoginName)));
    ShowPage(window, 2);
    EXPECT_EQ(TextOf(ControlById(window, app::kIdExistingName)), L"E2E Carol");
    SetText(window, app::kIdNewName, L"E2E Caroline");
    EXPECT_EQ(PressAndRead(other, window, app::kIdChangeUsername), L"Username changed");
    EXPECT_EQ(ShownAccount(window), L"E2E Caroline");
    EXPECT_EQ(other.Close(), 0u);

    // The new name is the one kept in the settings.
    UpdaterProcess again(exe, L"/local_url2");
    const HWND restarted = StartCheck(again);
    ASSERT_NE(restarted, nullptr);
    for (DWORD waited = 0; waited < 5000 && ShownAccount(restarted).empty(); waited += 100) {
        ::Sleep(100);
    }
    EXPECT_EQ(ShownAccount(restarted), L"E2E Caroline");
    EXPECT_EQ(again.Close(), 0u);
}

} // namespace
} // namespace torvik::e2e
