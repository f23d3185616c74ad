// The client's check against the real service on loopback: the request the
// program builds, the service's reply, and the program's reading of it.
#include <httplib.h>

#include <gtest/gtest.h>

#include "HttplibTransport.h"
#include "RunningService.h"
#include "TempDir.h"
#include "common/ProcessFlags.h"
#include "common/Text.h"
#include "common/Utf8.h"
#include "exchange/CheckReply.h"
#include "exchange/CheckRequest.h"
#include "fakes/FakeExecutableFacts.h"
#include "fakes/FakePlatform.h"
#include "inventory/VersionText.h"
#include "platform/AnsiCodePage.h"
#include "platform/posix/PosixFileSystem.h"
#include "server/DemoCatalogue.h"
#include "server/SqliteStorage.h"
#include "service/ServiceTransport.h"
#include "ui/CheckFlow.h"
#include "ui/ProgramListModel.h"

namespace torvik::server {
namespace {

class NoView : public ReplyView {
public:
    std::vector<std::wstring> messages;
    CheckCounters counters;
    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }
    void PopupMsg(const std::wstring&) override {}
    void RepaintProgramList() override {}
    void ShowCounters(const CheckCounters& c) override { counters = c; }
};

class CheckExchange : public ::testing::Test {
protected:
    void SetUp() override {
        storage->ImportCatalogue(DemoCatalogue());
        running = std::make_unique<RunningService>(*storage);
        port = running->Port();
    }
    void Add(ProgramLists& lists, const std::wstring& name, const std::wstring& file, int v1,
             int v2, int v3, int vb) {
        lists.ProgramList.push_back(std::make_unique<TProgramRecord>());
        TProgramRecord& r = *lists.ProgramList.back();
        r.ProgramName = name;
        r.TargetExePath = L"C:\\Program Files\\Demo\\";
        r.TargetExeFilename = file;
        r.TargetExeVersion1 = v1, r.TargetExeVersion2 = v2, r.TargetExeVersion3 = v3;
        r.TargetExeVersionB = vb;
        r.TargetExeVersion = v1 < 0 ? L"--"
                                    : std::to_wstring(v1) + L"." + std::to_wstring(v2) + L"." +
                                          std::to_wstring(v3) + L" build:" + std::to_wstring(vb);
        r.TargetExeDateM = 45000.5;
        r.TargetExeSize = 1234;
    }
    // One check of the published list by the installation of userId.
    std::wstring Check(ProgramLists& lists, const std::wstring& userId) {
        HttplibTransport transport(port);
        const auto reply = transport.Post(
            L"http://127.0.0.1/VersionChecker.aspx",
            CheckForUpdatesRequest(L"67", userId + L"#Windows NT 10.00.19045#10#0#19045",
                                   CheckProgramLines(lists.ProgramList, L"C:\\Program Files")));
        std::wstring recheck;
        ApplyReply(reply.lines, {lists, false}, cache, view, recheck);
        return recheck;
    }

    std::unique_ptr<Storage> storage = SqliteStorage::InMemory();
    std::unique_ptr<RunningService> running;
    int port = 0;
    PosixFileSystem fs; // the cache is not touched: no details are sent
    testing::FakeExecutableFacts facts;
    Latin1CodePage ansi;
    TCachedLibrary cache{fs, facts, ansi};
    NoView view;
};

TEST_F(CheckExchange, TheCatalogueDecidesEachStatus) {
    ProgramLists lists;
    Add(lists, L"Demo App", L"scanfix_app.exe", 1, 2, 3, 4);
    Add(lists, L"DEMO TOOL", L"scanfix_tool.exe", 10, 0, 2, 100);
    Add(lists, L"Demo Beta", L"Scanfix_App.exe", 1, 2, 3, 4);
    Add(lists, L"Something Else", L"else.exe", 3, 0, 0, 0);
    Add(lists, L"No Version", L"scanfix_tool.exe", -1, 0, 0, 0);
    Add(lists, L"Foo|Bar", L"foobar.exe", 1, 0, 0, 0);

    EXPECT_EQ(Check(lists, L"user_AAAAAAAAAAAAAAAAAAAA_2026-12-10 10:00:00.000"),
              L"Not in the database yet");
    const int32_t expected[] = {1, 2, 3, 4, 5, 4};
    for (size_t i = 0; i < lists.ProgramList.size(); ++i) {
        EXPECT_EQ(lists.ProgramList[i]->Status, expected[i]) << lists.ProgramList[i]->ProgramName;
    }
    EXPECT_EQ(lists.ProgramList[0]->ServerVersion, L"1.3.0 build:0");
    EXPECT_EQ(lists.ProgramList[0]->ReceivedUrl, L"https://example.org/demo-app");
    EXPECT_EQ(view.counters.newVersions, 1);
    EXPECT_EQ(view.counters.upToDate, 1);
    EXPECT_EQ(view.counters.submissions, 1);
    EXPECT_EQ(view.counters.total, 1);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(CheckExchange, UsersSeeTheNewerVersionsOthersReported) {
    ProgramLists early, ahead;
    Add(early, L"Demo App", L"scanfix_app.exe", 1, 2, 3, 4);
    Add(ahead, L"Demo App", L"scanfix_app.exe", 2, 0, 0, 7);
    Check(ahead, L"user_BBBBBBBBBBBBBBBBBBBB_2026-12-10 10:00:00.000");
    Check(early, L"user_CCCCCCCCCCCCCCCCCCCC_2026-12-10 10:00:00.000");
    EXPECT_EQ(early.ProgramList[0]->ReceivedNotes, L"1 user has 2.0.0 build:7");
    EXPECT_EQ(view.counters.answered, 2);
}

TEST_F(CheckExchange, TheDemoCommunityShowsInTheCommunityStatus) {
    SeedDemoCommunity(*storage);
    running = std::make_unique<RunningService>(*storage); // reads the data afresh
    port = running->Port();
    ProgramLists lists;
    Add(lists, L"Demo App", L"scanfix_app.exe", 1, 2, 3, 4);
    Add(lists, L"Demo Tool", L"scanfix_tool.exe", 10, 0, 2, 100);
    Check(lists, L"user_DDDDDDDDDDDDDDDDDDDD_2026-12-10 10:00:00.000");
    EXPECT_EQ(lists.ProgramList[0]->ReceivedNotes, L"2 users have 2.0.0 build:0");
    EXPECT_EQ(lists.ProgramList[1]->ReceivedNotes, L"1 user has 10.1.0 build:0");
    EXPECT_EQ(lists.ProgramList[1]->Status, 2) << "the catalogue still decides the status";
}

// The main window's part: the check flow over the real service, the list
// model showing each published program's status text.
class ListView : public CheckView, public ProgramListViewRefill {
public:
    ListView(const ProgramLists& lists, const std::wstring& url) : lists_(lists), url_(url) {}
    ProgramListModel model;
    const CheckFlow* flow = nullptr;
    std::vector<std::wstring> messages;

    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }
    void PopupMsg(const std::wstring&) override {}
    void RepaintProgramList() override { RefillProgramList(); }
    void ShowCounters(const CheckCounters&) override {}
    std::wstring ServiceUrl() override { return url_; }
    bool PrivacyWarningDisabled() override { return true; }
    bool ShowRawReplies() override { return false; }
    void ShowPrivacyWarning() override {}
    void ShowPleaseWait(const std::wstring&) override {}
    void HidePleaseWait() override {}
    void SetLastCheckText(const std::wstring&) override {}
    void ShowMyProgramsPage() override {}
    void SetStartChecking() override {}
    void RestoreStart() override {}
    void StartLateCheckTimer() override {}
    void StopLateCheckTimer() override {}
    void SaveSettings() override {}
    void BeginUpdate() override {}
    void ClearItems() override { model.Clear(); }
    void RefillProgramList() override {
        model.SetRecheckText(flow->RecheckText);
        model.Refill(lists_.ProgramList);
    }
    void EndUpdate() override {}

private:
    const ProgramLists& lists_;
    std::wstring url_;
};

// Builds the inventory the way a scan hands it to a check.
class DemoScan : public InventoryScan {
public:
    DemoScan(ProgramLists& lists, std::function<void()> handOver)
        : lists_(lists), handOver_(std::move(handOver)) {}
    bool ScanLockHeld() const override { return false; }
    bool RescanPrograms() override {
        const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*> demo[] = {
            {L"Demo App", L"scanfix_app.exe", L"1.2.3 build:4"},
            {L"Demo Tool", L"scanfix_tool.exe", L"10.0.2 build:100"},
            {L"Photo Archive", L"scanfix_tool.exe", L"10.0.2 build:100"},
            {L"Sketch Pad", L"fx_no_version.exe", L"--"}};
        for (const auto& [name, file, version] : demo) {
            TProgramRecord& r =
                *lists_.TempProgramList[lists_.AddProgramTemp(name, L"C:\\Demo\\", file)];
            r.TargetExeVersion = version;
            SplitVersion123B(version, r.TargetExeVersion1, r.TargetExeVersion2, r.TargetExeVersion3,
                             r.TargetExeVersionB);
        }
        handOver_();
        return true;
    }

private:
    ProgramLists& lists_;
    std::function<void()> handOver_;
};

TEST_F(CheckExchange, TheCheckFlowShowsEachProgramsStatus) {
    AppClosing = CancelRequested = BuildingForCheck = false;
    ProgramLists lists;
    HttplibTransport transport(port);
    const std::wstring url = L"http://127.0.0.1:" + std::to_wstring(port) + L"/VersionChecker.aspx";
    ListView view(lists, url);
    CheckFlow* flowPointer = nullptr;
    DemoScan scan(lists, [&] { flowPointer->ApplyLastReplyToTempList(); });
    testing::FakeClock clock;
    testing::TempDir dir;
    CheckFlow flow(
        {transport, fs, clock, lists, cache, scan, view, L"67",
         [] { return std::wstring(L"user_DDDDDDDDDDDDDDDDDDDD_2026-12-10 10:00:00.000#W"); },
         L"C:\\Program Files", dir.Path("updater_lastreply.ini"), L"", [](uint64_t) { return 0.0; },
         [](double) { return std::wstring(); }},
        view);
    flowPointer = &flow;
    view.flow = &flow;
    flow.CheckForUpdates_Now();
    EXPECT_TRUE(view.messages.empty());
    ASSERT_EQ(view.model.Count(), 4u);
    const wchar_t* expected[] = {L"1.3.0 build:0", L"up to date", L"Not in the database yet", L""};
    for (size_t row = 0; row < 4; ++row) {
        EXPECT_EQ(view.model.CellText(row, ProgramListModel::kStatus), expected[row]) << row;
    }
}

} // namespace
} // namespace torvik::server
