#pragma once
#include <memory>

#include "app/CaptionPanel.h"
#include "app/ContributionPanel.h"
#include "app/Controls.h"
#include "app/CountersPanel.h"
#include "app/FileEdit.h"
#include "app/FilterEdit.h"
#include "app/Inventory.h"
#include "app/ListViewEx.h"
#include "app/LoginPanel.h"
#include "app/NavigationBar.h"
#include "app/PageControl.h"
#include "app/ProgramDetailsPage.h"
#include "app/ProgramFilesScanPage.h"
#include "app/ProgramListMenu.h"
#include "app/ProgramListView.h"
#include "app/ShellIconCache.h"
#include "app/Splitter.h"
#include "app/WebPage.h"
#include "app/Window.h"
#include "app/WindowSettings.h"
#include "app/WindowTimer.h"
#include "exchange/WinHttpServiceTransport.h"
#include "inventory/CommandLine.h"
#include "inventory/PopupMsg.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32InternetApi.h"
#include "platform/win32/Win32WinHttp.h"
#include "service/IEHttpTransport.h"
#include "ui/AccountFlow.h"
#include "ui/CheckFlow.h"
#include "ui/ContributionFlow.h"
#include "ui/CustomProgramSearch.h"
#include "ui/IconSync.h"
#include "ui/LateSelect.h"
#include "ui/MainFlow.h"
#include "ui/ProgramDetailsArea.h"
#include "ui/ProgramListModel.h"

namespace torvik::app {

// What the main window works with; owned by wWinMain and outliving it.
struct MainWindowServices {
    Desktop& desktop;
    FileSystem& fs;
    const AppFolders& folders;
    Notifier& notifier;
    Dialogs& dialogs;
    const Clock& clock;
    const CommandLine& args;
};

// The main window. Its caption is set to the single-instance title when it is
// first shown: that is what a second instance looks for. It owns the
// inventory and the version check, and shows the published programs with
// their statuses.
class MainWindow : public Window,
                   public ScanHooks,
                   public ProgramListViewRefill,
                   public CheckView,
                   public MainView,
                   public ProgramDetailsView,
                   public ContributionView,
                   public CustomSearchView,
                   public AccountView {
public:
    MainWindow(MainWindowServices services, std::wstring title);
    ~MainWindow() override;

    bool Create();
    // Puts the stored values into the controls and the window in its stored
    // place, then shows it.
    void Show(int showCommand);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnTimer(UINT_PTR id) override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> OnNotify(NMHDR& header) override;
    void OnSize(int width, int height) override;

private:
    static constexpr UINT kWmPrivacyAccepted = WM_APP + 1;
    static constexpr UINT kWmIconsArrived = WM_APP + 2;
    static constexpr UINT kWmSyncIcons = WM_APP + 3;
    static constexpr UINT_PTR kTimerLateCheck = 2;
    static constexpr UINT kTimerLateCheckMs = 200;
    static constexpr UINT_PTR kTimerLateSelect = 3;

    void FormCreate();
    void WM_ShowSelf();
    void CreateCheck();
    void CreateFlow();
    void CreateSettings();
    // A stored value's control on parent (the hidden settings page when none).
    HWND AddSetting(const wchar_t* name, const wchar_t* windowClass, DWORD style,
                    HWND parent = nullptr, const std::wstring& caption = L"");
    bool IsChecked(const wchar_t* name) const;

    // The regions (MainWindowLayout.cpp).
    void CreateLayout();
    void LayOut(int width, int height);
    std::optional<LRESULT> ColourStatic(HDC dc, HWND control);
    void SetStatusText(const std::wstring& text);

    // MainView
    void SetCaption(const std::wstring& caption) override;
    void StartLateSelectTimer() override { lateSelect_->Start(); }
    void ShowUserName(const std::wstring& name) override;
    void StartInitializeTimer() override;
    void StorePlace() override;
    void StopRequest() override;
    void StopScanAndSaveCache() override;
    void Destroy() override { ::DestroyWindow(Handle()); }

    // The program list, its filter, icons and the details page
    // (MainWindowList.cpp).
    void CreateIcons();
    bool OnListCommand(int id, int code);
    void ApplySwitches();
    void ShowBottomPage(int page);
    void SyncIcons();

    // The selection's way to the details page (MainWindowDetails.cpp).
    void CreateLateSelect();
    void OpenDetailsUrl(const std::wstring& url);
    // ProgramDetailsView
    void SetProgramName(const std::wstring& name) override;
    void SetRecord(const std::wstring& fileName, const std::wstring& folder,
                   const std::wstring& localVersion) override;
    void ShowDetailsPage() override;
    void ShowDetails(const ProgramDetailsTexts& texts) override;
    void ShowDetailsLoading(bool loading) override;
    void ResetContribution() override;

    // Contributions, moderation, the online search of a custom program and
    // the account (MainWindowContribution.cpp).
    void CreateContribution();
    bool OnShortcut(const ShortcutKey& key);
    // ContributionView
    std::wstring Text(Field field) override;
    void SetText(Field field, const std::wstring& text) override;
    void Focus(Field field) override;
    void ShowPanel(ContributionView::Page page) override;
    void HidePanel() override;
    bool PanelVisible() override { return contributionPanel_.Visible(); }
    void EnableProgramList(bool enabled) override;
    void EnableSend(bool enabled) override { contributionPanel_.EnableSend(enabled); }
    std::wstring AccountName() override;
    void SetAccountName(const std::wstring& name) override;
    void ShowModerationButtons() override { contributionPanel_.ShowModeration(); }
    bool ApproveLastVersionVisible() override {
        return contributionPanel_.ApproveLastVersionVisible();
    }
    // CustomSearchView
    std::wstring ChosenProgram() override { return customFile_.Text(); }
    void SetSearchResult(const std::wstring& text) override;
    void ShowSearchResult() override { ShowCustomSearchResult(true); }
    void EnableAddProgram(bool enabled) override { customAdd_.Enable(enabled); }
    // AccountView
    std::wstring BoxText(Box box) override { return loginPanel_.Text(box); }
    void SetBoxText(Box box, const std::wstring& text) override { loginPanel_.SetText(box, text); }
    void FocusBox(Box box) override { loginPanel_.Focus(box); }
    void ShowLoginPanel(AccountView::Page page) override;
    void HideLoginPanel() override { loginPanel_.Hide(); }
    std::wstring UserId() override;
    std::wstring ShownAccountName() override;
    // The program list's context menu (MainWindowExclude.cpp) and the
    // diagnostics page (MainWindowOther.cpp).
    void CreateProgramListMenu();
    void CreateOtherPage();
    // The embedded pages of the maker's site (MainWindowWebPages.cpp).
    void NavigateHomePage();

    // The menu (MainWindowMenu.cpp).
    void CreateMainMenu();
    bool OnMenuCommand(UINT command);

    // The floating panels (MainWindowPanels.cpp).
    void CreatePanels();
    void CreatePrivacyPanel();
    void CreatePleaseWaitPanel();
    void CreateSettingsPanel();
    void PrivacyOk();
    void CancelPressed();
    void ShowSettingsPanel(int page);
    void CloseSettingsPanel();
    void AddCustomProgram();
    void ShowCustomSearchResult(bool visible);
    void AddExclusion();
    void DeleteSelectedLines(HWND listBox);

    // ScanHooks
    void WaitLoopTurn() override;
    void PopupMsg(const std::wstring& text) override;
    std::vector<std::wstring> ExclusionLines() override;
    ProgramListViewRefill& ProgramListView() override { return *this; }
    void ReportWorkerError(const std::wstring& message) override;
    void ApplyLastReplyToTempList() override { check_->ApplyLastReplyToTempList(); }
    void ShowBusyLabel(const std::wstring& text) override;
    void HideBusyLabel() override;

    // ProgramListViewRefill
    void BeginUpdate() override;
    void ClearItems() override;
    void RefillProgramList() override;
    void EndUpdate() override;

    // CheckView (MainWindowCheck.cpp)
    void ShowMessage(const std::wstring& text) override;
    void RepaintProgramList() override;
    void ShowCounters(const CheckCounters& counters) override;
    std::wstring ServiceUrl() override;
    bool PrivacyWarningDisabled() override { return IsChecked(L"cbDisablePrivacyWarning"); }
    bool ShowRawReplies() override { return IsChecked(L"cbDebug"); }
    void ShowPrivacyWarning() override;
    void ShowPleaseWait(const std::wstring& text) override;
    void HidePleaseWait() override;
    void SetLastCheckText(const std::wstring& text) override { lastCheck_.SetText(text); }
    void ShowMyProgramsPage() override;
    void SetStartChecking() override;
    void RestoreStart() override;
    void StartLateCheckTimer() override;
    void StopLateCheckTimer() override;
    void SaveSettings() override;
    void TurnSpinner();

    MainWindowServices services_;
    std::wstring title_;
    bool shownOnce_ = false;
    // Declared first: the list and the check refer to its program lists.
    std::unique_ptr<Inventory> inventory_;
    Button start_;
    Button myProgramsToggle_, communityToggle_, accountButton_;
    Label busy_, userLabel_, lastCheck_;
    CountersPanel counters_;
    HWND userBox_ = nullptr;
    PageControl pages_;
    Splitter splitter_;
    HWND bottomTabs_ = nullptr, statusBar_ = nullptr;
    win32::UniqueBrush userBoxBrush_;
    win32::Win32TextCompare textCompare_;
    // app:: since the hook ProgramListView() above hides the type here.
    app::ProgramListView programList_;
    TTorvikFilterEdit filter_;
    HWND hideUpToDate_ = nullptr, home_ = nullptr;
    ProgramDetailsPage detailsPage_;
    ContributionPanel contributionPanel_;
    // The home page; home_ is its window, laid out and switched with the
    // details page.
    WebPage homePage_;
    Label syncingIcons_;
    std::unique_ptr<ShellIconCache> icons_;
    std::unique_ptr<IconSync> iconSync_;
    std::unique_ptr<ProgramListMenu> programListMenu_;
    ProgramFilesScanPage otherPage_;
    std::wstring build_;
    // The selection reaches the details page through its timer.
    WindowTimer lateSelectTimer_{kTimerLateSelect};
    // Its fetches reach the service through a WinHTTP client of their own.
    win32::Win32WinHttpTransport winHttp_;
    std::unique_ptr<TThreadGetProgramDetails> detailsThread_;
    std::unique_ptr<ProgramDetailsArea> detailsArea_;
    std::unique_ptr<LateSelect> lateSelect_;
    bool detailsLoading_ = false; // the busy label speaks for the details
    // The main thread's requests other than the check (winHttp1).
    std::unique_ptr<WinHttpServiceTransport> winHttp1_;
    std::unique_ptr<ContributionFlow> contribution_;
    std::unique_ptr<CustomProgramSearch> customSearchFlow_;
    LoginPanel loginPanel_;
    std::unique_ptr<AccountFlow> account_;

    // The stored values live in controls of a page that is never shown and
    // on the settings panel's pages.
    HWND settingsPage_ = nullptr;

    CaptionPanel privacyPanel_, pleaseWaitPanel_, settingsPanel_;
    HWND privacyText_ = nullptr, privacyDontShow_ = nullptr;
    Button privacyOk_, privacyCancel_;
    Label pleaseWaitText_, spinnerText_;
    Button pleaseWaitCancel_;
    PageControl settingsPages_;
    NavigationBar settingsNav_;
    ListViewEx customPrograms_;
    HWND customName_ = nullptr, customFoundLabel_ = nullptr, customFound_ = nullptr;
    FileEdit customFile_;
    Button customSearch_, customAdd_, customDelete_;
    HWND exclusions_ = nullptr, exclusionName_ = nullptr;
    Button exclusionAdd_, exclusionDelete_, settingsClose_;
    WindowControls controls_;
    std::unique_ptr<WindowSettings> settings_;
    std::unique_ptr<MainFlow> flow_;
    std::wstring orgCaption_;
    win32::Win32InternetApi internet_;
    std::unique_ptr<TIEHttp> http_;
    std::unique_ptr<IEHttpTransport> transport_;
    std::unique_ptr<CheckFlow> check_;
};

} // namespace torvik::app
