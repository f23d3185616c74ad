// The selected program's way to the details page: the list's selection
// names the program, the selection timer hands it to the details area, whose
// thread fetches what the service knows of it.
#include <windows.h>

#include <commctrl.h>

#include "app/MainWindow.h"
#include "exchange/WinHttpServiceTransport.h"
#include "protocol/ServiceHeader.h"
#include "service/Endpoints.h"

namespace torvik::app {
namespace {

// A fetch that hangs must not hold the window's closing up for long: it
// waits for the running fetch.
constexpr std::chrono::milliseconds kDetailsTimeout{10000};

} // namespace

void MainWindow::CreateLateSelect() {
    lateSelectTimer_.Attach(Handle());
    detailsThread_ = std::make_unique<TThreadGetProgramDetails>([this] {
        return std::make_unique<WinHttpServiceTransport>(winHttp_, inventory_->Ansi, services_.fs,
                                                         kDetailsTimeout);
    });
    detailsArea_ = std::make_unique<ProgramDetailsArea>(
        *this, *detailsThread_,
        ProgramDetailsAddress{
            [this] { return ServiceUrl(); }, build_, [] { return ServiceHeader(); },
            [](const std::wstring& url) { return PageBesideService(url, L"program.aspx?id="); }});
    lateSelect_ = std::make_unique<LateSelect>(lateSelectTimer_, inventory_->Lists, *detailsArea_,
                                               [](const std::wstring& text) { ReportError(text); });
    programList_.onProgramSelected = [this](const TProgramRecord& record) {
        lateSelect_->SelectProgram(record.ProgramName, record.TargetExeFilename);
    };
    detailsPage_.onProductUrl = [this] { OpenDetailsUrl(detailsPage_.Shown().productUrl); };
    detailsPage_.onDownloadUrl = [this] { OpenDetailsUrl(detailsPage_.Shown().downloadUrl); };
    detailsPage_.onFileHippoUrl = [this] { OpenDetailsUrl(detailsPage_.Shown().fileHippoUrl); };
    detailsPage_.onProgramPage = [this] { OpenDetailsUrl(detailsPage_.Shown().programPageUrl); };
}

void MainWindow::SetProgramName(const std::wstring& name) {
    detailsPage_.SetProgramName(name);
    contributionPanel_.SetProgramName(name);
}

void MainWindow::SetRecord(const std::wstring& fileName, const std::wstring& folder,
                           const std::wstring& localVersion) {
    detailsPage_.SetRecord(fileName, folder, localVersion);
}

void MainWindow::ShowDetailsPage() {
    TabCtrl_SetCurSel(bottomTabs_, 1);
    ShowBottomPage(1);
}

void MainWindow::ShowDetails(const ProgramDetailsTexts& texts) {
    detailsPage_.Show(texts);
}

void MainWindow::ShowDetailsLoading(bool loading) {
    detailsLoading_ = loading;
    if (loading) {
        busy_.SetText(L"Loading program details...");
        ::ShowWindow(busy_.Handle(), SW_SHOW);
    } else {
        ::ShowWindow(busy_.Handle(), SW_HIDE);
    }
    ::InvalidateRect(busy_.Handle(), nullptr, TRUE);
    ::UpdateWindow(busy_.Handle());
}

void MainWindow::ResetContribution() {
    contributionPanel_.SetText(ContributionPanel::Field::Alias, controls_.Text(L"edUserName2"));
    contributionPanel_.SetText(ContributionPanel::Field::Comment, L"");
    contributionPanel_.SetText(ContributionPanel::Field::Tags, L"");
}

} // namespace torvik::app
