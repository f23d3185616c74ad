#pragma once
#include <memory>

#include "app/Inventory.h"
#include "app/Window.h"
#include "inventory/PopupMsg.h"
#include "platform/Desktop.h"
#include "ui/ProgramListModel.h"

namespace torvik::app {

// What the main window works with; owned by wWinMain and outliving it.
struct MainWindowServices {
    Desktop& desktop;
    FileSystem& fs;
    const AppFolders& folders;
    Notifier& notifier;
};

// The main window. Its caption is set to the single-instance title when it is
// first shown: that is what a second instance looks for. It owns the
// inventory and shows the published programs.
class MainWindow : public Window, public ScanHooks, public ProgramListViewRefill {
public:
    MainWindow(MainWindowServices services, std::wstring title);
    ~MainWindow() override;

    bool Create();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void WM_ShowSelf();
    void TimerInitializeTimer();
    void Layout();
    void ShowStatus(const std::wstring& text);

    // ScanHooks
    void WaitLoopTurn() override;
    void PopupMsg(const std::wstring& text) override;
    std::vector<std::wstring> ExclusionLines() override { return {}; }
    ProgramListViewRefill& ProgramListView() override { return *this; }
    void ReportWorkerError(const std::wstring& message) override;
    void ApplyLastReplyToTempList() override {}

    // ProgramListViewRefill
    void BeginUpdate() override;
    void ClearItems() override;
    void RefillProgramList() override;
    void EndUpdate() override;

    MainWindowServices services_;
    std::wstring title_;
    bool shownOnce_ = false;
    HWND status_ = nullptr;
    HWND lvMain_ = nullptr;
    std::unique_ptr<Inventory> inventory_;
    ProgramListModel programs_;
};

} // namespace torvik::app
