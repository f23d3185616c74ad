// The main window's regions: the top bar, the main pages (no tabs), the
// splitter, the bottom pages with tabs, and the status bar.
#include <windows.h>

#include <algorithm>

#include <commctrl.h>

#include "app/MainWindow.h"
#include "app/MainWindowIds.h"
#include "common/PathUtils.h"

namespace torvik::app {
namespace {

constexpr int kTopBarHeight = 50;
constexpr int kSplitterHeight = 4;
constexpr int kBottomHeight = 246; // until the user drags the splitter
// The pages keep room for the filter box and a few rows, the bottom area for
// its tabs and a few lines.
constexpr SplitLimits kSplitLimits{.minUpper = 100, .minLower = 60, .bar = kSplitterHeight};
constexpr COLORREF kSplitterColour = RGB(0xB5, 0xB5, 0xB5);
constexpr COLORREF kUserBoxColour = RGB(0xEE, 0xEE, 0xEE);
constexpr COLORREF kBusyColour = RGB(0xFF, 0x00, 0x00);
constexpr COLORREF kDetailsLoadingColour = RGB(0x00, 0x00, 0xFF);
constexpr COLORREF kSyncingColour = RGB(0x00, 0x80, 0x00);

} // namespace

void MainWindow::CreateLayout() {
    const HWND bar = Handle();
    myProgramsToggle_.Create(bar, L" My programs", kIdMyProgramsPage,
                             BS_AUTORADIOBUTTON | BS_PUSHLIKE | WS_GROUP);
    communityToggle_.Create(bar, L" Community", kIdCommunityPage, BS_AUTORADIOBUTTON | BS_PUSHLIKE);
    ::SendMessageW(myProgramsToggle_.Handle(), BM_SETCHECK, BST_CHECKED, 0);
    myProgramsToggle_.onClick = [this] { ShowMyProgramsPage(); };
    // The community pages come with the accounts and queries.
    communityToggle_.Enable(false);
    start_.Create(bar, L" Start", kIdStart);
    start_.onClick = [this] { check_->StartPressed(); };
    orgCaption_ = start_.Caption();
    busy_.Create(bar, L"", kIdBusyLabel);
    ::ShowWindow(busy_.Handle(), SW_HIDE);
    userLabel_.Create(bar, L"Username");
    userBox_ =
        CreateChild(L"EDIT", ES_READONLY | ES_AUTOHSCROLL, bar, L"", kIdUserName, WS_EX_CLIENTEDGE);
    accountButton_.Create(bar, L"..", kIdAccount);
    counters_.Create(
        bar, kIdCounters,
        {kIdNewVersions, kIdFromCommunity, kIdUpToDate, kIdMySubmissions, kIdTotalSubmissions});

    pages_.Create(bar, 0, kTopBarHeight, 100, 100);
    const HWND myPrograms = pages_.AddPage(L"My programs");
    pages_.AddPage(L"Community");
    pages_.AddPage(L"Other");
    settingsPage_ = pages_.AddPage(L"Settings"); // never shown
    pages_.ShowPage(0);
    filter_.Create(myPrograms, kIdFilter);
    hideUpToDate_ = CreateChild(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, myPrograms,
                                L"Hide up to date", kIdHideUpToDate);
    ::SendMessageW(hideUpToDate_, BM_SETCHECK, BST_CHECKED, 0);
    // When the last check was made, beside the switch its statuses depend on.
    lastCheck_.Create(myPrograms, L"", kIdLastCheck);
    programList_.Create(myPrograms, kIdProgramList, inventory_->Lists.ProgramList, textCompare_);
    programList_.iconFor = [this](const TProgramRecord& record) {
        return icons_ ? icons_->IconFor(MakeFn(record.TargetExePath, record.TargetExeFilename))
                      : nullptr;
    };
    syncingIcons_.Create(bar, L"Synchronizing Icons...", kIdSyncingIcons);
    ::ShowWindow(syncingIcons_.Handle(), SW_HIDE);

    splitter_.Create(bar, kSplitLimits, kBottomHeight, kSplitterColour);
    splitter_.onMoved = [this] {
        RECT client{};
        ::GetClientRect(Handle(), &client);
        LayOut(client.right, client.bottom);
    };
    bottomTabs_ = CreateChild(WC_TABCONTROLW, WS_CLIPCHILDREN, bar, L"", 0);
    for (const wchar_t* caption : {L"Home", L"Program Details"}) {
        TCITEMW tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<wchar_t*>(caption);
        TabCtrl_InsertItem(bottomTabs_, TabCtrl_GetItemCount(bottomTabs_), &tab);
    }
    // The home page stays empty where no browser control can be hosted.
    homePage_.Create(bottomTabs_);
    home_ = homePage_.Handle();
    detailsPage_.Create(bottomTabs_);
    ::ShowWindow(detailsPage_.Handle(), SW_HIDE);
    statusBar_ = CreateChild(STATUSCLASSNAMEW, SBARS_SIZEGRIP, bar, L"", 0);

    userBoxBrush_.reset(::CreateSolidBrush(kUserBoxColour));
}

std::optional<LRESULT> MainWindow::ColourStatic(HDC dc, HWND control) {
    if (control == userBox_) {
        ::SetBkColor(dc, kUserBoxColour);
        return reinterpret_cast<LRESULT>(userBoxBrush_.get());
    }
    if (control == syncingIcons_.Handle()) {
        ::SetTextColor(dc, kSyncingColour);
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    if (control == busy_.Handle()) {
        ::SetTextColor(dc, detailsLoading_ ? kDetailsLoadingColour : kBusyColour);
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    return std::nullopt;
}

void MainWindow::LayOut(int width, int height) {
    ::MoveWindow(myProgramsToggle_.Handle(), 6, 4, 100, 24, TRUE);
    ::MoveWindow(communityToggle_.Handle(), 110, 4, 100, 24, TRUE);
    ::MoveWindow(start_.Handle(), 224, 4, 90, 24, TRUE);
    // Under the buttons: what is going on.
    ::MoveWindow(busy_.Handle(), 6, 32, 164, 16, TRUE);
    ::MoveWindow(syncingIcons_.Handle(), 176, 32, 144, 16, TRUE);
    // The account at the right edge, its caption above its box; the
    // counters between the buttons and the account.
    const int account = width - 160;
    ::MoveWindow(userLabel_.Handle(), account, 5, 124, 16, TRUE);
    ::MoveWindow(userBox_, account, 23, 124, 21, TRUE);
    ::MoveWindow(accountButton_.Handle(), width - 32, 23, 26, 21, TRUE);
    counters_.Move(320, 2, std::max(0, std::min(counters_.PreferredWidth(), account - 6 - 320)),
                   kTopBarHeight - 4);

    ::SendMessageW(statusBar_, WM_SIZE, 0, 0);
    RECT status{};
    ::GetWindowRect(statusBar_, &status);
    const int statusHeight = status.bottom - status.top;
    const SplitHeights split =
        splitter_.Arrange(0, kTopBarHeight, width, height - statusHeight - kTopBarHeight);
    const int pagesHeight = split.upper;
    const int bottomTop = kTopBarHeight + pagesHeight + kSplitterHeight;
    ::MoveWindow(pages_.Handle(), 0, kTopBarHeight, width, pagesHeight, TRUE);
    ::MoveWindow(filter_.Handle(), 6, 4, 260, 21, TRUE);
    ::MoveWindow(hideUpToDate_, 278, 5, 110, 20, TRUE);
    ::MoveWindow(lastCheck_.Handle(), 396, 8, 300, 16, TRUE);
    ::MoveWindow(programList_.Handle(), 6, 30, width - 12, std::max(0, pagesHeight - 34), TRUE);
    otherPage_.LayOut(width, pagesHeight);
    ::MoveWindow(bottomTabs_, 0, bottomTop, width, split.lower, TRUE);
    RECT inside{0, 0, width, split.lower};
    TabCtrl_AdjustRect(bottomTabs_, FALSE, &inside);
    ::MoveWindow(home_, inside.left, inside.top, inside.right - inside.left,
                 inside.bottom - inside.top, TRUE);
    detailsPage_.Move(inside.left, inside.top, inside.right - inside.left,
                      inside.bottom - inside.top);
}

void MainWindow::SetStatusText(const std::wstring& text) {
    ::SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void MainWindow::ShowMyProgramsPage() {
    ::SendMessageW(myProgramsToggle_.Handle(), BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageW(communityToggle_.Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
    pages_.ShowPage(0);
    ::SetFocus(filter_.Handle());
}

void MainWindow::ShowBusyLabel(const std::wstring& text) {
    // While a check runs, the please-wait panel speaks instead.
    if (!::IsWindowEnabled(start_.Handle())) {
        return;
    }
    detailsLoading_ = false;
    busy_.SetText(text.empty() ? L"Please wait..." : text);
    ::ShowWindow(busy_.Handle(), SW_SHOW);
    ::UpdateWindow(busy_.Handle());
}

void MainWindow::HideBusyLabel() {
    ::ShowWindow(busy_.Handle(), SW_HIDE);
    // What the scan found, whatever the filter and the switches show of it.
    const auto& programs = inventory_->Lists.ProgramList;
    const auto found = std::count_if(programs.begin(), programs.end(), [](const auto& record) {
        return record->Status != ProgramStatus::Missing;
    });
    SetStatusText(std::to_wstring(found) + L" programs found.");
}

} // namespace torvik::app
