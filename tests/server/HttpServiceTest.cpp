#include <httplib.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>

#include "FakeStorage.h"
#include "RunningService.h"
#include "protocol/Compression.h"
#include "server/HttpService.h"
#include "server/SqliteStorage.h"

namespace torvik::server {
namespace {

using testing::FakeStorage;

const std::string kHeader = "user_ABCDEFGHIJKLMNOPQRST_2026-12-10 10:20:30.123#Windows NT "
                            "10.00.19045#10#0#19045";

// A real server on a loopback port of its own, for the length of a test.
class ServiceOnLoopback : public ::testing::Test {
protected:
    void SetUp() override { Start({}); }
    void Start(ServiceOptions options, std::unique_ptr<Storage> data = SqliteStorage::InMemory()) {
        storage = std::move(data);
        storage->ImportCatalogue(
            {{"Demo App", "scanfix_app.exe", "1.3.0.0", "https://example.org/app", "",
              "Faster start", false},
             {"Robert'); DROP TABLE programs;--", "bobby.exe", "2.0", "", "", "", true},
             {"<script>alert(1)</script>", "x.exe", "1.0", "javascript:alert(1)", "", "", false},
             {"Foo|Bar", "foobar.exe", "1.0", "", "", "", true}});
        running = std::make_unique<RunningService>(*storage, options);
        port = running->Port();
    }
    httplib::Client Client() {
        httplib::Client client("127.0.0.1", port);
        client.set_read_timeout(10);
        return client;
    }
    // A check as the program sends it: three text fields, then the
    // compressed program lines as a file part without a file name.
    std::string Check(const std::string& header, const std::string& lines,
                      const std::string& path = "/versionchecker.aspx") {
        return Post(path, {{"build", "67", "", ""},
                           {"header", header, "", ""},
                           {"mode", "check_for_updates", "", ""},
                           {"programs_list_zlib_UTF8_nouu", ZlibCompressByteString(lines), "",
                            "application/octet-stream"}});
    }
    std::string Post(const std::string& path, const httplib::MultipartFormDataItems& items) {
        auto result = Client().Post(path.c_str(), items);
        EXPECT_TRUE(result) << "no reply";
        return result ? result->body : "";
    }

    std::unique_ptr<Storage> storage;
    std::unique_ptr<RunningService> running;
    int port = 0;
};

std::string Line(const std::string& name, const std::string& exe, const std::string& v) {
    return name + "|\\Apps\\|" + exe + "|" + v + "|x|" +
           (v == "1.2.3 build:4"   ? "1|2|3|4"
            : v == "2.0.0 build:0" ? "2|0|0|0"
                                   : "1|3|0|0") +
           "|2013-05-01 14:03:09|100|\r\n";
}

TEST_F(ServiceOnLoopback, TwoUsersCheckAndSeeEachOthersVersions) {
    const std::string a = Check("user_A#Windows NT 10.00.19045#10#0#19045",
                                Line("Demo App", "scanfix_app.exe", "2.0.0 build:0"));
    EXPECT_EQ(a, "[recheck_str]\r\nNot in the database yet\r\n"
                 "[results]\r\nDemo App|scanfix_app.exe|1.3.0 build:0|00001.00003.00000.00000|"
                 "https://example.org/app|Faster start|3|1\r\n"
                 "[community_results]\r\n"
                 "[total_points]\r\n1\r\n");
    const std::string b =
        Check(kHeader,
              Line("demo app", "SCANFIX_APP.EXE", "1.2.3 build:4") +
                  Line("Robert'); DROP TABLE programs;--", "bobby.exe", "2.0.0 build:0"),
              "/TorvikSoftware/VersionChecker.ASPX");
    EXPECT_EQ(b, "[recheck_str]\r\nNot in the database yet\r\n"
                 "[results]\r\n"
                 "demo app|SCANFIX_APP.EXE|1.3.0 build:0|00001.00003.00000.00000|"
                 "https://example.org/app|Faster start|1|1\r\n"
                 "Robert'); DROP TABLE programs;--|bobby.exe|2.0.0 build:0|"
                 "00002.00000.00000.00000|||2|0\r\n"
                 "[community_results]\r\n"
                 "demo app|SCANFIX_APP.EXE|00002.00000.00000.00000|1\r\n"
                 "[total_points]\r\n0\r\n");
}

// The client does not escape "|": a name holding one arrives as extra
// fields, is joined back and echoed whole.
TEST_F(ServiceOnLoopback, ANameHoldingABarIsMatchedAndEchoed) {
    const std::string reply = Check(kHeader, Line("Foo|Bar", "foobar.exe", "1.3.0 build:0"));
    EXPECT_NE(
        reply.find("[results]\r\nFoo|Bar|foobar.exe|1.0.0 build:0|00001.00000.00000.00000|||3|0"
                   "\r\n"),
        std::string::npos)
        << reply;
    EXPECT_NE(reply.find("[total_points]\r\n1\r\n"), std::string::npos);
}

TEST_F(ServiceOnLoopback, FaultyRequestsGetAnErrorLine) {
    const struct {
        httplib::MultipartFormDataItems items;
        std::string reply;
    } cases[] = {
        {{{"header", kHeader, "", ""}, {"mode", "check_for_updates", "", ""}},
         "error: missing field build\r\n"},
        {{{"build", "67", "", ""}, {"header", kHeader, "", ""}, {"mode", "fly", "", ""}},
         "error: unknown mode fly\r\n"},
        {{{"build", "67", "", ""}, {"header", kHeader, "", ""}, {"mode", "merge_hippo", "", ""}},
         "error: unknown mode merge_hippo\r\n"},
        {{{"build", "67", "", ""}, {"header", kHeader, "", ""}, {"mode", "error:x", "", ""}},
         "error: unknown mode (not shown)\r\n"},
        {{{"build", "67", "", ""},
          {"header", kHeader, "", ""},
          {"mode", "check_for_updates", "", ""}},
         "error: missing field programs_list_zlib_UTF8_nouu\r\n"},
        {{{"build", "67", "", ""},
          {"header", "#Windows", "", ""},
          {"mode", "check_for_updates", "", ""},
          {"programs_list_zlib_UTF8_nouu", "", "", ""}},
         "error: the header field holds no user id\r\n"},
        {{{"build", "67", "", ""},
          {"header", kHeader, "", ""},
          {"mode", "check_for_updates", "", ""},
          {"programs_list_zlib_UTF8_nouu", "not zlib at all", "", ""}},
         "error: the program list is not a zlib stream\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Post("/versionchecker.aspx", c.items), c.reply);
    }
    auto get = Client().Get("/versionchecker.aspx");
    ASSERT_TRUE(get);
    EXPECT_EQ(get->body, "error: the service takes POST requests\r\n");
    auto missing = Client().Get("/nothing.aspx");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);
    EXPECT_EQ(missing->body.rfind("error: ", 0), 0u);
}

TEST_F(ServiceOnLoopback, ABombAndTooManyProgramsAreRefusedAndNothingIsRecorded) {
    const std::string bomb = std::string(64u * 1024 * 1024, 'A');
    EXPECT_EQ(Check(kHeader, bomb), "error: the program list is larger than 16777216 bytes\r\n");
    std::string many;
    for (int i = 0; i < 5001; ++i) {
        many += Line("P" + std::to_string(i), "p.exe", "1.2.3 build:4");
    }
    EXPECT_EQ(Check(kHeader, many), "error: more than 5000 programs in one check\r\n");
    EXPECT_TRUE(storage->LoadReports().empty());
}

class FailingDisk : public ServiceOnLoopback {
protected:
    void SetUp() override {
        auto fake = std::make_unique<FakeStorage>();
        fake->failWrites = true;
        Start({}, std::move(fake));
    }
};

TEST_F(FailingDisk, AFailedWriteIsAnErrorLine) {
    EXPECT_EQ(Check(kHeader, Line("Demo App", "scanfix_app.exe", "2.0.0 build:0")),
              "error: the check could not be recorded; please try again later\r\n");
    httplib::MultipartFormDataItems post = {{"build", "67", "", ""},
                                            {"header", kHeader, "", ""},
                                            {"username", "A", "", ""},
                                            {"mode", "community_post_note", "", ""}};
    for (const char* field :
         {"program_name", "exe_filename", "comment", "tags", "product_url", "download_url"}) {
        post.push_back({field, field, "", ""});
    }
    EXPECT_EQ(Post("/versionchecker.aspx", post),
              "error: the post could not be recorded; please try again later\r\n");
}

TEST_F(ServiceOnLoopback, PagesShowTheCatalogueEscaped) {
    auto page = Client().Get("/appframe_updater.aspx?b=67&mode=1");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
    EXPECT_NE(page->body.find("Demo App"), std::string::npos);
    EXPECT_NE(page->body.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_EQ(page->body.find("<script>"), std::string::npos);
    EXPECT_EQ(page->body.find("href=\"javascript"), std::string::npos);
    EXPECT_NE(page->body.find("href=\"https://example.org/app\""), std::string::npos);
    Check(kHeader, Line("Demo App", "scanfix_app.exe", "2.0.0 build:0"));
    auto updates = Client().Get("/TORVIKSOFTWARE/AppFrame_Updater.aspx?b=67&mode=2");
    ASSERT_TRUE(updates);
    EXPECT_NE(updates->body.find("2.0.0 build:0"), std::string::npos);
    auto forum = Client().Get("/ForumThreads.aspx?AppId=14");
    ASSERT_TRUE(forum);
    EXPECT_EQ(forum->status, 200);
}

TEST_F(ServiceOnLoopback, HealthAnswersOk) {
    for (const char* path : {"/health", "/HEALTH", "/TorvikSoftware/Health"}) {
        auto reply = Client().Get(path);
        ASSERT_TRUE(reply) << path;
        EXPECT_EQ(reply->status, 200) << path;
        EXPECT_EQ(reply->get_header_value("Content-Type"), "text/plain; charset=utf-8") << path;
        EXPECT_EQ(reply->body, "ok") << path;
    }
    auto other = Client().Get("/healthz");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->status, 404);
    EXPECT_EQ(other->body, "error: no such page (404)\r\n");
}

class SmallBodies : public ServiceOnLoopback {
protected:
    void SetUp() override {
        ServiceOptions options;
        options.maxBodyBytes = 4096;
        Start(options);
    }
};

TEST_F(SmallBodies, AnOversizedBodyIsRefused) {
    auto result =
        Client().Post("/versionchecker.aspx",
                      httplib::MultipartFormDataItems{{"build", "67", "", ""},
                                                      {"header", std::string(5000, 'u'), "", ""},
                                                      {"mode", "check_for_updates", "", ""}});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 413);
    EXPECT_EQ(result->body, "error: the request is too large\r\n");
}

// The test option of a slow service: a check's reply is held back, whole and
// unchanged, while other requests are answered meanwhile.
class SlowReplies : public ServiceOnLoopback {
protected:
    static constexpr std::chrono::milliseconds kDelay{1500};
    void SetUp() override {
        ServiceOptions options;
        options.replyDelay = kDelay;
        Start(options);
    }
};

TEST_F(SlowReplies, ACheckIsAnsweredLateAndHealthMeanwhile) {
    std::atomic<bool> checked = false;
    const auto started = std::chrono::steady_clock::now();
    auto check = std::async(std::launch::async, [&] {
        std::string reply = Check(kHeader, Line("Demo App", "scanfix_app.exe", "1.2.3 build:4"));
        checked = true;
        return reply;
    });
    auto health = Client().Get("/health");
    ASSERT_TRUE(health);
    EXPECT_EQ(health->body, "ok");
    EXPECT_FALSE(checked) << "the health request waited for the check";
    const std::string reply = check.get();
    EXPECT_GE(std::chrono::steady_clock::now() - started, kDelay);
    EXPECT_EQ(reply.rfind("[recheck_str]\r\n", 0), 0u) << reply;
    EXPECT_NE(reply.find("Demo App|scanfix_app.exe|1.3.0 build:0|"), std::string::npos) << reply;
}

} // namespace
} // namespace torvik::server
