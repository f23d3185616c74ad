#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/Error.h"
#include "ui/ProgramFilesScan.h"

namespace torvik {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RecordingFoundFilesView : public FoundFilesView {
public:
    void SetScanEnabled(bool enabled) override { enabledStates.push_back(enabled); }
    void ShowFoundFiles(const std::vector<FoundFileRow>& shown) override {
        rows = shown;
        ++shows;
    }
    void ShowScanError(const std::wstring& message) override { errors.push_back(message); }

    std::vector<bool> enabledStates;
    std::vector<FoundFileRow> rows{{L"old.exe", L"C:\\Old\\"}};
    int shows = 0;
    std::vector<std::wstring> errors;
};

struct ListingCall {
    std::wstring folder;
    bool recursive;
    std::wstring include, exclude;
};

TFileType File(const wchar_t* name, const wchar_t* folder) {
    TFileType file;
    file.FileName = name;
    file.Path = folder;
    return file;
}

class ProgramFilesScanTest : public ::testing::Test {
protected:
    ProgramFilesScan Scan(std::function<std::vector<TFileType>()> result) {
        return ProgramFilesScan(
            L"C:\\Program Files",
            [this, result](const std::wstring& folder, bool recursive, const std::wstring& include,
                           const std::wstring& exclude) {
                calls.push_back({folder, recursive, include, exclude});
                // The button stays disabled while the worker runs.
                EXPECT_THAT(view.enabledStates, ElementsAre(false));
                return result();
            },
            view);
    }

    RecordingFoundFilesView view;
    std::vector<ListingCall> calls;
};

TEST_F(ProgramFilesScanTest, ListsEveryExecutableAndLibraryBelowProgramFiles) {
    auto scan = Scan([] {
        return std::vector<TFileType>{File(L"app.exe", L"C:\\Program Files\\App\\"),
                                      File(L"core.dll", L"C:\\Program Files\\App\\bin\\")};
    });
    scan.Run();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].folder, L"C:\\Program Files");
    EXPECT_TRUE(calls[0].recursive);
    EXPECT_EQ(calls[0].include, L"*.exe; *.dll");
    EXPECT_EQ(calls[0].exclude, L"");
    EXPECT_THAT(view.rows,
                ElementsAre(FoundFileRow{L"app.exe", L"C:\\Program Files\\App\\"},
                            FoundFileRow{L"core.dll", L"C:\\Program Files\\App\\bin\\"}));
    EXPECT_THAT(view.errors, IsEmpty());
    EXPECT_THAT(view.enabledStates, ElementsAre(false, true));
    EXPECT_FALSE(scan.Running());
}

// A failed worker makes RunScanThread return nothing and report the failure
// through the window; the page says so instead of showing an empty list as
// if the folder held nothing. An exception of the listing itself likewise.
TEST_F(ProgramFilesScanTest, AFailedListingIsShownAndTheButtonComesBack) {
    ProgramFilesScan* running = nullptr;
    auto failingWorker = Scan([&] {
        running->WorkerFailed(L"Access denied");
        return std::vector<TFileType>{};
    });
    running = &failingWorker;
    failingWorker.Run();
    EXPECT_THAT(view.errors, ElementsAre(L"Access denied"));
    EXPECT_THAT(view.rows, IsEmpty()) << "the previous listing is gone";
    EXPECT_THAT(view.enabledStates, ElementsAre(false, true));

    view.enabledStates.clear();
    auto throwing = Scan([]() -> std::vector<TFileType> { throw TorvikError(L"No worker"); });
    throwing.Run();
    EXPECT_THAT(view.errors, ElementsAre(L"Access denied", L"No worker"));
    EXPECT_THAT(view.enabledStates, ElementsAre(false, true));
    EXPECT_FALSE(throwing.Running());
}

// The pipeline's worker reports reach this scan only while it waits: a
// failure of the inventory's own scan stays the inventory's, and an earlier
// failure does not spoil the next listing.
TEST_F(ProgramFilesScanTest, WorkerReportsCountOnlyWhileTheScanWaits) {
    auto scan = Scan([] { return std::vector<TFileType>{File(L"a.exe", L"C:\\P\\")}; });
    scan.WorkerFailed(L"a rescan failed");
    scan.Run();
    EXPECT_THAT(view.errors, IsEmpty());
    EXPECT_THAT(view.rows, ElementsAre(FoundFileRow{L"a.exe", L"C:\\P\\"}));
}

} // namespace
} // namespace torvik
