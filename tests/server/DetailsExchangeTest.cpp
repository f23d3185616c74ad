// The program's own details pieces against the real service: what the
// details thread fetches, the page reads, and the posting of a note, byte
// for byte as the service writes and reads them.
#include <gtest/gtest.h>

#include <httplib.h>

#include <thread>

#include "HttplibTransport.h"
#include "RunningService.h"
#include "common/Utf8.h"
#include "exchange/Contributions.h"
#include "server/DemoCatalogue.h"
#include "server/SqliteStorage.h"
#include "service/Endpoints.h"
#include "ui/ProgramDetailsText.h"
#include "ui/ProgramDetailsThread.h"

namespace torvik::server {
namespace {

using namespace std::chrono_literals;

constexpr wchar_t kHeader[] = L"user_DETAILSEXCHANGE00001_2026-12-11 00:00:00.000#Windows#10#0#1";

class DetailsExchange : public ::testing::Test {
protected:
    void SetUp() override {
        storage->ImportCatalogue(DemoCatalogue());
        running = std::make_unique<RunningService>(*storage);
        port = running->Port();
        url = L"http://127.0.0.1:" + std::to_wstring(port) + L"/VersionChecker.aspx";
    }

    // The details of the program as the details thread fetches them.
    ProgramDetailsResult Fetch(const TProgramRecord2& program) {
        TThreadGetProgramDetails thread([this] { return std::make_unique<HttplibTransport>(port); },
                                        5ms);
        thread.Request({url, L"67", kHeader, program});
        for (int i = 0; i < 1000 && !(thread.LastProcessed().program == program); ++i) {
            std::this_thread::sleep_for(10ms);
        }
        return thread.LastProcessed();
    }

    std::unique_ptr<Storage> storage = SqliteStorage::InMemory();
    std::unique_ptr<RunningService> running;
    int port = 0;
    std::wstring url;
};

TEST_F(DetailsExchange, APostedNoteAndTheCataloguesAddressesShowOnTheDetailsPage) {
    HttplibTransport transport(running->Port());
    const ServiceReply posted = transport.Post(
        url, CommunityPostNoteRequest(
                 L"67", kHeader, L"Demo App", L"scanfix_app.exe",
                 ProgramNote{L"E2E Alice", L"Works\r\nunder Wine", L"e2e", L"", L""}));
    EXPECT_TRUE(PostNoteAccepted(posted.lines));

    const TProgramRecord2 program{L"Demo App", L"scanfix_app.exe"};
    const ProgramDetailsResult result = Fetch(program);
    ASSERT_EQ(result.program, program);
    EXPECT_EQ(result.error, L"");
    const ProgramDetailsTexts texts =
        ReadProgramDetails(result.reply, PageBesideService(url, L"program.aspx?id="));
    // The heading carries the alias, the time and the tags; the text its
    // own line breaks.
    EXPECT_EQ(texts.comments.rfind(L"E2E Alice, ", 0), 0u) << texts.comments;
    EXPECT_NE(texts.comments.find(L", tags: e2e\r\nWorks\r\nunder Wine\r\n---"), std::wstring::npos)
        << texts.comments;
    EXPECT_EQ(texts.productLink, L"<a href=><u>https://example.org/demo-app");
    EXPECT_EQ(texts.downloadUrl, L"https://example.org/demo-app/download");
    EXPECT_EQ(texts.newVersions, L"<no new version found from the community>");

    // The program page the link opens is the service's page of this program.
    const std::wstring prefix = L"http://127.0.0.1:" + std::to_wstring(running->Port());
    ASSERT_EQ(texts.programPageUrl.rfind(prefix + L"/program.aspx?id=", 0), 0u)
        << texts.programPageUrl;
    httplib::Client client("127.0.0.1", running->Port());
    const auto page = client.Get(StringToUtf8(texts.programPageUrl.substr(prefix.size())));
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("Demo App"), std::string::npos);
    EXPECT_NE(page->body.find("under Wine"), std::string::npos);
}

TEST_F(DetailsExchange, AProgramTheServiceDoesNotKnowShowsTheNothingFoundTexts) {
    const ProgramDetailsResult result = Fetch({L"Nobody's Tool", L"nobody.exe"});
    EXPECT_EQ(result.error, L"");
    const ProgramDetailsTexts texts = ReadProgramDetails(result.reply, L"page?id=");
    EXPECT_EQ(texts.comments, L"<no comments found>");
    EXPECT_EQ(texts.productLink, L"please submit a url");
    EXPECT_EQ(texts.downloadLink, L"please submit a url");
}

TEST_F(DetailsExchange, AStoppedServiceIsAFailedFetch) {
    running.reset(); // nothing listens on its port any more
    const ProgramDetailsResult result = Fetch({L"Demo App", L"scanfix_app.exe"});
    EXPECT_TRUE(result.reply.empty());
    EXPECT_NE(result.error, L"");
}

} // namespace
} // namespace torvik::server
