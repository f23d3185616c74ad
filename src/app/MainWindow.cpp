#include "app/MainWindow.h"

#include <commctrl.h>

#include "common/Error.h"
#include "common/ProcessFlags.h"
#include "inventory/SingleInstance.h"

namespace torvik::app {
namespace {
constexpr UINT_PTR kTimerInitialize = 1;
constexpr UINT kTimerInitializeMs = 1000;

void AddColumn(HWND listView, int index, const wchar_t* caption, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(caption);
    column.cx = width;
    ListView_InsertColumn(listView, index, &column);
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
                          CW_USEDEFAULT, 900, 600, nullptr);
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
    case WM_TIMER:
        if (wParam == kTimerInitialize) {
            ::KillTimer(Handle(), kTimerInitialize);
            TimerInitializeTimer();
            return 0;
        }
        break;
    case WM_SIZE:
        Layout();
        return 0;
    case kWmShowSelf:
        WM_ShowSelf();
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

void MainWindow::FormCreate() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const auto font = reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT));
    status_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0,
                                Handle(), nullptr, instance, nullptr);
    ::SendMessageW(status_, WM_SETFONT, font, TRUE);
    lvMain_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 0, 0,
                                Handle(), nullptr, instance, nullptr);
    ::SendMessageW(lvMain_, WM_SETFONT, font, TRUE);
    ListView_SetExtendedListViewStyle(lvMain_, LVS_EX_FULLROWSELECT);
    AddColumn(lvMain_, 0, L"Program", 320);
    AddColumn(lvMain_, 1, L"Version", 160);
    AddColumn(lvMain_, 2, L"File", 300);

    inventory_ = std::make_unique<Inventory>(services_.fs, services_.folders, *this);
    try {
        inventory_->Cache.LoadCachedLibrary();
    } catch (...) {
        ReportError(CurrentExceptionText());
    }
    ShowStatus(L"Looking for installed programs...");
}

void MainWindow::FormShow() {
    if (shownOnce_) {
        return;
    }
    shownOnce_ = true;
    ::SetWindowTextW(Handle(), title_.c_str());
    ::SetTimer(Handle(), kTimerInitialize, kTimerInitializeMs, nullptr);
}

void MainWindow::TimerInitializeTimer() {
    if (inventory_->Pipeline.RescanPrograms()) {
        ShowStatus(std::to_wstring(programs_.Count()) + L" programs found.");
    }
}

void MainWindow::FormClose() {
    // Closing is never refused: a cache that cannot be written is reported,
    // and the window goes all the same.
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

void MainWindow::Layout() {
    RECT r{};
    ::GetClientRect(Handle(), &r);
    ::MoveWindow(status_, 12, 10, r.right - 24, 18, TRUE);
    ::MoveWindow(lvMain_, 12, 34, r.right - 24, r.bottom - 46, TRUE);
}

void MainWindow::ShowStatus(const std::wstring& text) {
    ::SetWindowTextW(status_, text.c_str());
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

void MainWindow::BeginUpdate() {
    ::SendMessageW(lvMain_, WM_SETREDRAW, FALSE, 0);
}

void MainWindow::ClearItems() {
    ListView_DeleteAllItems(lvMain_);
    programs_.Clear();
}

void MainWindow::RefillProgramList() {
    programs_.Refill(inventory_->Lists.ProgramList);
    for (size_t row = 0; row < programs_.Count(); ++row) {
        std::wstring text = programs_.CellText(row, ProgramListModel::kProgram);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.pszText = text.data();
        ListView_InsertItem(lvMain_, &item);
        for (const size_t column : {ProgramListModel::kVersion, ProgramListModel::kFile}) {
            text = programs_.CellText(row, column);
            ListView_SetItemText(lvMain_, static_cast<int>(row), static_cast<int>(column),
                                 text.data());
        }
    }
}

void MainWindow::EndUpdate() {
    ::SendMessageW(lvMain_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(lvMain_, nullptr, TRUE);
}

} // namespace torvik::app
