#pragma once
#include <functional>
#include <string>
#include <vector>

#include "exchange/CheckReply.h"
#include "inventory/CachedLibrary.h"
#include "inventory/ProgramLists.h"
#include "inventory/ScanPipeline.h"
#include "inventory/UnitFS.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "service/ServiceTransport.h"

namespace torvik {

// What the check flow shows and reads on the main window.
class CheckView : public ReplyView {
public:
    // The service address as the settings hold it now.
    virtual std::wstring ServiceUrl() = 0;
    virtual bool PrivacyWarningDisabled() = 0;
    // Show every reply's raw text (the settings' debug switch).
    virtual bool ShowRawReplies() = 0;
    // The privacy panel in front; its OK button calls CheckFlow::PrivacyAccepted.
    virtual void ShowPrivacyWarning() = 0;
    virtual void ShowPleaseWait(const std::wstring& text) = 0;
    virtual void HidePleaseWait() = 0;
    virtual void SetLastCheckText(const std::wstring& text) = 0;
    virtual void ShowMyProgramsPage() = 0;
    // The Start button: " Checking..." and disabled while a check is due or
    // runs; its own caption and enabled when the check has ended.
    virtual void SetStartChecking() = 0;
    virtual void RestoreStart() = 0;
    // The 200 ms timer that waits for a running scan before the check.
    virtual void StartLateCheckTimer() = 0;
    virtual void StopLateCheckTimer() = 0;
    virtual void SaveSettings() = 0;
};

struct CheckServices {
    ServiceTransport& transport;
    FileSystem& fs;
    const Clock& clock;
    ProgramLists& lists;
    TCachedLibrary& cache;
    InventoryScan& scan;
    ProgramListViewRefill& listView;
    std::wstring build;                      // the build number every request carries
    std::function<std::wstring()> header;    // the "header" field, built at first show
    std::wstring programFilesFolder;         // removed from the paths sent
    std::wstring lastReplyFile;              // "updater_lastreply.ini" in the settings folder
    std::wstring debugCopyFile;              // "reply.html" with the switch debug, else empty
    FileTimeToDateTimeFn fileTimeToDateTime; // the last-reply file's time, local
    std::function<std::wstring(double)> formatDateTime; // the user's date and time format
};

// The version check of the main window: the Start button and its timer,
// the scan that builds the inventory, the exchange with the service, the
// last reply and its statuses. Runs on the main thread; while the request
// or the scan waits, window messages (cancel, close) are processed.
class CheckFlow {
public:
    CheckFlow(CheckServices services, CheckView& view);

    // The last reply that passed screening, line by line; empty when none.
    std::vector<std::wstring> LastReply;
    // The reply's "recheck_str": what programs the service did not know show.
    std::wstring RecheckText;

    // The Start button, also pressed by the initial flow.
    void StartPressed();
    // A tick of the late-check timer: the check once no scan runs.
    void LateCheckTimerTick();
    // One second after the first show: the check when asked for, otherwise
    // a rescan showing the last check's statuses again.
    void InitialFlow(bool checkAtStart);
    // A rescan that shows the last check's statuses again (also after the
    // settings panel closes, so that changed lists take effect).
    void RescanWithLastReply();
    // Builds the inventory and sends it, then publishes it.
    void CheckForUpdates_Now();
    // The check itself. From the check flow the privacy warning may stop it;
    // its OK button sends without asking (PrivacyAccepted).
    void bCheckForUpdatesClick(bool fromCheckFlow);
    void PrivacyAccepted() { bCheckForUpdatesClick(false); }

    // Applies LastReply to TempProgramList while a check builds it, to
    // ProgramList otherwise. The scan's hand-over during a check and the
    // initial flow apply a stored reply only when there is one.
    void ApplyLastReply();
    void ApplyLastReplyToTempList();
    void LoadLastReply();

private:
    ReplyTarget Target() const;
    void WriteDebugCopy(const std::wstring& text);

    CheckServices services_;
    CheckView& view_;
};

} // namespace torvik
