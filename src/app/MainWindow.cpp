#include "app/MainWindow.h"

#include <commctrl.h>

#include "app/MessageLoop.h"
#include "common/Error.h"
#include "common/PathUtils.h"
#include "common/ProcessFlags.h"
#include "inventory/ExeDetails.h"
#include "inventory/FileDates.h"
#include "inventory/SingleInstance.h"
#include "platform/win32/Win32Locale.h"
#include "platform/win32/Win32System.h"
#include "protocol/ServiceHeader.h"
#include "service/Endpoints.h"
#include "ui/MainWindowSettings.h"

namespace torvik::app {
namespace {
constexpr UINT_PTR kTimerInitialize = 1;
constexpr UINT kTimerInitializeMs = 1000;
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
        // The caption is set at the first show only: that is what a second
        // copy looks for.
        if (wParam != 0 && !shownOnce_) {
            shownOnce_ = true;
            flow_->FirstShow();
            ApplySwitches();
            NavigateHomePage();
        }
        break;
    case kWmShowSelf:
        WM_ShowSelf();
        return 0;
    case kWmShortcutKey:
        return OnShortcut({static_cast<unsigned>(wParam), true, lParam == 1}) ? 1 : 0;
    case kWmPrivacyAccepted:
        check_->PrivacyAccepted();
        return 0;
    case WM_CLOSE:
        flow_->Close();
        return 0;
    case WM_CONTEXTMENU:
        if (programListMenu_ &&
            programListMenu_->OnContextMenu(reinterpret_cast<HWND>(wParam), lParam, Handle())) {
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (const auto brush =
                ColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
            return *brush;
        }
        break;
    case kWmIconsArrived:
        ::InvalidateRect(programList_.Handle(), nullptr, FALSE);
        return 0;
    case kWmSyncIcons:
        SyncIcons();
        return 0;
    case WM_DESTROY:
        // The icon worker stops before the list that asks it goes.
        icons_.reset();
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
        flow_->InitializeTick();
        return true;
    case kTimerLateCheck:
        check_->LateCheckTimerTick();
        return true;
    case kTimerLateSelect:
        lateSelect_->Tick();
        return true;
    default:
        return false;
    }
}

bool MainWindow::OnCommand(int id, int code, HWND control) {
    // Esc comes as IDCANCEL; the program-details panel takes it while it shows.
    if (id == IDCANCEL && OnShortcut({kVirtualKeyEscape, false, false})) {
        return true;
    }
    // Menu entries come without a control.
    if (control == nullptr) {
        return code == 0 && OnMenuCommand(static_cast<UINT>(id));
    }
    return OnListCommand(id, code);
}

std::optional<LRESULT> MainWindow::OnNotify(NMHDR& header) {
    if (header.hwndFrom == bottomTabs_ && header.code == TCN_SELCHANGE) {
        ShowBottomPage(TabCtrl_GetCurSel(bottomTabs_));
        return 0;
    }
    if (programListMenu_ && programListMenu_->OnNotify(header, Handle())) {
        return TRUE;
    }
    return std::nullopt;
}

void MainWindow::FormCreate() {
    inventory_ = std::make_unique<Inventory>(services_.fs, services_.folders, *this);
    CreateLayout();
    CreateSettings();
    CreatePanels();
    CreateProgramListMenu();
    CreateOtherPage();
    CreateMainMenu();
    CreateCheck();
    // After the check: the details fetches carry its build number.
    CreateLateSelect();
    CreateContribution();
    CreateIcons();
    CreateFlow();
    try {
        inventory_->Cache.LoadCachedLibrary();
    } catch (...) {
        ReportError(CurrentExceptionText());
    }
    check_->LoadLastReply();
    SetStatusText(L"Looking for installed programs...");
}

void MainWindow::CreateCheck() {
    build_ = GetBuildNumber(inventory_->Versions, OwnExecutable());
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
                        build_,
                        [] { return ServiceHeader(); },
                        folders.ProgramFilesFolder(),
                        folders.InSettings(L"updater_lastreply.ini"),
                        services_.args.IsParam(L"debug") ? folders.InSettings(L"reply.html") : L"",
                        [&zone](uint64_t fileTime) { return FileTimeToDateTime(zone, fileTime); },
                        [](double date) { return win32::LocaleDateTimeText(date); }};
    check_ = std::make_unique<CheckFlow>(std::move(check), *this);
}

void MainWindow::CreateSettings() {
    try {
        settings_ = std::make_unique<WindowSettings>(
            Handle(), controls_,
            WindowSettingsServices{services_.fs, inventory_->Zone, inventory_->Ansi,
                                   services_.dialogs, services_.clock},
            services_.folders.AppSettingsPath(), ExtractFileName(OwnExecutable()),
            MainWindowPropertiesList());
    } catch (...) {
        // An older positions file that cannot be read: this run goes on
        // with the design defaults and writes no settings.
        ReportError(CurrentExceptionText());
    }
    AddSetting(L"edUserName", L"EDIT", ES_AUTOHSCROLL);
    AddSetting(L"cbDisablePrivacyWarning", L"BUTTON", BS_AUTOCHECKBOX);
    AddSetting(L"edUserName2", L"EDIT", ES_AUTOHSCROLL);
    ::SendMessageW(AddSetting(L"cbFirstRun", L"BUTTON", BS_AUTOCHECKBOX), BM_SETCHECK, BST_CHECKED,
                   0);
    AddSetting(L"cbDebug", L"BUTTON", BS_AUTOCHECKBOX);
    ::SetWindowTextW(AddSetting(L"edServiceURL", L"EDIT", ES_AUTOHSCROLL),
                     DefaultServiceUrl().c_str());
}

HWND MainWindow::AddSetting(const wchar_t* name, const wchar_t* windowClass, DWORD style,
                            HWND parent, const std::wstring& caption) {
    const HWND control =
        CreateChild(windowClass, style, parent ? parent : settingsPage_, caption, 0);
    controls_.Add(name, control);
    return control;
}

void MainWindow::CreateFlow() {
    MainFlowServices flow;
    flow.title = title_;
    flow.newUserId = [this] { return NewUserId(services_.clock.Now()); };
    flow.buildHeader = [](const std::wstring& userId) {
        return BuildServiceHeader(userId, win32::Win32OsVersion());
    };
    flow.setServiceHeader = [](const std::wstring& header) { SetServiceHeader(header); };
    flow.initialFlow = [this](bool checkAtStart) { check_->InitialFlow(checkAtStart); };
    flow.localUrl1 = services_.args.IsParam(L"local_url1");
    flow.localUrl2 = services_.args.IsParam(L"local_url2");
    flow.autorun = services_.args.IsParam(L"autorun");
    flow_ = std::make_unique<MainFlow>(std::move(flow), *this, controls_);
}

bool MainWindow::IsChecked(const wchar_t* name) const {
    return controls_.Checked(name);
}

std::vector<std::wstring> MainWindow::ExclusionLines() {
    return controls_.Lines(L"lbProgramExclusions");
}

std::wstring MainWindow::ServiceUrl() {
    return controls_.Text(L"edServiceURL");
}

void MainWindow::SaveSettings() {
    if (settings_) {
        settings_->Project().SaveSettingsX();
    }
}

void MainWindow::Show(int showCommand) {
    if (settings_) {
        settings_->Project().HandleFormShow();
    }
    // A stored maximized place has shown the window already.
    if (!::IsWindowVisible(Handle())) {
        ::ShowWindow(Handle(), showCommand);
    }
}

void MainWindow::SetCaption(const std::wstring& caption) {
    ::SetWindowTextW(Handle(), caption.c_str());
}

void MainWindow::ShowUserName(const std::wstring& name) {
    ::SetWindowTextW(userBox_, name.c_str());
}

void MainWindow::StartInitializeTimer() {
    ::SetTimer(Handle(), kTimerInitialize, kTimerInitializeMs, nullptr);
}

void MainWindow::StorePlace() {
    if (settings_) {
        settings_->Project().HandleFormCloseQuery();
    }
}

void MainWindow::StopRequest() {
    // The check then stops without a message.
    if (http_->WorkingStatus() != 0) {
        http_->StopRequest();
    }
}

void MainWindow::StopScanAndSaveCache() {
    // Closing is never refused: a cache that cannot be written is reported,
    // and the window goes all the same.
    try {
        inventory_->Pipeline.SaveCacheAtClose();
    } catch (...) {
        ReportError(CurrentExceptionText());
    }
}

void MainWindow::WM_ShowSelf() {
    ::ShowWindow(Handle(), SW_SHOW);
    services_.desktop.ForceForegroundWindow(reinterpret_cast<WindowHandle>(Handle()));
}

void MainWindow::OnSize(int width, int height) {
    if (::IsWindowVisible(pleaseWaitPanel_.Handle())) {
        pleaseWaitPanel_.CentreAndShow();
    }
    for (CaptionPanel* panel : {&privacyPanel_, &settingsPanel_}) {
        panel->KeepInsideParent();
    }
    LayOut(width, height);
}

void MainWindow::WaitLoopTurn() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The outer message loop must still see it.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchWindowMessage(msg);
    }
}

void MainWindow::PopupMsg(const std::wstring& text) {
    services_.notifier.PopupMsg(text);
}

void MainWindow::ReportWorkerError(const std::wstring& message) {
    // The inventory's scan says nothing but "Scan already in progress...": a
    // failed step publishes nothing, and the previous list stays on screen.
    // The diagnostics scan shows its own failures.
    otherPage_.Scan().WorkerFailed(message);
}

} // namespace torvik::app
