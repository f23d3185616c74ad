#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <future>

#include "TempDir.h"
#include "common/Error.h"
#include "common/ProcessFlags.h"
#include "fakes/FakeExecutableFacts.h"
#include "fakes/FakeShellLinks.h"
#include "inventory/ScanPipeline.h"
#include "inventory/ThreadScanExes.h"
#include "platform/posix/PosixFileSystem.h"

namespace torvik {
namespace {

using testing::FakeExecutableFacts;
using testing::FakeShellLinks;
using testing::TempDir;

double UtcFileTimeToDate(uint64_t ft) {
    return static_cast<double>(ft) / 864000000000.0 - 109205.0;
}

class RecordingView : public ProgramListViewRefill {
public:
    int refills = 0;
    void BeginUpdate() override {}
    void ClearItems() override {}
    void RefillProgramList() override { ++refills; }
    void EndUpdate() override {}
};

// The main window as the scan sees it; each wait-loop turn runs onTurn.
class RecordingHooks : public ScanHooks {
public:
    std::function<void()> onTurn;
    std::vector<std::wstring> popups, errors, exclusions;
    RecordingView view;
    int turns = 0, repliesApplied = 0;
    bool lockHeldDuringBusyLabel = false;
    ScanPipeline* pipeline = nullptr;

    void WaitLoopTurn() override {
        ++turns;
        if (onTurn) {
            onTurn();
        }
    }
    void PopupMsg(const std::wstring& text) override { popups.push_back(text); }
    std::vector<std::wstring> ExclusionLines() override { return exclusions; }
    ProgramListViewRefill& ProgramListView() override { return view; }
    void ReportWorkerError(const std::wstring& message) override { errors.push_back(message); }
    void ApplyLastReplyToTempList() override { ++repliesApplied; }
    void ShowBusyLabel(const std::wstring&) override {
        lockHeldDuringBusyLabel = pipeline->ScanLockHeld();
    }
};

// Shortcuts whose reading waits until the test opens the gate, so that the
// wait loop turns while a worker runs.
class GatedLinks : public FakeShellLinks {
public:
    std::shared_future<void> gate;
    ShellLinkData Read(const std::wstring& linkFile) const override {
        if (gate.valid()) {
            gate.wait();
        }
        return FakeShellLinks::Read(linkFile);
    }
};

// Executables whose reading waits until the test opens the gate.
class GatedFacts : public FakeExecutableFacts {
public:
    std::shared_future<void> gate;
    std::wstring Version(const std::wstring& path) const override {
        if (gate.valid()) {
            gate.wait();
        }
        return FakeExecutableFacts::Version(path);
    }
};

// Executables whose version cannot be read: the details worker fails.
class FailingFacts : public FakeExecutableFacts {
public:
    std::wstring Version(const std::wstring&) const override { throw TorvikError(L"disk on fire"); }
};

class ScanPipelineTest : public ::testing::Test {
protected:
    ScanPipelineTest() {
        AppClosing = CancelRequested = BuildingForCheck = ScanStopFlag = false;
        cache.FileName = dir.Path("updater_cache.db");
        pipeline.Folders = {dir.Path("Start Menu/").substr(0, dir.Path("Start Menu/").size() - 1),
                            dir.Path("Common Start Menu/"), dir.Path("Quick Launch/"),
                            dir.Path("Desktop/")};
        pipeline.WaitInterval = std::chrono::milliseconds(1);
        hooks.pipeline = &pipeline;
    }
    ~ScanPipelineTest() override { AppClosing = CancelRequested = BuildingForCheck = false; }

    // A shortcut file in the profile, pointing at an executable under Apps.
    void Link(const std::string& link, const std::string& exe, const std::wstring& args = L"") {
        dir.Write(link);
        links.Add(dir.Path(link), dir.Path("Apps/" + exe), args);
    }
    FakeExecutableFacts::Exe& Exe(const std::string& exe, const std::wstring& version) {
        dir.Write("Apps/" + exe, "MZ");
        auto& e = facts.Add(dir.Path("Apps/" + exe));
        e.version = version;
        e.details = L"[CompanyName]\r\nTorvik Fixtures\r\n";
        e.size = 2;
        e.date = 45000.5;
        return e;
    }
    const TProgramRecord* Published(const std::wstring& name) const {
        for (const auto& r : lists.ProgramList) {
            if (r->ProgramName == name) {
                return r.get();
            }
        }
        return nullptr;
    }
    std::vector<std::wstring> PublishedNames() const {
        std::vector<std::wstring> names;
        for (const auto& r : lists.ProgramList) {
            names.push_back(r->ProgramName);
        }
        return names;
    }
    // A small profile: every folder kind, a duplicate, a missing program,
    // an excluded one, one without version, and a desktop subfolder.
    void MakeProfile() {
        Exe("Foo/foo.exe", L"1.2.3 build:4");
        Exe("Unzipper/unz.exe", L"5.0.0 build:1");
        Exe("Plain/plain.exe", L"debug build:0");
        Exe("Sub/sub.exe", L"1.0.0 build:0");
        Link("Start Menu/Programs/Foo/Foo.lnk", "Foo/foo.exe");
        Link("Common Start Menu/Programs/Gone.lnk", "Gone/gone.exe");
        Link("Quick Launch/Plain.lnk", "Plain/plain.exe");
        Link("Desktop/Foo.lnk", "Foo/FOO.EXE");
        Link("Desktop/Archiver.lnk", "Unzipper/unz.exe");
        Link("Desktop/Uninstall Foo.lnk", "Foo/foo.exe");
        Link("Desktop/Folder/Sub.lnk", "Sub/sub.exe");
        hooks.exclusions = {L"", L"ZIP"};
    }

    TempDir dir;
    PosixFileSystem fs;
    GatedLinks links;
    GatedFacts facts;
    ProgramLists lists;
    Latin1CodePage ansi;
    TCachedLibrary cache{fs, facts, ansi};
    RecordingHooks hooks;
    ScanPipeline pipeline{ScanServices{fs, links, facts, UtcFileTimeToDate, L"C:\\Windows"}, lists,
                          cache, hooks};
};

TEST(Rotate, TurnsTheSpinner) {
    EXPECT_EQ(Rotate(L"-"), L"\\");
    EXPECT_EQ(Rotate(L"\\"), L"|");
    EXPECT_EQ(Rotate(L"|"), L"/");
    EXPECT_EQ(Rotate(L"/"), L"-");
    EXPECT_EQ(Rotate(L"x"), L"-");
    EXPECT_EQ(Rotate(L""), L"-");
}

TEST(Exclusions, LinesMatchNameOrFullPathIgnoringCase) {
    TProgramRecord r;
    r.ProgramName = L"Archiver";
    r.TargetExePath = L"C:\\Program Files\\Unzipper\\";
    r.TargetExeFilename = L"unz.exe";
    struct Case {
        std::vector<std::wstring> lines;
        bool excluded;
    };
    const Case cases[] = {
        {{L"zip"}, true}, {{L"ARCH"}, true},    {{L"files\\unzipper\\unz.exe"}, true},
        {{L""}, false},   {{L"7-zip "}, false}, {{L"word", L"", L"UNZ"}, true},
        {{}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsExcludedProgram(r, c.lines), c.excluded) << c.lines.size();
    }
}

TEST_F(ScanPipelineTest, RescanPublishesOneRecordPerProgramWithDetailsAndMarks) {
    MakeProfile();
    ASSERT_TRUE(pipeline.RescanPrograms());
    EXPECT_THAT(PublishedNames(), ::testing::ElementsAre(L"Foo", L"Gone", L"Plain", L"Archiver"));
    const TProgramRecord* foo = Published(L"Foo");
    EXPECT_EQ(foo->TargetExePath, dir.Path("Apps/Foo/"));
    EXPECT_EQ(foo->TargetExeFilename, L"foo.exe"); // the first shortcut's spelling
    EXPECT_EQ(foo->TargetExeVersion, L"1.2.3 build:4");
    EXPECT_EQ(foo->TargetExeVersionX, L"00001.00002.00003.00004");
    EXPECT_EQ(foo->TargetExeVersionB, 4);
    EXPECT_EQ(foo->TargetExeSize, 2);
    EXPECT_DOUBLE_EQ(foo->TargetExeDateM, 45000.5);
    EXPECT_EQ(foo->TargetExeDetails, L"[CompanyName]\r\nTorvik Fixtures\r\n");
    EXPECT_TRUE(foo->FlagSendDetailsToServer);
    EXPECT_EQ(foo->Status, ProgramStatus::New);
    EXPECT_EQ(Published(L"Gone")->Status, ProgramStatus::Missing);
    EXPECT_EQ(Published(L"Archiver")->Status, ProgramStatus::Excluded);
    const TProgramRecord* plain = Published(L"Plain");
    EXPECT_EQ(plain->TargetExeVersion, L"--");
    EXPECT_EQ(plain->TargetExeVersionX, L"00000.00000.00000.00000");
    EXPECT_EQ(plain->TargetExeVersion1 + plain->TargetExeVersion2 + plain->TargetExeVersion3 +
                  plain->TargetExeVersionB,
              0);
    EXPECT_TRUE(lists.TempProgramList.empty());
    EXPECT_EQ(hooks.view.refills, 1);
    EXPECT_TRUE(hooks.lockHeldDuringBusyLabel);
    EXPECT_FALSE(pipeline.ScanLockHeld());
    EXPECT_TRUE(hooks.errors.empty());
    EXPECT_EQ(pipeline.ExclusionList(), hooks.exclusions);
    // Three executables read (the missing one is not), one cache row each.
    EXPECT_EQ(facts.versionReads, 3);
    EXPECT_EQ(cache.Rows().size(), 3u);
    EXPECT_TRUE(cache.CacheModified);
}

TEST_F(ScanPipelineTest, RescanReadsOnlyNewOrChangedExecutables) {
    MakeProfile();
    pipeline.RescanPrograms();
    pipeline.SaveCacheAtClose();
    AppClosing = false;
    EXPECT_FALSE(cache.CacheModified);
    const int reads = facts.versionReads;
    pipeline.RescanPrograms();
    EXPECT_EQ(facts.versionReads, reads);
    EXPECT_FALSE(cache.CacheModified); // nothing to write at the next close

    facts.Add(dir.Path("Apps/Foo/foo.exe")).date += 1.0 / 24; // touched
    facts.Add(dir.Path("Apps/Foo/foo.exe")).version = L"1.2.4 build:0";
    pipeline.RescanPrograms();
    EXPECT_EQ(facts.versionReads, reads + 1);
    EXPECT_EQ(Published(L"Foo")->TargetExeVersion, L"1.2.4 build:0");
    EXPECT_TRUE(cache.CacheModified);
}

TEST_F(ScanPipelineTest, CandidatesOutliveTheirShortcutsUntilTheExecutableGoes) {
    MakeProfile();
    pipeline.RescanPrograms();
    const size_t candidates = lists.LinkCandidateList.size();
    std::filesystem::remove(dir.Native("Quick Launch/Plain.lnk"));
    pipeline.RescanPrograms();
    EXPECT_EQ(lists.LinkCandidateList.size(), 2 * candidates - 1);
    ASSERT_NE(Published(L"Plain"), nullptr);
    EXPECT_EQ(Published(L"Plain")->Status, ProgramStatus::New);
    EXPECT_EQ(lists.ProgramList.size(), 4u); // duplicates merged
    std::filesystem::remove(dir.Native("Apps/Plain/plain.exe"));
    pipeline.RescanPrograms();
    EXPECT_EQ(Published(L"Plain")->Status, ProgramStatus::Missing);
}

TEST_F(ScanPipelineTest, ASecondRescanWhileOneRunsIsRefused) {
    MakeProfile();
    std::promise<void> open;
    links.gate = open.get_future().share();
    bool refusedCleanly = false;
    hooks.onTurn = [&] {
        const size_t candidates = lists.LinkCandidateList.size();
        refusedCleanly = !pipeline.RescanPrograms() &&
                         lists.LinkCandidateList.size() == candidates && pipeline.ScanLockHeld();
        open.set_value();
        hooks.onTurn = nullptr;
    };
    EXPECT_TRUE(pipeline.RescanPrograms());
    EXPECT_TRUE(refusedCleanly);
    EXPECT_EQ(hooks.popups, std::vector<std::wstring>{L"Scan already in progress..."});
    EXPECT_EQ(lists.ProgramList.size(), 4u);
}

TEST_F(ScanPipelineTest, AStepAskedForDuringAWaitIsRefusedNotNested) {
    MakeProfile();
    std::promise<void> open;
    links.gate = open.get_future().share();
    bool refused = false;
    hooks.onTurn = [&] {
        // The diagnostics page's scan, clicked while the rescan waits.
        refused = pipeline.RunScanThread(dir.Path(), true, L"*.*", L"").empty();
        open.set_value();
        hooks.onTurn = nullptr;
    };
    EXPECT_TRUE(pipeline.RescanPrograms());
    EXPECT_TRUE(refused);
    EXPECT_EQ(hooks.popups, std::vector<std::wstring>{L"Scan already in progress..."});
    EXPECT_EQ(lists.ProgramList.size(), 4u);
}

TEST_F(ScanPipelineTest, CancelDuringTheScanPublishesNothingAndKeepsTheOldList) {
    MakeProfile();
    pipeline.RescanPrograms();
    const TProgramRecord* before = lists.ProgramList.front().get();
    std::promise<void> open;
    links.gate = open.get_future().share();
    hooks.onTurn = [&] {
        CancelRequested = true;
        open.set_value();
        hooks.onTurn = nullptr;
    };
    EXPECT_FALSE(pipeline.RescanPrograms());
    EXPECT_EQ(lists.ProgramList.front().get(), before);
    EXPECT_EQ(lists.ProgramList.size(), 4u);
    EXPECT_EQ(hooks.view.refills, 1);
    EXPECT_FALSE(pipeline.ScanLockHeld());
    // Until a check clears the flag, a rescan adds nothing.
    EXPECT_FALSE(pipeline.RescanPrograms());
}

TEST_F(ScanPipelineTest, AFailingWorkerIsReportedAndEndsTheScan) {
    FailingFacts failing;
    TCachedLibrary failingCache(fs, failing, ansi);
    ScanPipeline failingPipeline{
        ScanServices{fs, links, failing, UtcFileTimeToDate, L"C:\\Windows"}, lists, failingCache,
        hooks};
    failingPipeline.Folders = pipeline.Folders;
    hooks.pipeline = &failingPipeline;
    MakeProfile();
    EXPECT_FALSE(failingPipeline.RescanPrograms());
    EXPECT_EQ(hooks.errors, std::vector<std::wstring>{L"disk on fire"});
    EXPECT_TRUE(lists.ProgramList.empty());
    EXPECT_FALSE(failingPipeline.ScanLockHeld());
}

TEST_F(ScanPipelineTest, ClosingDuringTheDetailsWaitsForTheWorkerThenSavesTheCache) {
    MakeProfile();
    for (int i = 0; i < 200; ++i) {
        const std::string exe = "Many/app" + std::to_string(i) + ".exe";
        Exe(exe, L"3.0.0 build:" + std::to_wstring(i));
        Link("Start Menu/Many/App " + std::to_string(i) + ".lnk", exe);
    }
    std::promise<void> open;
    facts.gate = open.get_future().share();
    hooks.onTurn = [&] {
        if (!lists.TempProgramList.empty()) { // the details worker runs
            open.set_value();
            pipeline.SaveCacheAtClose();
            hooks.onTurn = nullptr;
        }
    };
    EXPECT_FALSE(pipeline.RescanPrograms());
    EXPECT_TRUE(lists.ProgramList.empty());
    EXPECT_FALSE(pipeline.ScanLockHeld());
    EXPECT_LT(cache.Rows().size(), 203u); // stopped early
    // Whatever the worker had read when it stopped is in the file, and the
    // file parses back to exactly the rows in memory.
    TCachedLibrary saved(fs, facts, ansi);
    saved.FileName = cache.FileName;
    saved.LoadCachedLibrary();
    EXPECT_EQ(saved.Rows().size(), cache.Rows().size());
    EXPECT_FALSE(cache.CacheModified);
}

TEST_F(ScanPipelineTest, ForACheckTheListIsHandedOverInsteadOfPublished) {
    MakeProfile();
    BuildingForCheck = true;
    EXPECT_TRUE(pipeline.RescanPrograms());
    EXPECT_EQ(hooks.repliesApplied, 1);
    EXPECT_TRUE(lists.ProgramList.empty());
    EXPECT_EQ(lists.TempProgramList.size(), 4u);
    EXPECT_EQ(hooks.view.refills, 0);
}

} // namespace
} // namespace torvik
