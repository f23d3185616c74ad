// The version check against a service that holds each reply back
// (tests/e2e/with-service starts torvik-service with --reply-delay-ms): the
// window keeps answering while it waits, and the please-wait panel's cancel
// ends the wait with the previous statuses kept.
#include "CheckE2EFixture.h"

namespace torvik::e2e {
namespace {

class CheckE2ESlowService : public CheckE2EBase {
protected:
    // The window with the statuses of the stored reply, or nullptr (a
    // failure is added).
    HWND StartWithStoredStatuses(UpdaterProcess& updater) {
        const HWND window = updater.WaitForWindow();
        if (window == nullptr) {
            ADD_FAILURE() << "no main window";
            return nullptr;
        }
        ExpectCheckedStatuses(Statuses(window, true));
        return window;
    }
    FILETIME LastReplyWritten() const {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ::GetFileAttributesExW(lastReply.c_str(), GetFileExInfoStandard, &data);
        return data.ftLastWriteTime;
    }
    // Sends the window messages until Start is enabled again.
    static Probes ProbeUntilStartIsBack(HWND window, HWND start) {
        return ProbeWhile(
            window, [start] { return !::IsWindowEnabled(start); }, kCheckTimeoutMs);
    }
};

TEST_F(CheckE2ESlowService, TheWindowAnswersWhileTheCheckWaits) {
    ASSERT_NE(::GetFileAttributesW(lastReply.c_str()), INVALID_FILE_ATTRIBUTES)
        << "CheckE2E leaves a last reply";
    const FILETIME stored = LastReplyWritten();
    UpdaterProcess updater(exe, L"/local_url2");
    const HWND window = StartWithStoredStatuses(updater);
    ASSERT_NE(window, nullptr);
    const HWND start = ControlById(window, app::kIdStart);
    ClickButton(start);
    ASSERT_NE(WaitForPanel(window, L""), nullptr) << "the please-wait panel";
    const Probes probes = ProbeUntilStartIsBack(window, start);
    EXPECT_EQ(probes.unanswered, 0) << "of " << probes.sent << " messages sent while it checked";
    EXPECT_GT(probes.sent, 0);
    EXPECT_EQ(TextOf(start), L" Start");
    ExpectCheckedStatuses(Statuses(window, true));
    // The reply came and was stored.
    const FILETIME after = LastReplyWritten();
    EXPECT_NE(::CompareFileTime(&stored, &after), 0);
    EXPECT_EQ(updater.Close(), 0u);
}

TEST_F(CheckE2ESlowService, CancelEndsTheCheckAndTheStatusesStay) {
    const FILETIME stored = LastReplyWritten();
    UpdaterProcess updater(exe, L"/local_url2");
    const HWND window = StartWithStoredStatuses(updater);
    ASSERT_NE(window, nullptr);
    const HWND start = ControlById(window, app::kIdStart);
    ClickButton(start);
    const HWND panel = WaitForPanel(window, L"");
    ASSERT_NE(panel, nullptr);
    // Cancel once the request waits for the held-back reply.
    HWND waiting = nullptr;
    for (int i = 0; i < 100 && waiting == nullptr; ++i, ::Sleep(50)) {
        waiting = FindDescendant(panel, L"STATIC", L"Checking for updates...");
    }
    ASSERT_NE(waiting, nullptr) << "the check sends its request";
    EXPECT_EQ(TextOf(start), L" Checking...");
    ClickButton(FindDescendant(panel, L"BUTTON", L"cancel"));

    const Probes probes = ProbeUntilStartIsBack(window, start);
    EXPECT_EQ(probes.unanswered, 0)
        << "of " << probes.sent << " messages sent until the check ended";
    EXPECT_TRUE(::IsWindowEnabled(start));
    EXPECT_EQ(TextOf(start), L" Start");
    EXPECT_FALSE(::IsWindowVisible(panel));
    // A cancelled check says nothing, and no reply arrives later: the
    // service's (after its delay) has nobody to go to.
    EXPECT_EQ(WaitForBox(updater.Id(), L"", 1000), nullptr);
    EXPECT_EQ(WaitForBox(updater.Id(), L"TorvikExcept", 5000), nullptr);
    ExpectCheckedStatuses(Statuses(window, false));
    const FILETIME after = LastReplyWritten();
    EXPECT_EQ(::CompareFileTime(&stored, &after), 0) << "the stored reply stays";
    EXPECT_EQ(updater.Close(), 0u);
}

} // namespace
} // namespace torvik::e2e
