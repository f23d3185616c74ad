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

        // The counters agree with the list: the service's answers by status,
        // and what it said of other users' versions ("Community status").
        int newer = 0, upToDate = 0, mine = 0, community = 0;
        for (const auto& [name, status] : shown) {
            upToDate += status == L"up to date";
            mine += status == L"thank you!";
            newer += !status.empty() && status != L"up to date" && status != L"thank you!" &&
                     status != L"Not in the database yet";
        }
        for (const auto& row : ListViewRows(ControlById(window, app::kIdProgramList), 6)) {
            for (const wchar_t* entry : {L" user has ", L" users have "}) {
                for (size_t at = row[4].find(entry); at != std::wstring::npos;
                     at = row[4].find(entry, at + 1)) {
                    ++community;
                }
            }
        }
        // A fresh installation: its submissions are those of this check.
        const std::map<int, int> expected = {
            {app::kIdNewVersions, newer},
            {app::kIdFromCommunity, newer + upToDate + mine + community},
            {app::kIdUpToDate, upToDate},
            {app::kIdMySubmissions, mine},
            {app::kIdTotalSubmissions, mine},
        };
        // The counters follow the list at once; wait for their repaint.
        std::map<int, int> counters;
        for (int i = 0; i < 50 && counters != expected; ++i, ::Sleep(100)) {
            for (const auto& [id, count] : expected) {
                counters[id] = _wtoi(TextOf(ControlById(window, id)).c_str());
            }
        }
        EXPECT_EQ(counters, expected);
        EXPECT_GT(newer + upToDate + mine, 0) << "the check answered nothing";

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

        // The details page follows the selection, a moment later.
        const HWND details = ControlById(window, app::kIdDetailsProgramName);
        const auto rows = ListViewRows(list, 1);
        for (const wchar_t* name : {L"Torvik E2E App", L"Demo Beta"}) {
            int row = 0;
            while (row < static_cast<int>(rows.size()) && rows[row][0] != name) {
                ++row;
            }
            ASSERT_LT(row, static_cast<int>(rows.size())) << name;
            ASSERT_TRUE(SelectListRow(list, row));
            std::wstring shown;
            for (int i = 0; i < 50 && shown != name; ++i, ::Sleep(100)) {
                shown = TextOf(details);
            }
            EXPECT_EQ(shown, name);
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
