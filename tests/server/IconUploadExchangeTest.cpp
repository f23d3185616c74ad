// The client's icon upload against the real service on loopback: the form
// the program builds, what the service keeps, and the next check's request
// for icons.
#include <gtest/gtest.h>

#include "HttplibTransport.h"
#include "PngSamples.h"
#include "RunningService.h"
#include "common/Error.h"
#include "exchange/CheckReply.h"
#include "exchange/CheckRequest.h"
#include "exchange/IconUpload.h"
#include "fakes/FakeExecutableFacts.h"
#include "platform/posix/PosixFileSystem.h"
#include "server/DemoCatalogue.h"
#include "server/SqliteStorage.h"

namespace torvik::server {
namespace {

constexpr wchar_t kUrl[] = L"http://127.0.0.1/VersionChecker.aspx";
constexpr wchar_t kHeader[] = L"user_EEEEEEEEEEEEEEEEEEEE_2026-12-10 10:00:00.000#Windows#10#0#1";

class QuietView : public ReplyView {
public:
    void ShowMessage(const std::wstring&) override {}
    void PopupMsg(const std::wstring&) override {}
    void RepaintProgramList() override {}
    void ShowCounters(const CheckCounters&) override {}
};

class IconUploadExchange : public ::testing::Test {
protected:
    void SetUp() override {
        storage->ImportCatalogue(DemoCatalogue());
        running = std::make_unique<RunningService>(*storage);
    }
    // The demo programs as one installation has them, after a check.
    ProgramLists Checked() {
        ProgramLists lists;
        for (const auto& [name, file] :
             {std::pair{L"Demo App", L"scanfix_app.exe"},
              std::pair{L"Demo Tool", L"scanfix_tool.exe"},
              std::pair{L"Demo Beta", L"scanfix_app.exe"}, std::pair{L"Unknown", L"unknown.exe"}}) {
            lists.ProgramList.push_back(std::make_unique<TProgramRecord>());
            TProgramRecord& r = *lists.ProgramList.back();
            r.ProgramName = name;
            r.TargetExePath = L"C:\\Demo\\";
            r.TargetExeFilename = file;
            r.TargetExeVersion = L"1.0.0 build:0";
            r.TargetExeVersion1 = 1;
        }
        HttplibTransport transport(running->Port());
        const auto reply = transport.Post(
            kUrl, CheckForUpdatesRequest(
                      L"67", kHeader, CheckProgramLines(lists.ProgramList, L"C:\\Program Files")));
        std::wstring recheck;
        QuietView view;
        ApplyReply(reply.lines, {lists, false}, cache, view, recheck);
        return lists;
    }
    std::vector<std::wstring> Wanted() {
        std::vector<std::wstring> names;
        for (const auto& item : ProgramsWantingIcons(Checked().ProgramList)) {
            names.push_back(item.programName);
        }
        return names;
    }
    void Upload(const std::wstring& name, const std::wstring& file, const std::string& png) {
        HttplibTransport transport(running->Port());
        PostIconUpload(transport, kUrl,
                       IconUploadRequest(L"67", kHeader, {name, file, L"C:\\Demo\\" + file}, png));
    }

    std::unique_ptr<Storage> storage = SqliteStorage::InMemory();
    std::unique_ptr<RunningService> running;
    PosixFileSystem fs;
    testing::FakeExecutableFacts facts;
    Latin1CodePage ansi;
    TCachedLibrary cache{fs, facts, ansi};
};

TEST_F(IconUploadExchange, AnUploadedIconIsKeptOnceAndNoLongerAskedFor) {
    ASSERT_EQ(Wanted(), (std::vector<std::wstring>{L"Demo App", L"Demo Beta"}));

    const std::string first = EncodedPng(32, 0x10);
    // The names as the user's records spell them, not as the catalogue does.
    Upload(L"DEMO APP", L"ScanFix_App.EXE", first);
    EXPECT_EQ(Wanted(), std::vector<std::wstring>{L"Demo Beta"});
    EXPECT_EQ(storage->LoadIcon("Demo App", "scanfix_app.exe"), first);

    // A second upload is taken and changes nothing.
    EXPECT_NO_THROW(Upload(L"Demo App", L"scanfix_app.exe", EncodedPng(16, 0x20)));
    EXPECT_EQ(storage->LoadIcon("Demo App", "scanfix_app.exe"), first);
    // So is one for a program the catalogue gives an icon already; nothing is kept.
    EXPECT_NO_THROW(Upload(L"Demo Tool", L"scanfix_tool.exe", first));
    EXPECT_EQ(storage->LoadIcon("Demo Tool", "scanfix_tool.exe"), std::nullopt);

    Upload(L"Demo Beta", L"scanfix_app.exe", EncodedPng(48));
    EXPECT_TRUE(Wanted().empty());
    // A service started afresh on the same data keeps not asking.
    running.reset();
    running = std::make_unique<RunningService>(*storage);
    EXPECT_TRUE(Wanted().empty());
}

TEST_F(IconUploadExchange, RefusedUploadsRaiseAndKeepNothing) {
    const struct {
        const char* what;
        std::wstring name;
        std::string png;
        const wchar_t* message; // a part of the raised text
    } cases[] = {
        {"a program the catalogue lacks", L"Unknown", EncodedPng(32), L"not in the catalogue"},
        {"no PNG", L"Demo App", "GIF89a...", L"not a valid PNG image: no PNG signature"},
        {"a PNG cut short", L"Demo App", EncodedPng(32).substr(0, 60), L"not a valid PNG"},
        {"too many pixels", L"Demo App", EncodedPng(257), L"257 x 257 pixels"},
        {"too many bytes", L"Demo App", EncodedPng(32) + std::string(200000, 'x'),
         L"larger than 131072 bytes"},
    };
    for (const auto& c : cases) {
        try {
            Upload(c.name, L"scanfix_app.exe", c.png);
            ADD_FAILURE() << c.what << ": taken";
        } catch (const TorvikError& e) {
            EXPECT_NE(e.Message().find(c.message), std::wstring::npos)
                << c.what << ": " << e.what();
        }
    }
    EXPECT_EQ(storage->LoadIcon("Demo App", "scanfix_app.exe"), std::nullopt);
    EXPECT_EQ(Wanted(), (std::vector<std::wstring>{L"Demo App", L"Demo Beta"}));
}

TEST_F(IconUploadExchange, TheFormNeedsEveryField) {
    HttplibTransport transport(running->Port());
    for (const wchar_t* missing : {L"program_name", L"exe_filename", L"icon_contents"}) {
        MultipartFields form = NewServiceRequest(L"67", kHeader, L"upload_icon");
        if (std::wstring(missing) != L"program_name") {
            form.AddText(L"program_name", L"Demo App");
        }
        if (std::wstring(missing) != L"exe_filename") {
            form.AddText(L"exe_filename", L"scanfix_app.exe");
        }
        if (std::wstring(missing) != L"icon_contents") {
            form.AddBinary(L"icon_contents", L"x", EncodedPng(32));
        }
        EXPECT_EQ(transport.Post(kUrl, form).lines,
                  std::vector<std::wstring>{L"error: missing field " + std::wstring(missing)});
    }
    MultipartFields anonymous = IconUploadRequest(
        L"67", L"#Windows", {L"Demo App", L"scanfix_app.exe", L""}, EncodedPng(32));
    EXPECT_EQ(transport.Post(kUrl, anonymous).lines,
              std::vector<std::wstring>{L"error: the header field holds no user id"});
}

} // namespace
} // namespace torvik::server
