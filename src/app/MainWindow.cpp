#include "app/MainWindow.h"

#include <commctrl.h>

#include "common/Error.h"
#include "common/ProcessFlags.h"
#include "inventory/ExeDetails.h"
#include "inventory/FileDates.h"
#include "inventory/SingleInstance.h"
#include "platform/win32/Win32Locale.h"
#include "platform/win32/Win32System.h"
#include "protocol/ServiceHeader.h"
#include "service/Endpoints.h"

namespace torvik::app {
namespace {
constexpr UINT_PTR kTimerInitialize = 1;
constexpr UINT kTimerInitializeMs = 1000;
constexpr int kStartButtonId = 100;

void AddColumn(HWND listView, int index, const wchar_t* caption, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(caption);
    column.cx = width;
    ListView_InsertColumn(listView, index, &column);
}

std::wstring OwnExecutable() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}
} // namespace

MainWindow::MainWindow(MainWindowServices services, std::wstring title)
    : services_(services), title_(std::move(title)) {}

// The inventory may still be inside a wait loop when the window goes; it is
// destroyed with this object, after the message loop has ended.
MainWindow::~MainWindow() = default;

bool MainWindow::Create() {
    // The caption stays empty until the first show, so that a second
    // instance started meanwhile is turned away by the mutex, not activated.
    return Window::Create(L"TFormMain", WS_OVERLAPPEDWINDOW, WS_EX_APPWINDOW, L"", CW_USEDEFAULT,
                          CW_USEDEFAULT, 992, 600, nullptr);
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        FormCreate();
        return 0;
    case WM_SHOWWINDOW:
        if (wParam != 0) {
            FormShow();
        }
        break;
    case kWmShowSelf:
        WM_ShowSelf();
        return 0;
    case kWmPrivacyAccepted:
        check_->PrivacyAccepted();
        return 0;
    case WM_CLOSE:
        FormClose();
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

bool MainWindow::OnTimer(UINT_PTR id) {
    switch (id) {
    case kTimerInitialize:
        ::KillTimer(Handle(), kTimerInitialize);
        TimerInitializeTimer();
        return true;
    case kTimerLateCheck:
        check_->LateCheckTimerTick();
        return true;
    default:
        return false;
    }
}

void MainWindow::FormCreate() {
    start_.Create(Handle(), L" Start", kStartButtonId);
    start_.onClick = [this] { check_->StartPressed(); };
    orgCaption_ = start_.Caption();
    status_.Create(Handle());
    lastCheck_.Create(Handle());
    counters_.Create(Handle());
    lvMain_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 0, 0,
                                Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(lvMain_, WM_SETFONT,
                   reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    ListView_SetExtendedListViewStyle(lvMain_, LVS_EX_FULLROWSELECT);
    AddColumn(lvMain_, ProgramListModel::kProgram, L"Program", 220);
    AddColumn(lvMain_, ProgramListModel::kVersion, L"My Version", 110);
    AddColumn(lvMain_, ProgramListModel::kStatus, L"Database status", 150);
    AddColumn(lvMain_, ProgramListModel::kCommunity, L"Community status", 200);
    AddColumn(lvMain_, ProgramListModel::kFile, L"Executable", 300);

    inventory_ = std::make_unique<Inventory>(services_.fs, services_.folders, *this);
    CreateCheck();
    try {
        inventory_->Cache.LoadCachedLibrary();
    } catch (...) {
        ReportError(CurrentExceptionText());
    }
    check_->LoadLastReply();
    status_.SetText(L"Looking for installed programs...");
}

void MainWindow::CreateCheck() {
    TIEHttp::Services http{internet_, inventory_->Ansi, &services_.dialogs, &services_.fs,
                           [this] { WaitLoopTurn(); }};
    http_ = std::make_unique<TIEHttp>(http);
    http_->OnTimer = [this](TIEHttp&) { TurnSpinner(); };
    transport_ = std::make_unique<IEHttpTransport>(*http_);
    const AppFolders& folders = services_.folders;
    const win32::Win32TimeZone& zone = inventory_->Zone;
    CheckServices check{*transport_,
                        services_.fs,
                        services_.clock,
                        inventory_->Lists,
                        inventory_->Cache,
                        inventory_->Pipeline,
                        *this,
                        GetBuildNumber(inventory_->Versions, OwnExecutable()),
                        [] { return ServiceHeader(); },
                        folders.ProgramFilesFolder(),
                        folders.InSettings(L"updater_lastreply.ini"),
                        services_.args.IsParam(L"debug") ? folders.InSettings(L"reply.html") : L"",
                        [&zone](uint64_t fileTime) { return FileTimeToDateTime(zone, fileTime); },
                        [](double date) { return win32::LocaleDateTimeText(date); }};
    check_ = std::make_unique<CheckFlow>(std::move(check), *this);
}

void MainWindow::FormShow() {
    if (shownOnce_) {
        return;
    }
    shownOnce_ = true;
    ::SetWindowTextW(Handle(), title_.c_str());
    // Until the settings keep it, every run is an installation of its own.
    const win32::Win32OsVersion os;
    SetServiceHeader(BuildServiceHeader(NewUserId(services_.clock.Now()), os));
    serviceUrl_ =
        ServiceUrlAfterSwitches(DefaultServiceUrl(), services_.args.IsParam(L"local_url1"),
                                services_.args.IsParam(L"local_url2"));
    ::SetTimer(Handle(), kTimerInitialize, kTimerInitializeMs, nullptr);
}

void MainWindow::TimerInitializeTimer() {
    // The automatic check is a setting that is not stored yet: only the
    // switch asks for it.
    check_->InitialFlow(services_.args.IsParam(L"autorun"));
}

void MainWindow::FormClose() {
    // A request in progress ends now; the check then stops without a
    // message. Closing is never refused: a cache that cannot be written is
    // reported, and the window goes all the same.
    if (http_->WorkingStatus() != 0) {
        http_->StopRequest();
    }
    try {
        inventory_->Pipeline.SaveCacheAtClose();
    } catch (...) {
        ReportError(CurrentExceptionText());
    }
    ::DestroyWindow(Handle());
}

void MainWindow::WM_ShowSelf() {
    ::ShowWindow(Handle(), SW_SHOW);
    services_.desktop.ForceForegroundWindow(reinterpret_cast<WindowHandle>(Handle()));
}

void MainWindow::OnSize(int width, int height) {
    ::MoveWindow(start_.Handle(), 12, 10, 90, 26, TRUE);
    ::MoveWindow(status_.Handle(), 114, 8, width - 126, 16, TRUE);
    ::MoveWindow(lastCheck_.Handle(), 114, 26, width - 126, 16, TRUE);
    ::MoveWindow(counters_.Handle(), 12, 46, width - 24, 16, TRUE);
    ::MoveWindow(lvMain_, 12, 68, width - 24, height - 80, TRUE);
}

void MainWindow::WaitLoopTurn() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The outer message loop must still see it.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void MainWindow::PopupMsg(const std::wstring& text) {
    services_.notifier.PopupMsg(text);
}

void MainWindow::ReportWorkerError(const std::wstring& /*message*/) {
    // A scan says nothing but "Scan already in progress...": a failed step
    // publishes nothing, and the previous list stays on screen.
}

void MainWindow::HideBusyLabel() {
    status_.SetText(std::to_wstring(programs_.Count()) + L" programs found.");
}

} // namespace torvik::app
