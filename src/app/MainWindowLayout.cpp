// The main window's regions: the top bar, the main pages (no tabs), the
// splitter, the bottom pages with tabs, and the status bar.
#include <windows.h>

#include <commctrl.h>

#include "app/MainWindow.h"
#include "app/MainWindowIds.h"
#include "common/PathUtils.h"

namespace torvik::app {
namespace {

constexpr int kTopBarHeight = 50;
constexpr int kSplitterHeight = 4;
constexpr int kBottomHeight = 246;
constexpr COLORREF kSplitterColour = RGB(0xB5, 0xB5, 0xB5);
constexpr COLORREF kUserBoxColour = RGB(0xEE, 0xEE, 0xEE);
constexpr COLORREF kBusyColour = RGB(0xFF, 0x00, 0x00);
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
    accountButton_.Enable(false);
    lastCheck_.Create(bar, L"", kIdLastCheck);
    counters_.Create(bar, L"", kIdCounters);

    pages_.Create(bar, 0, kTopBarHeight, 100, 100);
    const HWND myPrograms = pages_.AddPage(L"My programs");
    pages_.AddPage(L"Community");
    pages_.AddPage(L"Other");
    settingsPage_ = pages_.AddPage(L"Settings"); // never shown
    pages_.ShowPage(0);
    filter_ = CreateChild(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, myPrograms, L"", kIdFilter,
                          WS_EX_CLIENTEDGE);
    hideUpToDate_ = CreateChild(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, myPrograms,
                                L"Hide up to date", kIdHideUpToDate);
    ::SendMessageW(hideUpToDate_, BM_SETCHECK, BST_CHECKED, 0);
    programList_.Create(myPrograms, kIdProgramList, inventory_->Lists.ProgramList, textCompare_);
    programList_.iconFor = [this](const TProgramRecord& record) {
        return icons_ ? icons_->IconFor(MakeFn(record.TargetExePath, record.TargetExeFilename))
                      : nullptr;
    };
    programList_.onProgramSelected = [this](const TProgramRecord& record) {
        ShowRecordDetails(record);
    };
    syncingIcons_.Create(bar, L"Synchronizing Icons...", kIdSyncingIcons);
    ::ShowWindow(syncingIcons_.Handle(), SW_HIDE);

    splitter_ = CreateChild(L"STATIC", 0, bar, L"", 0);
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
    details_ =
        CreateChild(L"EDIT", ES_MULTILINE | ES_READONLY | WS_VSCROLL, bottomTabs_, L"", kIdDetails);
    ::ShowWindow(details_, SW_HIDE);
    statusBar_ = CreateChild(STATUSCLASSNAMEW, SBARS_SIZEGRIP, bar, L"", 0);

    splitterBrush_.reset(::CreateSolidBrush(kSplitterColour));
    userBoxBrush_.reset(::CreateSolidBrush(kUserBoxColour));
}

std::optional<LRESULT> MainWindow::ColourStatic(HDC dc, HWND control) {
    if (control == splitter_) {
        return reinterpret_cast<LRESULT>(splitterBrush_.get());
    }
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
        ::SetTextColor(dc, kBusyColour);
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    return std::nullopt;
}

void MainWindow::LayOut(int width, int height) {
    ::MoveWindow(myProgramsToggle_.Handle(), 6, 4, 100, 24, TRUE);
    ::MoveWindow(communityToggle_.Handle(), 110, 4, 100, 24, TRUE);
    ::MoveWindow(start_.Handle(), 224, 4, 90, 24, TRUE);
    ::MoveWindow(busy_.Handle(), 326, 8, 300, 16, TRUE);
    ::MoveWindow(syncingIcons_.Handle(), 636, 8, 160, 16, TRUE);
    ::MoveWindow(userLabel_.Handle(), width - 290, 8, 60, 16, TRUE);
    ::MoveWindow(userBox_, width - 226, 5, 190, 21, TRUE);
    ::MoveWindow(accountButton_.Handle(), width - 32, 5, 26, 21, TRUE);
    ::MoveWindow(lastCheck_.Handle(), 6, 32, 314, 16, TRUE);
    ::MoveWindow(counters_.Handle(), 326, 32, width - 332, 16, TRUE);

    ::SendMessageW(statusBar_, WM_SIZE, 0, 0);
    RECT status{};
    ::GetWindowRect(statusBar_, &status);
    const int statusHeight = status.bottom - status.top;
    const int bottomTop = height - statusHeight - kBottomHeight;
    const int pagesHeight = std::max(0, bottomTop - kSplitterHeight - kTopBarHeight);
    ::MoveWindow(pages_.Handle(), 0, kTopBarHeight, width, pagesHeight, TRUE);
    ::MoveWindow(filter_, 6, 4, 260, 21, TRUE);
    ::MoveWindow(hideUpToDate_, 278, 5, 160, 20, TRUE);
    ::MoveWindow(programList_.Handle(), 6, 30, width - 12, std::max(0, pagesHeight - 34), TRUE);
    ::MoveWindow(splitter_, 0, kTopBarHeight + pagesHeight, width, kSplitterHeight, TRUE);
    ::MoveWindow(bottomTabs_, 0, bottomTop, width, kBottomHeight, TRUE);
    RECT inside{0, 0, width, kBottomHeight};
    TabCtrl_AdjustRect(bottomTabs_, FALSE, &inside);
    for (const HWND page : {home_, details_}) {
        ::MoveWindow(page, inside.left, inside.top, inside.right - inside.left,
                     inside.bottom - inside.top, TRUE);
    }
}

void MainWindow::SetStatusText(const std::wstring& text) {
    ::SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void MainWindow::ShowMyProgramsPage() {
    ::SendMessageW(myProgramsToggle_.Handle(), BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageW(communityToggle_.Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
    pages_.ShowPage(0);
    ::SetFocus(filter_);
}

void MainWindow::ShowBusyLabel(const std::wstring& text) {
    // While a check runs, the please-wait panel speaks instead.
    if (!::IsWindowEnabled(start_.Handle())) {
        return;
    }
    busy_.SetText(text.empty() ? L"Please wait..." : text);
    ::ShowWindow(busy_.Handle(), SW_SHOW);
    ::UpdateWindow(busy_.Handle());
}

void MainWindow::HideBusyLabel() {
    ::ShowWindow(busy_.Handle(), SW_HIDE);
    SetStatusText(std::to_wstring(programList_.Model().Count()) + L" programs found.");
}

} // namespace torvik::app
