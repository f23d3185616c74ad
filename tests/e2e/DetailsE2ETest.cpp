// The program details against torvik-service: the selection shows what the
// service knows of the program, a comment posted from the panel shows at the
// next selection, and approving a reported version is the moderators' alone:
// refused to anyone else, and once a moderator approves it the next check of
// another user reports it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>

#include "CheckE2EFixture.h"
#include "UpdaterProcess.h"
#include "WinTestSupport.h"
#include "app/MainWindowIds.h"
#include "app/MessageLoop.h"

namespace torvik::e2e {
namespace {

// The installations of the two users; the service's moderator account is
// linked to the second (tests/e2e/with-service).
constexpr const char* kUserSettings =
    "[cbDisablePrivacyWarning.Checked]\r\n1\r\n[cbAutoCheck.Checked]\r\n0\r\n"
    "[edUserName.Text]\r\nuser_E2EDETAILSUSER0000001_2026-12-11 00:00:00.000\r\n";
constexpr const char* kModeratorSettings =
    "[cbDisablePrivacyWarning.Checked]\r\n1\r\n[cbAutoCheck.Checked]\r\n0\r\n"
    "[edUserName.Text]\r\nuser_E2EDETAILSMODERATOR01_2026-12-11 00:00:00.000\r\n";

constexpr DWORD kDetailsTimeoutMs = 20000;

// Waits until the control's text passes done; the last text seen.
std::wstring WaitForText(HWND control, const std::function<bool(const std::wstring&)>& done,
                         DWORD timeoutMs = kDetailsTimeoutMs) {
    std::wstring text = TextOf(control);
    for (DWORD waited = 0; waited < timeoutMs && !done(text); waited += 100) {
        ::Sleep(100);
        text = TextOf(control);
    }
    return text;
}

bool SelectProgram(HWND window, const std::wstring& name) {
    const HWND list = ControlById(window, app::kIdProgramList);
    for (DWORD waited = 0; waited < kDetailsTimeoutMs; waited += 200) {
        const auto rows = ListViewRows(list, 1);
        const auto it = std::find_if(rows.begin(), rows.end(),
                                     [&](const auto& row) { return row[0] == name; });
        if (it != rows.end()) {
            return SelectListRow(list, static_cast<int>(it - rows.begin()));
        }
        ::Sleep(200);
    }
    return false;
}

// Selects the program and waits until its details have come from the
// service (the comments box has left its placeholder).
std::wstring ShowDetails(HWND window, const std::wstring& name) {
    if (!SelectProgram(window, name)) {
        ADD_FAILURE() << name << " is not listed";
        return L"";
    }
    const HWND programName = ControlById(window, app::kIdDetailsProgramName);
    EXPECT_EQ(WaitForText(programName, [&](const std::wstring& t) { return t == name; }), name);
    return WaitForText(ControlById(window, app::kIdDetailsComments), [](const std::wstring& t) {
        return !t.empty() && t != L"-=downloading..=-";
    });
}

void ClickLink(HWND label) {
    const LPARAM inside = MAKELPARAM(2, 2);
    ::PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    ::PostMessageW(label, WM_LBUTTONUP, 0, inside);
}

// "Write new comment": the program details panel in front.
HWND OpenCommentPanel(HWND window) {
    ClickLink(ControlById(window, app::kIdWriteComment));
    return WaitForPanel(window, L"Program details", kDetailsTimeoutMs);
}

void SetText(HWND window, int id, const std::wstring& text) {
    ::SendMessageW(ControlById(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Ctrl with a key (and Shift), as the window's shortcuts see it.
void PressShortcut(HWND window, wchar_t key, bool shift) {
    ::SendMessageW(window, app::kWmShortcutKey, key, shift ? 1 : 0);
}

class DetailsE2E : public CheckE2EBase {};

TEST_F(DetailsE2E, TheServicesNotesShowAndAPostedCommentShowsAtTheNextSelection) {
    ASSERT_TRUE(WriteSettings(exe, kUserSettings));
    UpdaterProcess updater(exe, L"/local_url2 /autorun");
    const HWND window = StartCheck(updater);
    ASSERT_NE(window, nullptr);
    ExpectCheckedStatuses(Statuses(window, true));

    const std::wstring comments = ShowDetails(window, L"Torvik E2E App");
    EXPECT_EQ(comments, L"<no comments found>");
    EXPECT_EQ(TextOf(ControlById(window, app::kIdDetailsProductLink)),
              L"<a href=><u>https://example.org/e2e-app");
    EXPECT_EQ(TextOf(ControlById(window, app::kIdDetailsDownloadLink)), L"please submit a url");
    EXPECT_EQ(TextOf(ControlById(window, app::kIdDetailsFileName)), L"scanfix_app.exe");
    EXPECT_NE(TextOf(ControlById(window, app::kIdDetailsProgramPageLink)).find(L"program.aspx?id="),
              std::wstring::npos);

    // A comment with an alias: the account had no name, so the alias
    // becomes it without a question.
    const HWND panel = OpenCommentPanel(window);
    ASSERT_NE(panel, nullptr);
    SetText(window, app::kIdContributionAlias, L"E2E Alice");
    SetText(window, app::kIdContributionComment, L"Works under Wine\r\nsecond line");
    SetText(window, app::kIdContributionTags, L"e2e");
    ClickButton(ControlById(window, app::kIdPostComment));
    const HWND thanks = WaitForBox(updater.Id(), L"", kDetailsTimeoutMs);
    ASSERT_NE(thanks, nullptr);
    EXPECT_EQ(BoxText(thanks), L"Thank you!");
    PressOk(thanks);
    EXPECT_EQ(WaitForText(ControlById(window, app::kIdUserName),
                          [](const std::wstring& t) { return t == L"E2E Alice"; }),
              L"E2E Alice");
    for (int i = 0; i < 50 && ::IsWindowVisible(panel); ++i) {
        ::Sleep(100);
    }
    EXPECT_FALSE(::IsWindowVisible(panel)) << "closed after the thanks";

    // The next selection of the program fetches it again.
    ShowDetails(window, L"Torvik E2E Tool");
    const std::wstring again = ShowDetails(window, L"Torvik E2E App");
    EXPECT_NE(again.find(L"E2E Alice"), std::wstring::npos) << again;
    EXPECT_NE(again.find(L"Works under Wine\r\nsecond line"), std::wstring::npos) << again;

    // Approving is for moderators: the service refuses this user.
    ShowDetails(window, L"Demo Beta");
    ASSERT_NE(OpenCommentPanel(window), nullptr);
    PressShortcut(window, L'A', true);
    const HWND approve = ControlById(window, app::kIdApproveLastVersion);
    ASSERT_TRUE(::IsWindowVisible(approve));
    ClickButton(approve);
    const HWND refused = WaitForBox(updater.Id(), L"TorvikExcept", kDetailsTimeoutMs);
    ASSERT_NE(refused, nullptr);
    EXPECT_NE(BoxText(refused).find(L"moderator"), std::wstring::npos) << BoxText(refused);
    PressOk(refused);
    wintest::SaveWindowShot(window, L"e2e_details");
    EXPECT_EQ(updater.Close(), 0u);
}

TEST_F(DetailsE2E, AModeratorsApprovalReachesTheNextCheckOfAnotherUser) {
    {
        ASSERT_TRUE(WriteSettings(exe, kModeratorSettings));
        UpdaterProcess moderator(exe, L"/local_url2");
        const HWND window = StartCheck(moderator);
        ASSERT_NE(window, nullptr);
        ShowDetails(window, L"Demo Beta");
        ASSERT_NE(OpenCommentPanel(window), nullptr);
        // Ctrl+P presses "Approve last version" only once the moderation
        // buttons show.
        PressShortcut(window, L'P', false);
        EXPECT_EQ(WaitForBox(moderator.Id(), L"TorvikExcept", 2000), nullptr);
        PressShortcut(window, L'A', true);
        PressShortcut(window, L'P', false);
        // Nothing is shown when the approval went through.
        EXPECT_EQ(WaitForBox(moderator.Id(), L"TorvikExcept", 5000), nullptr);
        EXPECT_EQ(moderator.Close(), 0u);
    }
    // The user who reported the version gets it as the catalogue's now.
    ASSERT_TRUE(WriteSettings(exe, kUserSettings));
    UpdaterProcess user(exe, L"/local_url2 /autorun");
    const HWND window = StartCheck(user);
    ASSERT_NE(window, nullptr);
    std::wstring status;
    for (DWORD waited = 0; waited < kCheckTimeoutMs && status != L"up to date"; waited += 200) {
        ::Sleep(200);
        const auto shown = Statuses(window, false);
        const auto it = shown.find(L"Demo Beta");
        status = it == shown.end() ? L"" : it->second;
    }
    EXPECT_EQ(status, L"up to date");
    EXPECT_EQ(user.Close(), 0u);
}

} // namespace
} // namespace torvik::e2e
