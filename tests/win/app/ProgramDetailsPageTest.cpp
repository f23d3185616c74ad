#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "WinTestSupport.h"
#include "app/ContributionPanel.h"
#include "app/MainWindowIds.h"
#include "app/ProgramDetailsPage.h"
#include "app/TestHost.h"

namespace torvik::app {
namespace {

std::wstring TextOf(HWND parent, int id) {
    return WindowText(::GetDlgItem(parent, id));
}

void ClickLabel(HWND label) {
    const LPARAM inside = MAKELPARAM(2, 2);
    ::SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    ::SendMessageW(label, WM_LBUTTONUP, 0, inside);
}

TEST(ProgramDetailsPageTest, ShowsTheProgramAndReportsEachLinkClick) {
    wintest::TestHost host;
    ASSERT_TRUE(host.Create(960, 220));
    ProgramDetailsPage page;
    ASSERT_TRUE(page.Create(host.Handle()));
    page.Move(0, 0, 960, 220);
    std::wstring clicked;
    page.onProductUrl = [&] { clicked += L"product "; };
    page.onDownloadUrl = [&] { clicked += L"download "; };
    page.onFileHippoUrl = [&] { clicked += L"filehippo "; };
    page.onProgramPage = [&] { clicked += L"page "; };
    page.onWriteComment = [&] { clicked += L"comment "; };
    page.onSubmitUrl = [&] { clicked += L"url "; };

    page.SetProgramName(L"Demo Editor");
    page.SetRecord(L"editor.exe", L"C:\\Program Files\\Demo Editor\\", L"2.1.0");
    page.SetComments(L"alice (2026-12-10)\r\nWorks well.\r\nSecond line\r\n---\r\n");
    page.SetLinks(L"<a href=><u>www.example.com/editor", L"please submit a url", L"",
                  L"<a href=><u>127.0.0.1:1245/program.aspx?id=abc");
    page.SetFileHippoVersion(L"");
    page.SetNewVersions(L"2.2.0 (3 users)");
    page.SetPopularity(L"12 users");

    const HWND window = page.Handle();
    EXPECT_EQ(TextOf(window, kIdDetailsProgramName), L"Demo Editor");
    EXPECT_EQ(TextOf(window, kIdDetailsFileName), L"editor.exe");
    EXPECT_EQ(TextOf(window, kIdDetailsFolder), L"C:\\Program Files\\Demo Editor\\");
    EXPECT_EQ(TextOf(window, kIdDetailsLocalVersion), L"2.1.0");
    EXPECT_EQ(TextOf(window, kIdDetailsNewVersions), L"2.2.0 (3 users)");
    EXPECT_EQ(TextOf(window, kIdDetailsPopularity), L"12 users");
    EXPECT_NE(TextOf(window, kIdDetailsComments).find(L"Works well.\r\nSecond line"),
              std::wstring::npos);

    for (int id : {kIdDetailsProductLink, kIdDetailsDownloadLink, kIdDetailsFileHippoLink,
                   kIdDetailsProgramPageLink, kIdWriteComment, kIdSubmitUrl}) {
        ClickLabel(::GetDlgItem(window, id));
    }
    EXPECT_EQ(clicked, L"product download filehippo page comment url ");

    ::ShowWindow(host.Handle(), SW_SHOW);
    wintest::PumpUntil([] { return false; }, 200);
    EXPECT_TRUE(wintest::SaveWindowShot(host.Handle(), L"program_details_page"));
}

TEST(ContributionPanelTest, HoldsTheFormAndShowsModerationOnlyWhenAsked) {
    wintest::TestHost host;
    ASSERT_TRUE(host.Create(800, 500));
    ContributionPanel panel;
    ASSERT_TRUE(panel.Create(host.Handle()));
    std::wstring pressed;
    panel.onSend = [&] { pressed += L"send "; };
    panel.onApproveLastVersion = [&] { pressed += L"approve "; };
    panel.onApproveUrl = [&] { pressed += L"approve-url "; };
    panel.onTakeOffline = [&] { pressed += L"offline "; };
    panel.onClose = [&] { pressed += L"close "; };

    panel.SetProgramName(L"Demo Editor");
    const std::pair<ContributionPanel::Field, std::wstring> fields[] = {
        {ContributionPanel::Field::Alias, L"alice"},
        {ContributionPanel::Field::Comment, L"Works well.\r\nSecond line"},
        {ContributionPanel::Field::Tags, L"editor, free"},
        {ContributionPanel::Field::ProductUrl, L"https://www.example.com/editor"},
        {ContributionPanel::Field::DownloadUrl, L"https://www.example.com/editor/get"},
    };
    for (const auto& [field, text] : fields) {
        panel.SetText(field, text);
    }
    for (const auto& [field, text] : fields) {
        EXPECT_EQ(panel.Text(field), text);
    }

    ::ShowWindow(host.Handle(), SW_SHOW);
    panel.ShowPage(ContributionPanel::Page::Comment);
    panel.CentreAndShow();
    EXPECT_TRUE(panel.Visible());
    const HWND approve = wintest::FindById(panel.Handle(), kIdApproveLastVersion);
    ASSERT_NE(approve, nullptr);
    EXPECT_FALSE(panel.ApproveLastVersionVisible());
    panel.ShowModeration();
    EXPECT_TRUE(panel.ApproveLastVersionVisible());
    for (int id : {kIdApproveUrl, kIdTakeOffline}) {
        EXPECT_TRUE(::IsWindowVisible(wintest::FindById(panel.Handle(), id)));
    }

    for (int id : {kIdPostComment, kIdPostUrl, kIdApproveLastVersion, kIdApproveUrl, kIdTakeOffline,
                   kIdContributionClose}) {
        const HWND button = wintest::FindById(panel.Handle(), id);
        ASSERT_NE(button, nullptr) << id;
        ::SendMessageW(button, BM_CLICK, 0, 0);
    }
    EXPECT_EQ(pressed, L"send send approve approve-url offline close ");

    panel.EnableSend(false);
    EXPECT_FALSE(::IsWindowEnabled(wintest::FindById(panel.Handle(), kIdPostComment)));
    EXPECT_FALSE(::IsWindowEnabled(wintest::FindById(panel.Handle(), kIdPostUrl)));
    wintest::PumpUntil([] { return false; }, 200);
    EXPECT_TRUE(wintest::SaveWindowShot(host.Handle(), L"contribution_panel"));
}

} // namespace
} // namespace torvik::app
