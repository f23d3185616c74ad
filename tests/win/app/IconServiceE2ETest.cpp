// The icon synchronisation under Wine against the real torvik-service:
// tests/e2e/with-catalogue serves tests/e2e/icon_catalogue.json and gives
// its address in TORVIK_SERVICE_URL (CTest entry icon_e2e). A check asks
// for the fixture's icon; the upload sends it; the next check no longer
// asks.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "WinTestSupport.h"
#include "app/ProgramIconUpload.h"
#include "common/Utf8.h"
#include "exchange/CheckReply.h"
#include "exchange/CheckRequest.h"
#include "platform/win32/Com.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32InternetApi.h"
#include "platform/win32/Win32System.h"
#include "service/IEHttp.h"
#include "service/IEHttpTransport.h"
#include "ui/IconSync.h"
#include "unit/fakes/FakeExecutableFacts.h"

namespace torvik {
namespace {

constexpr wchar_t kHeader[] = L"user_IIIIIIIIIIIIIIIIIIII_2026-12-10 10:00:00.000#Windows#6#1#7601";

class QuietView : public ReplyView {
public:
    std::vector<std::wstring> messages;
    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }
    void PopupMsg(const std::wstring&) override {}
    void RepaintProgramList() override {}
    void ShowCounters(const CheckCounters&) override {}
};

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&msg);
    }
}

class IconServiceE2E : public ::testing::Test {
protected:
    void SetUp() override {
        const char* url = std::getenv("TORVIK_SERVICE_URL");
        ASSERT_NE(url, nullptr) << "run through tests/e2e/with-catalogue (CTest icon_e2e)";
        serviceUrl = std::wstring(url, url + std::strlen(url));
        const std::wstring folder = wintest::BesideTestExe(L"fixtures\\");
        for (const wchar_t* name : {L"Torvik Icon E2E", L"Torvik Icon E2E Known"}) {
            lists.ProgramList.push_back(std::make_unique<TProgramRecord>());
            TProgramRecord& r = *lists.ProgramList.back();
            r.ProgramName = name;
            r.TargetExePath = folder;
            r.TargetExeFilename = L"iconfix_app.exe";
            r.TargetExeVersion = L"1.0.0 build:0";
            r.TargetExeVersion1 = 1;
        }
    }
    // One check through the program's own HTTP component; the names of the
    // programs whose icon the reply asks for.
    std::vector<std::wstring> Check() {
        TIEHttp http({internet, ansi, nullptr, nullptr, PumpMessages});
        IEHttpTransport transport(http);
        const ServiceReply reply = transport.Post(
            serviceUrl,
            CheckForUpdatesRequest(L"67", kHeader,
                                   CheckProgramLines(lists.ProgramList, L"C:\\Program Files")));
        ScreenIEReply(http);
        std::wstring recheck;
        ApplyReply(reply.lines, {lists, false}, cache, view, recheck);
        std::vector<std::wstring> wanted;
        for (const auto& item : ProgramsWantingIcons(lists.ProgramList)) {
            wanted.push_back(item.programName);
        }
        return wanted;
    }

    win32::ComApartment com;
    win32::Win32InternetApi internet;
    win32::Win32AnsiCodePage ansi;
    win32::Win32FileSystem fs;
    testing::FakeExecutableFacts facts;
    TCachedLibrary cache{fs, facts, ansi};
    QuietView view;
    ProgramLists lists;
    std::wstring serviceUrl;
};

TEST_F(IconServiceE2E, AnUploadedIconIsNoLongerAskedFor) {
    ASSERT_EQ(Check(), std::vector<std::wstring>{L"Torvik Icon E2E"});
    EXPECT_EQ(lists.ProgramList[0]->ServerVersion, L"1.0.0 build:0") << "the check was answered";

    std::vector<bool> label;
    std::vector<std::wstring> failures;
    const IconUploadServices services{internet,
                                      ansi,
                                      fs,
                                      PumpMessages,
                                      L"67",
                                      [] { return std::wstring(kHeader); },
                                      [this] { return serviceUrl; }};
    IconSync sync({[&](const IconUploadItem& item) {
                       try {
                           UploadIcon(item, services);
                       } catch (const TorvikError& e) {
                           failures.push_back(e.Message());
                           throw;
                       }
                   },
                   [&](bool visible) { label.push_back(visible); }});
    sync.Run(lists.ProgramList);
    EXPECT_TRUE(failures.empty()) << (failures.empty() ? "" : StringToUtf8(failures[0]));
    EXPECT_EQ(label, (std::vector<bool>{true, false}));

    EXPECT_TRUE(Check().empty()) << "the service keeps the icon and stops asking";
    EXPECT_TRUE(view.messages.empty());
}

} // namespace
} // namespace torvik
