// The version check of updater.exe against torvik-service on 127.0.0.1:1245
// ("/local_url2"). tests/e2e/with-service starts the service with its demo
// catalogue and runs CheckE2E.*; stops it and runs CheckE2EWithoutService.*;
// starts it again while another process holds its database locked and runs
// CheckE2EFailingService.*; and last CheckE2ESlowService.* against a service
// that holds its replies back. The later groups find the last reply the
// first one left.
#include <algorithm>
#include <set>

#include "CheckE2EFixture.h"

namespace torvik::e2e {
namespace {

class CheckE2E : public CheckE2EBase {};
class CheckE2EWithoutService : public CheckE2EBase {};
class CheckE2EFailingService : public CheckE2EBase {};

TEST_F(CheckE2E, ACheckShowsEveryStatusAndIsKeptForTheNextStart) {
    ::DeleteFileW(lastReply.c_str());
    ::DeleteFileW(cache.c_str());
    ASSERT_TRUE(WriteSettings(exe, kNoAutoCheck));
    {
        UpdaterProcess updater(exe, L"/local_url2 /autorun");
        const HWND window = updater.WaitForWindow();
        ASSERT_NE(window, nullptr);
        // The check asks first; OK with the box ticked sends, and the
        // choice is kept with the settings.
        const HWND privacy = WaitForPanel(window, L"Privacy warning");
        ASSERT_NE(privacy, nullptr) << "the check asks first";
        const HWND text = ::FindWindowExW(FindDescendant(privacy, L"TorvikCaptionPanelBody", L""),
                                          nullptr, L"EDIT", nullptr);
        EXPECT_NE(TextOf(text).find(L"If you believe that this information affects your privacy,"),
                  std::wstring::npos)
            << TextOf(text);
        const HWND dontShow =
            FindDescendant(privacy, L"BUTTON", L"Don't show this warning in the future");
        ASSERT_NE(dontShow, nullptr);
        ::SendMessageW(dontShow, BM_SETCHECK, BST_CHECKED, 0);
        ClickButton(FindDescendant(privacy, L"BUTTON", L"OK"));
        const auto shown = Statuses(window, true);
        ExpectCheckedStatuses(shown);

        // The counters agree with the list.
        int newer = 0, upToDate = 0, mine = 0;
        for (const auto& [name, status] : shown) {
            upToDate += status == L"up to date";
            mine += status == L"thank you!";
            newer += !status.empty() && status != L"up to date" && status != L"thank you!" &&
                     status != L"Not in the database yet";
        }
        // The counters follow the list at once; wait for the label's repaint.
        const std::wstring expected[] = {L"New versions: " + std::to_wstring(newer),
                                         L"Up-to-date: " + std::to_wstring(upToDate),
                                         L"My submissions: " + std::to_wstring(mine)};
        std::wstring counters;
        for (int i = 0; i < 50; ++i, ::Sleep(100)) {
            counters = TextOf(ControlById(window, app::kIdCounters));
            bool all = true;
            for (const auto& part : expected) {
                all = all && counters.find(part) != std::wstring::npos;
            }
            if (all) {
                break;
            }
        }
        for (const auto& part : expected) {
            EXPECT_NE(counters.find(part), std::wstring::npos) << part << " in " << counters;
        }

        // Typing in the filter box: words, "-" exclusions (the executable's
        // path counts too), and quoted phrases. Only our programs count: the
        // profile may list others.
        const struct {
            const wchar_t* filter;
            std::set<std::wstring> names;
        } filters[] = {
            {L"e2e -tool", {L"Torvik E2E App", L"Torvik E2E Plain"}},
            {L"\"E2E App\"", {L"Torvik E2E App"}},
            {L"",
             {L"Torvik E2E App", L"Torvik E2E Tool", L"Demo Beta", L"Torvik E2E Unknown",
              L"Torvik E2E Plain"}},
        };
        const HWND filterBox = ControlById(window, app::kIdFilter);
        const HWND list = ControlById(window, app::kIdProgramList);
        for (const auto& f : filters) {
            ::SendMessageW(filterBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(f.filter));
            std::set<std::wstring> names;
            for (int i = 0; i < 50; ++i, ::Sleep(100)) {
                names.clear();
                for (const auto& row : ListViewRows(list, 1)) {
                    for (const auto& p : kPrograms) {
                        if (row[0] == p.name) {
                            names.insert(row[0]);
                        }
                    }
                }
                if (names == f.names) {
                    break;
                }
            }
            EXPECT_EQ(names, f.names) << "filter: " << f.filter;
        }
        EXPECT_EQ(updater.Close(), 0u);
    }
    // The details went with this check: the cache says so, and the next
    // scans send none for these executables.
    const std::string rows = CacheFile();
    for (const char* file : {"scanfix_app.exe|1|", "scanfix_tool.exe|1|"}) {
        EXPECT_NE(rows.find(file), std::string::npos) << file << " in\n" << rows;
    }

    // A successful check stores the settings: the anonymous user id that
    // the service knows this installation by, and the unchanged switches.
    const std::string stored = FileBytes(settings);
    EXPECT_NE(stored.find("[edUserName.Text]\r\n>user_"), std::string::npos) << stored;
    EXPECT_NE(stored.find("[cbAutoCheck.Checked]\r\n0\r\n"), std::string::npos) << stored;
    EXPECT_NE(stored.find("[cbDisablePrivacyWarning.Checked]\r\n1\r\n"), std::string::npos)
        << stored;

    // A start without a check shows the statuses of the stored reply.
    UpdaterProcess again(exe, L"/local_url2");
    const HWND window = again.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ExpectCheckedStatuses(Statuses(window, true));
    EXPECT_EQ(TextOf(ControlById(window, app::kIdLastCheck)).rfind(L"Last check: ", 0), 0u);
    EXPECT_EQ(again.Close(), 0u);
}

TEST_F(CheckE2E, AColumnHeaderClickSortsTheRows) {
    UpdaterProcess updater(exe, L"/local_url2");
    const HWND window = updater.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ExpectCheckedStatuses(Statuses(window, true));
    const HWND list = ControlById(window, app::kIdProgramList);
    const std::vector<std::wstring> byName = {L"Demo Beta", L"Torvik E2E App", L"Torvik E2E Plain",
                                              L"Torvik E2E Tool", L"Torvik E2E Unknown"};
    // By status: a newer version, up to date, the user's submission, not in
    // the database, no version information.
    const std::vector<std::wstring> byStatus = {L"Torvik E2E App", L"Torvik E2E Tool", L"Demo Beta",
                                                L"Torvik E2E Unknown", L"Torvik E2E Plain"};
    const auto reversed = [](std::vector<std::wstring> names) {
        std::reverse(names.begin(), names.end());
        return names;
    };
    // Each order differs from the one before, so a click not taken shows.
    const struct {
        int column;
        std::vector<std::wstring> order;
    } clicks[] = {
        {0, byName}, {0, reversed(byName)}, {3, byStatus}, {3, reversed(byStatus)}, {0, byName},
    };
    for (const auto& click : clicks) {
        ClickColumnHeader(list, click.column);
        std::vector<std::wstring> shown;
        for (int i = 0; i < 50; ++i, ::Sleep(100)) {
            shown = OurRowOrder(list);
            if (shown == click.order) {
                break;
            }
        }
        EXPECT_EQ(shown, click.order) << "after a click on column " << click.column;
    }
    EXPECT_EQ(updater.Close(), 0u);
}

TEST_F(CheckE2EWithoutService, AStoppedServiceIsReportedAndTheStatusesStay) {
    ASSERT_NE(::GetFileAttributesW(lastReply.c_str()), INVALID_FILE_ATTRIBUTES)
        << "CheckE2E leaves a last reply";
    UpdaterProcess updater(exe, L"/local_url2 /autorun");
    const HWND window = StartCheck(updater);
    ASSERT_NE(window, nullptr);
    const HWND box = WaitForBox(updater.Id(), L"");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box).rfind(L"Wininet error # 12029", 0), 0u) << BoxText(box);
    PressOk(box);
    ExpectCheckedStatuses(Statuses(window, true));
    EXPECT_EQ(updater.Close(), 0u);
}

TEST_F(CheckE2EFailingService, AnErrorLineOfTheServiceIsRaised) {
    UpdaterProcess updater(exe, L"/local_url2 /autorun");
    const HWND window = StartCheck(updater);
    ASSERT_NE(window, nullptr);
    // The service cannot record the check and answers with an error line.
    const HWND box = WaitForBox(updater.Id(), L"TorvikExcept", kCheckTimeoutMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(
        BoxText(box).rfind(L"error: the check could not be recorded; please try again later", 0),
        0u)
        << BoxText(box);
    PressOk(box);
    // Nothing of the failed check was applied: the stored statuses show.
    ExpectCheckedStatuses(Statuses(window, true));
    EXPECT_EQ(updater.Close(), 0u);
}

} // namespace
} // namespace torvik::e2e
