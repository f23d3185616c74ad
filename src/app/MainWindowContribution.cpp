// Contributions to the shown program, the moderators' verdicts, the online
// search of a custom program and the account: requests of the main thread
// through the window's own WinHTTP client.
#include <windows.h>

#include <shellapi.h>

#include "app/MainWindow.h"
#include "app/MainWindowIds.h"
#include "protocol/ServiceHeader.h"
#include "ui/LinkAddress.h"

namespace torvik::app {
namespace {

// The window waits for these replies: a service that does not answer must
// not hold it for WinHTTP's own minutes.
constexpr std::chrono::milliseconds kRequestTimeout{30000};

} // namespace

void MainWindow::CreateContribution() {
    contributionPanel_.Create(Handle());
    winHttp1_ = std::make_unique<WinHttpServiceTransport>(winHttp_, inventory_->Ansi, services_.fs,
                                                          kRequestTimeout);
    const ServiceAccess service{
        *winHttp1_, [this] { return ServiceUrl(); }, build_, [] { return ServiceHeader(); },
        ScreeningHooks{{}, [this](const std::wstring& text) { ShowMessage(text); }}};
    const auto owner = reinterpret_cast<WindowHandle>(Handle());
    loginPanel_.Create(Handle());
    account_ = std::make_unique<AccountFlow>(service, services_.dialogs, owner, *this);
    loginPanel_.onRegister = [this] { account_->bRegisterClick(); };
    loginPanel_.onLogin = [this] { account_->bLoginClick(); };
    loginPanel_.onChangeUsername = [this] { account_->bRegister_UsernameClick(); };
    loginPanel_.onChangePassword = [this] { account_->bRegister_PasswordClick(); };
    accountButton_.onClick = [this] { account_->bMyAccountClick(); };

    contribution_ = std::make_unique<ContributionFlow>(
        ContributionServices{services_.dialogs, owner, service,
                             [this] { return detailsArea_->ActiveProgram(); },
                             [this](const std::wstring& newName) {
                                 loginPanel_.SetText(LoginPanel::Box::NewName, newName);
                                 return account_->bRegister_UsernameClick();
                             }},
        *this);
    customSearchFlow_ = std::make_unique<CustomProgramSearch>(
        CustomSearchServices{services_.dialogs, services_.fs, inventory_->Versions, service},
        *this);

    contributionPanel_.onSend = [this] { contribution_->bCommunity_PostNoteClick(); };
    contributionPanel_.onClose = [this] { contribution_->bCommunity_CloseClick(); };
    contributionPanel_.onApproveLastVersion = [this] { contribution_->bCommunity2ApproveClick(); };
    contributionPanel_.onApproveUrl = [this] { contribution_->bCommunity3ApproveClick(); };
    contributionPanel_.onTakeOffline = [this] { contribution_->bCommunity2RejectClick(); };
    detailsPage_.onWriteComment = [this] { contribution_->HTLabel3xClick(); };
    detailsPage_.onSubmitUrl = [this] { contribution_->TorvikLinkLabel1Click(); };
    customSearch_.onClick = [this] { customSearchFlow_->bCustomProgram_SearchClick(); };
}

bool MainWindow::OnShortcut(const ShortcutKey& key) {
    return contribution_ && contribution_->ShortcutPressed(key);
}

void MainWindow::OpenDetailsUrl(const std::wstring& url) {
    // Only a web address reaches the shell: the service's text could name a
    // program or a file.
    if (const auto address = AddressToOpen(url)) {
        ::ShellExecuteW(Handle(), L"open", address->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

std::wstring MainWindow::Text(Field field) {
    return contributionPanel_.Text(field);
}

void MainWindow::SetText(Field field, const std::wstring& text) {
    contributionPanel_.SetText(field, text);
}

void MainWindow::Focus(Field field) {
    contributionPanel_.Focus(field);
}

void MainWindow::ShowPanel(ContributionView::Page page) {
    contributionPanel_.ShowPage(page);
    contributionPanel_.CentreAndShow();
}

void MainWindow::HidePanel() {
    contributionPanel_.Hide();
}

void MainWindow::EnableProgramList(bool enabled) {
    ::EnableWindow(programList_.Handle(), enabled ? TRUE : FALSE);
}

std::wstring MainWindow::AccountName() {
    return controls_.Text(L"edUserName2");
}

void MainWindow::SetAccountName(const std::wstring& name) {
    controls_.SetText(L"edUserName2", name);
    ShowUserName(name);
}

void MainWindow::SetSearchResult(const std::wstring& text) {
    ::SetWindowTextW(customFound_, text.c_str());
}

std::wstring MainWindow::UserId() {
    return controls_.Text(L"edUserName");
}

std::wstring MainWindow::ShownAccountName() {
    return WindowText(userBox_);
}

void MainWindow::ShowLoginPanel(AccountView::Page page) {
    loginPanel_.ShowPage(page);
    loginPanel_.CentreAndShow();
}

} // namespace torvik::app
