#include "ui/CheckFlow.h"

#include "common/Error.h"
#include "common/ProcessFlags.h"
#include "common/ScopeExit.h"
#include "common/Text.h"
#include "common/Utf8.h"
#include "exchange/CheckRequest.h"
#include "service/LastReply.h"
#include "service/ReplyScreening.h"

namespace torvik {
namespace {
constexpr wchar_t kHostnameInvalid[] = L"The request hostname is invalid";
} // namespace

CheckFlow::CheckFlow(CheckServices services, CheckView& view)
    : services_(std::move(services)), view_(view) {}

void CheckFlow::StartPressed() {
    CancelRequested = false;
    view_.SetStartChecking();
    view_.StartLateCheckTimer();
}

void CheckFlow::LateCheckTimerTick() {
    if (services_.scan.ScanLockHeld()) {
        return;
    }
    view_.StopLateCheckTimer();
    CheckForUpdates_Now();
}

void CheckFlow::InitialFlow(bool checkAtStart) {
    if (checkAtStart) {
        StartPressed();
        return;
    }
    RescanWithLastReply();
}

void CheckFlow::RescanWithLastReply() {
    // Without a stored reply there is nothing to show again, and "No reply
    // from server" would blame a service that was never asked.
    if (services_.scan.RescanPrograms() && !LastReply.empty()) {
        ApplyLastReply();
    }
}

void CheckFlow::CheckForUpdates_Now() {
    if (services_.scan.ScanLockHeld()) {
        view_.ShowPleaseWait(L"Scanning is in progress...(waiting)");
        return;
    }
    view_.ShowMyProgramsPage();
    BuildingForCheck = true;
    // Whatever ends the check (cancel, a failed step, an error reply), the
    // window must not stay waiting for it.
    ScopeExit finish([this] {
        BuildingForCheck = false;
        view_.HidePleaseWait();
        view_.RestoreStart();
    });
    view_.ShowPleaseWait(L"Building programs list");
    const bool built = services_.scan.RescanPrograms();
    if (CancelRequested || AppClosing || !built) {
        // A failed step was reported; a half-built list is never sent.
        return;
    }
    ScopeExit publish([this] { services_.lists.PublishPrograms(services_.listView); });
    bCheckForUpdatesClick(true);
}

void CheckFlow::bCheckForUpdatesClick(bool fromCheckFlow) {
    if (fromCheckFlow && !view_.PrivacyWarningDisabled()) {
        view_.ShowPrivacyWarning();
        return;
    }
    if (CancelRequested || AppClosing) {
        return;
    }
    // The previous reply stays until a new one has passed screening, as in
    // its file: a failed check must not cost the next scan its statuses.
    view_.SetLastCheckText(L"");
    view_.ShowPleaseWait(L"Checking for updates...");
    ScopeExit hide([this] { view_.HidePleaseWait(); });

    const auto& records =
        BuildingForCheck ? services_.lists.TempProgramList : services_.lists.ProgramList;
    const MultipartFields form =
        CheckForUpdatesRequest(services_.build, services_.header(),
                               CheckProgramLines(records, services_.programFilesFolder));
    ServiceReply reply;
    try {
        reply = services_.transport.Post(view_.ServiceUrl(), form);
    } catch (const ServiceTransportError& e) {
        if (e.Code() != kErrorConnectionAborted) {
            view_.ShowMessage(e.Message());
        }
        return;
    }
    if (reply.cancelled) {
        return;
    }
    const std::wstring text = LinesToText(reply.lines);
    try {
        ScreenReply(text, {[this](const std::wstring& raw) { WriteDebugCopy(raw); },
                           [this](const std::wstring& message) { view_.ShowMessage(message); }});
    } catch (const TorvikError& e) {
        if (e.Message().find(kHostnameInvalid) != std::wstring::npos) {
            view_.ShowMessage(
                L"HTTP Error 400. The request hostname is invalid.\r\nPlease try again in a few "
                L"minutes.");
        }
        throw;
    }
    if (view_.ShowRawReplies()) {
        view_.ShowMessage(text);
    }
    LastReply = reply.lines;
    view_.SetLastCheckText(L"");
    SaveLastReply(services_.fs, services_.lastReplyFile, LastReply);
    view_.SaveSettings();
    ApplyLastReply();
}

void CheckFlow::ApplyLastReply() {
    ApplyReply(LastReply, Target(), services_.cache, view_, RecheckText);
}

void CheckFlow::ApplyLastReplyToTempList() {
    // Before the first check there is nothing to re-apply, and the check
    // itself is about to ask; "No reply from server" here would be false.
    if (!LastReply.empty()) {
        ApplyLastReply();
    }
}

void CheckFlow::LoadLastReply() {
    const auto entry = services_.fs.FindEntry(services_.lastReplyFile);
    const double modified = entry ? services_.fileTimeToDateTime(entry->lastWriteTime) : 0;
    LastReply = torvik::LoadLastReply(services_.fs, services_.lastReplyFile, modified,
                                      services_.clock.Now());
    if (!LastReply.empty()) {
        view_.SetLastCheckText(L"Last check: " + services_.formatDateTime(modified));
    }
}

ReplyTarget CheckFlow::Target() const {
    return {services_.lists, BuildingForCheck.load()};
}

void CheckFlow::WriteDebugCopy(const std::wstring& text) {
    if (services_.debugCopyFile.empty()) {
        return;
    }
    // UTF-8 with its mark, lines ending in CR LF, as an editor opens it.
    const std::string bytes = "\xEF\xBB\xBF" + StringToUtf8(LinesToText(TextToLines(text)));
    if (!services_.fs.WriteFileAtomic(services_.debugCopyFile, bytes)) {
        throw TorvikError(L"Cannot write the file " + services_.debugCopyFile);
    }
}

} // namespace torvik
