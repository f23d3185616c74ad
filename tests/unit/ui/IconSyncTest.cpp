#include <gtest/gtest.h>

#include "common/Error.h"
#include "ui/IconSync.h"

namespace torvik {
namespace {

ProgramLists::RecordList Programs(std::initializer_list<std::pair<const wchar_t*, bool>> rows) {
    ProgramLists::RecordList list;
    for (const auto& [name, needed] : rows) {
        auto r = std::make_unique<TProgramRecord>();
        r->ProgramName = name;
        r->TargetExeFilename = std::wstring(name) + L".exe";
        r->IconNeeded = needed;
        list.push_back(std::move(r));
    }
    return list;
}

// Records what the window would see: the uploads in order and each change
// of the label, with the label's state during every upload.
struct Recorder {
    std::vector<std::wstring> uploads;
    std::vector<bool> label;
    std::vector<bool> labelDuringUpload;
    std::function<void(const IconUploadItem&)> onUpload;

    IconSyncServices Services() {
        return {[this](const IconUploadItem& item) {
                    uploads.push_back(item.programName);
                    labelDuringUpload.push_back(!label.empty() && label.back());
                    if (onUpload) {
                        onUpload(item);
                    }
                },
                [this](bool visible) { label.push_back(visible); }};
    }
};

TEST(IconSync, UploadsWhatWasAskedForWhileTheLabelShows) {
    Recorder r;
    IconSync sync(r.Services());
    const auto list = Programs({{L"A", true}, {L"B", false}, {L"C", true}});
    sync.Run(list);
    EXPECT_EQ(r.uploads, (std::vector<std::wstring>{L"A", L"C"}));
    EXPECT_EQ(r.labelDuringUpload, (std::vector<bool>{true, true}));
    EXPECT_EQ(r.label, (std::vector<bool>{true, false}));
    EXPECT_FALSE(sync.Running());
}

TEST(IconSync, AFailedUploadIsSkippedAndTheLabelHidden) {
    Recorder r;
    IconSync sync(r.Services());
    r.onUpload = [](const IconUploadItem& item) {
        if (item.programName == L"A") {
            throw TorvikError(L"Wininet error # 12029");
        }
    };
    const auto list = Programs({{L"A", true}, {L"B", true}});
    EXPECT_NO_THROW(sync.Run(list));
    EXPECT_EQ(r.uploads, (std::vector<std::wstring>{L"A", L"B"}));
    EXPECT_EQ(r.label, (std::vector<bool>{true, false}));
}

TEST(IconSync, APassAskedForDuringAnUploadDoesNothing) {
    Recorder r;
    IconSync sync(r.Services());
    const auto list = Programs({{L"A", true}, {L"B", true}});
    // Start pressed again while the first upload waits for its reply; the
    // list is also republished meanwhile.
    auto republished = Programs({{L"X", true}});
    r.onUpload = [&](const IconUploadItem&) {
        EXPECT_TRUE(sync.Running());
        sync.Run(republished);
    };
    sync.Run(list);
    EXPECT_EQ(r.uploads, (std::vector<std::wstring>{L"A", L"B"}));
    EXPECT_EQ(r.label, (std::vector<bool>{true, false}));
    // Once it has ended, a new pass runs.
    r.onUpload = nullptr;
    sync.Run(republished);
    EXPECT_EQ(r.uploads.back(), L"X");
}

} // namespace
} // namespace torvik
