#include <gtest/gtest.h>

#include "common/Error.h"
#include "common/ProcessFlags.h"
#include "common/Utf8.h"
#include "fakes/FakeExecutableFacts.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakePlatform.h"
#include "fakes/ScriptedTransport.h"
#include "platform/AnsiCodePage.h"
#include "protocol/Compression.h"
#include "service/LastReply.h"
#include "ui/CheckFlow.h"

namespace torvik {
namespace {

constexpr wchar_t kUrl[] = L"http://127.0.0.1:1245/VersionChecker.aspx";
constexpr wchar_t kLastReply[] = L"C:\\Settings\\updater_lastreply.ini";

using testing::ScriptedTransport;

// The program names of the last check's inventory.
std::vector<std::string> SentLines(const ScriptedTransport& transport) {
    std::vector<std::string> lines;
    const std::string text =
        ZlibDecompressByteString(transport.forms.back().BinaryFields()[0].value);
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        lines.push_back(text.substr(start, text.find('|', start) - start));
    }
    return lines;
}

// The scan as the check sees it: builds TempProgramList from `programs`,
// hands it to the check while one builds it, publishes it otherwise.
class FakeScan : public InventoryScan {
public:
    FakeScan(ProgramLists& lists, ProgramListViewRefill& view) : lists_(lists), view_(view) {}
    std::vector<std::pair<std::wstring, int32_t>> programs;
    bool lockHeld = false, fails = false;
    std::function<void()> handOver;
    int scans = 0;

    bool ScanLockHeld() const override { return lockHeld; }
    bool RescanPrograms() override {
        ++scans;
        if (fails) {
            return false;
        }
        lists_.TempProgramList.clear();
        for (const auto& [name, status] : programs) {
            const size_t i =
                lists_.AddProgramTemp(name, L"C:\\Program Files\\" + name + L"\\", name + L".exe");
            lists_.TempProgramList[i]->Status = status;
            lists_.TempProgramList[i]->TargetExeVersion = L"1.0.0 build:1";
        }
        if (BuildingForCheck) {
            handOver();
        } else {
            lists_.PublishPrograms(view_);
        }
        return true;
    }

private:
    ProgramLists& lists_;
    ProgramListViewRefill& view_;
};

class RecordingCheckView : public CheckView, public ProgramListViewRefill {
public:
    std::vector<std::wstring> messages, pleaseWait, lastCheckTexts;
    bool privacyDisabled = true, rawReplies = false, startChecking = false, timerRunning = false;
    int privacyShown = 0, pleaseWaitHidden = 0, settingsSaved = 0, refills = 0;
    std::optional<CheckCounters> counters;
    const CheckFlow* flow = nullptr;
    std::vector<std::wstring> recheckAtRepaint; // what the list shows for unknown programs

    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }
    void PopupMsg(const std::wstring&) override {}
    void RepaintProgramList() override { recheckAtRepaint.push_back(flow->RecheckText); }
    void ShowCounters(const CheckCounters& c) override { counters = c; }
    std::wstring ServiceUrl() override { return kUrl; }
    bool PrivacyWarningDisabled() override { return privacyDisabled; }
    bool ShowRawReplies() override { return rawReplies; }
    void ShowPrivacyWarning() override { ++privacyShown; }
    void ShowPleaseWait(const std::wstring& text) override { pleaseWait.push_back(text); }
    void HidePleaseWait() override { ++pleaseWaitHidden; }
    void SetLastCheckText(const std::wstring& text) override { lastCheckTexts.push_back(text); }
    void ShowMyProgramsPage() override {}
    void SetStartChecking() override { startChecking = true; }
    void RestoreStart() override { startChecking = false; }
    void StartLateCheckTimer() override { timerRunning = true; }
    void StopLateCheckTimer() override { timerRunning = false; }
    void SaveSettings() override { ++settingsSaved; }

    void BeginUpdate() override {}
    void ClearItems() override {}
    void RefillProgramList() override { ++refills; }
    void EndUpdate() override {}
};

const std::vector<std::wstring> kReply = {L"[recheck_str]",
                                          L"recheck soon",
                                          L"[results]",
                                          L"Editor|Editor.exe|2.0|x|http://e.example/||1|0",
                                          L"Viewer|Viewer.exe|1.0.0 build:1|x|||2|0",
                                          L"[total_points]",
                                          L"5"};

class CheckFlowTest : public ::testing::Test {
protected:
    CheckFlowTest() {
        AppClosing = CancelRequested = BuildingForCheck = false;
        scan.programs = {{L"Editor", 0}, {L"Viewer", 0}, {L"Hidden", -1}};
        scan.handOver = [this] { flow.ApplyLastReplyToTempList(); };
        view.flow = &flow;
    }
    ~CheckFlowTest() override { AppClosing = CancelRequested = BuildingForCheck = false; }

    CheckServices Services(const std::wstring& debugCopy = L"") {
        return {transport,
                fs,
                clock,
                lists,
                cache,
                scan,
                view,
                L"67",
                [] { return std::wstring(L"user_TEST#Windows NT 10.00.19045"); },
                L"C:\\Program Files",
                kLastReply,
                debugCopy,
                [](uint64_t) { return 45000.25; },
                [](double) { return std::wstring(L"15.03.2023 06:00:00"); }};
    }
    // Start, then the late-check timer's tick.
    void Check() {
        flow.StartPressed();
        ASSERT_TRUE(view.startChecking);
        flow.LateCheckTimerTick();
    }
    int32_t StatusOf(const std::wstring& name) const {
        const auto i = lists.GetProgramIdxLive(name, name + L".exe");
        return i ? lists.ProgramList[*i]->Status : -99;
    }

    ScriptedTransport transport;
    testing::FakeFileSystem fs;
    testing::FakeClock clock;
    testing::FakeExecutableFacts facts;
    Latin1CodePage ansi;
    TCachedLibrary cache{fs, facts, ansi};
    ProgramLists lists;
    RecordingCheckView view;
    FakeScan scan{lists, view};
    CheckFlow flow{Services(), view};
};

TEST_F(CheckFlowTest, ACheckSendsTheInventoryAppliesTheReplyAndKeepsIt) {
    transport.answers.push_back(kReply);
    Check();
    ASSERT_EQ(transport.forms.size(), 1u);
    EXPECT_EQ(transport.urls[0], kUrl);
    EXPECT_EQ(transport.forms[0].TextFields()[0].value, L"67");
    EXPECT_EQ(transport.forms[0].TextFields()[1].value, L"user_TEST#Windows NT 10.00.19045");
    EXPECT_EQ(SentLines(transport), (std::vector<std::string>{"Editor", "Viewer"}));
    EXPECT_EQ(StatusOf(L"Editor"), ProgramStatus::NewerVersion);
    EXPECT_EQ(StatusOf(L"Viewer"), ProgramStatus::UpToDate);
    EXPECT_EQ(StatusOf(L"Hidden"), ProgramStatus::Excluded);
    EXPECT_EQ(flow.RecheckText, L"recheck soon");
    EXPECT_EQ(view.counters->total, 5);
    EXPECT_FALSE(BuildingForCheck);
    EXPECT_FALSE(view.startChecking);
    EXPECT_FALSE(view.timerRunning);
    EXPECT_EQ(view.settingsSaved, 1);
    EXPECT_TRUE(view.messages.empty()); // no stored reply before: nothing to re-apply, no box

    // The reply was kept: a new run shows the statuses again without asking.
    ProgramLists again;
    RecordingCheckView view2;
    FakeScan scan2{again, view2};
    scan2.programs = scan.programs;
    CheckServices services = Services();
    CheckServices services2{transport,
                            fs,
                            clock,
                            again,
                            cache,
                            scan2,
                            view2,
                            services.build,
                            services.header,
                            services.programFilesFolder,
                            kLastReply,
                            L"",
                            services.fileTimeToDateTime,
                            services.formatDateTime};
    CheckFlow flow2{services2, view2};
    view2.flow = &flow2;
    flow2.LoadLastReply();
    EXPECT_EQ(flow2.LastReply, kReply);
    EXPECT_EQ(view2.lastCheckTexts.back(), L"Last check: 15.03.2023 06:00:00");
    flow2.InitialFlow(false);
    EXPECT_EQ(transport.forms.size(), 1u);
    EXPECT_EQ(again.ProgramList[0]->Status, ProgramStatus::NewerVersion);
    EXPECT_EQ(flow2.RecheckText, L"recheck soon");
}

TEST_F(CheckFlowTest, ThePrivacyWarningStopsTheCheckUntilAccepted) {
    view.privacyDisabled = false;
    Check();
    EXPECT_EQ(view.privacyShown, 1);
    EXPECT_TRUE(transport.forms.empty());
    EXPECT_EQ(lists.ProgramList.size(), 3u); // built and published all the same
    EXPECT_FALSE(view.startChecking);

    transport.answers.push_back(kReply);
    flow.PrivacyAccepted(); // OK: sends the published list
    ASSERT_EQ(transport.forms.size(), 1u);
    EXPECT_EQ(StatusOf(L"Editor"), ProgramStatus::NewerVersion);
    // The list is repainted once, with the new reply's text for programs
    // the service does not know.
    EXPECT_EQ(view.recheckAtRepaint, std::vector<std::wstring>{L"recheck soon"});
}

TEST_F(CheckFlowTest, TransportFailuresKeepTheStatuses) {
    transport.answers.push_back(kReply);
    Check();
    const auto stored = fs.Content(kLastReply);
    const struct {
        ScriptedTransport::Failure failure;
        bool shown;
    } cases[] = {
        {{L"Wininet error # 12029 : Cannot connect", 12029}, true},
        {{L"Wininet error # 12030 : The connection was aborted", 12030}, false},
        {{L"TIEHttp error: Timeout", 0}, true},
    };
    for (const auto& c : cases) {
        view.messages.clear();
        transport.answers.push_back(c.failure);
        Check();
        EXPECT_EQ(view.messages, c.shown ? std::vector<std::wstring>{c.failure.message}
                                         : std::vector<std::wstring>{});
        EXPECT_EQ(StatusOf(L"Editor"), ProgramStatus::NewerVersion) << c.failure.message;
        EXPECT_EQ(flow.LastReply, kReply);
        EXPECT_EQ(fs.Content(kLastReply), stored); // the file keeps the previous reply
        EXPECT_FALSE(view.startChecking);
    }
    view.messages.clear();
    transport.answers.push_back(true); // cancelled
    Check();
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(CheckFlowTest, AnErrorReplyRaisesAndTheWindowRecovers) {
    const struct {
        std::vector<std::wstring> reply;
        std::vector<std::wstring> messages;
        std::wstring raised;
    } cases[] = {
        {{L"error: unknown mode check"}, {}, L"error: unknown mode check\r\n"},
        {{L"<title>HTTP Error 400. The request hostname is invalid.</title>"},
         {L"HTTP Error 400. The request hostname is invalid.\r\nPlease try again in a few "
          L"minutes."},
         L"HTTP Error 400. The request hostname is invalid.</title>\r\n"},
    };
    for (const auto& c : cases) {
        view.messages.clear();
        transport.answers.push_back(c.reply);
        try {
            Check();
            ADD_FAILURE() << "no error raised";
        } catch (const TorvikError& e) {
            EXPECT_EQ(e.Message(), c.raised);
        }
        EXPECT_EQ(view.messages, c.messages);
        EXPECT_FALSE(fs.FileExists(kLastReply));
        EXPECT_FALSE(BuildingForCheck);
        EXPECT_FALSE(view.startChecking);
        EXPECT_EQ(lists.ProgramList.size(), 3u); // published even so
        EXPECT_EQ(StatusOf(L"Editor"), ProgramStatus::New);
    }
}

TEST_F(CheckFlowTest, ScanStatesDecideWhetherAnythingIsSent) {
    scan.lockHeld = true;
    flow.StartPressed();
    flow.LateCheckTimerTick();
    EXPECT_TRUE(view.timerRunning); // waits for the scan to end
    EXPECT_EQ(scan.scans, 0);

    scan.lockHeld = false;
    scan.fails = true;
    flow.LateCheckTimerTick();
    EXPECT_FALSE(view.timerRunning);
    EXPECT_TRUE(transport.forms.empty()); // a half-built list is never sent
    EXPECT_FALSE(BuildingForCheck);
    EXPECT_FALSE(view.startChecking);

    scan.fails = false;
    CancelRequested = true;
    flow.CheckForUpdates_Now();
    EXPECT_TRUE(transport.forms.empty());
    EXPECT_FALSE(BuildingForCheck);
    transport.answers.push_back(kReply);
    Check(); // Start clears the cancel
    EXPECT_EQ(transport.forms.size(), 1u);
}

TEST_F(CheckFlowTest, DebugSwitchesShowAndCopyTheRawReply) {
    CheckFlow debugFlow{Services(L"C:\\Settings\\reply.html"), view};
    scan.handOver = [&] { debugFlow.ApplyLastReplyToTempList(); };
    view.rawReplies = true;
    transport.answers.push_back(std::vector<std::wstring>{L"[results]", L"Ä"});
    debugFlow.StartPressed();
    debugFlow.LateCheckTimerTick();
    EXPECT_EQ(view.messages, std::vector<std::wstring>{L"[results]\r\nÄ\r\n"});
    EXPECT_EQ(fs.Content(L"C:\\Settings\\reply.html"), "\xEF\xBB\xBF[results]\r\n\xC3\x84\r\n");
}

TEST_F(CheckFlowTest, AnOldOrMissingLastReplyIsNotShown) {
    flow.LoadLastReply();
    EXPECT_TRUE(flow.LastReply.empty());
    EXPECT_TRUE(view.lastCheckTexts.empty());
    // Without a stored reply the start shows the scan and says nothing: the
    // service was not asked.
    flow.InitialFlow(false);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(lists.ProgramList.size(), 3u);
    EXPECT_EQ(StatusOf(L"Editor"), ProgramStatus::New);

    flow.InitialFlow(true); // a check at start presses Start instead
    EXPECT_TRUE(view.timerRunning);
}

} // namespace
} // namespace torvik
