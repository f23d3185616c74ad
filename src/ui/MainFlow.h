#pragma once
#include <functional>
#include <string>

#include "ui/SettingsStore.h"

namespace torvik {

// What the main window's own flow asks of the window.
class MainView {
public:
    virtual ~MainView() = default;
    virtual void SetCaption(const std::wstring& caption) = 0;
    // The selection timer, which runs from the first show on.
    virtual void StartLateSelectTimer() = 0;
    // The top bar's read-only box with the account's name.
    virtual void ShowUserName(const std::wstring& name) = 0;
    // The one-second timer after which the initial flow runs.
    virtual void StartInitializeTimer() = 0;
    // Closing, in this order: the window's place, the request in progress,
    // the scan worker and the cache, the window itself.
    virtual void StorePlace() = 0;
    virtual void StopRequest() = 0;
    virtual void StopScanAndSaveCache() = 0;
    virtual void Destroy() = 0;
};

struct MainFlowServices {
    std::wstring title;                                           // "Torvik Updater"
    std::function<std::wstring()> newUserId;                      // a fresh anonymous id
    std::function<std::wstring(const std::wstring&)> buildHeader; // the "header" of an id
    std::function<void(const std::wstring&)> setServiceHeader;
    std::function<void(bool checkAtStart)> initialFlow;
    bool localUrl1 = false, localUrl2 = false, autorun = false; // switches
};

// The main window's first show, its initial flow and its closing, over the
// stored controls (their values are in place before the first show).
class MainFlow {
public:
    MainFlow(MainFlowServices services, MainView& view, ControlRegistry& settings)
        : services_(std::move(services)), view_(view), settings_(settings) {}

    // The caption (which a second copy looks for), the selection timer, the
    // anonymous user id (renewed unless it holds "user_"), the service
    // header, the service address after the switches, then the initial
    // timer.
    void FirstShow();
    // A check at start when the settings or the switch "autorun" ask for
    // one; otherwise the last check's statuses again.
    void InitializeTick();
    // Closing is never refused.
    void Close();

private:
    MainFlowServices services_;
    MainView& view_;
    ControlRegistry& settings_;
};

} // namespace torvik
