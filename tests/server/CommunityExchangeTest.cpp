// The program details and contributions against the real service on
// loopback: the forms as the program builds them, the replies as its
// screening and section reading take them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "HttplibTransport.h"
#include "RunningService.h"
#include "common/Text.h"
#include "common/Utf8.h"
#include "exchange/CheckRequest.h"
#include "protocol/IniSections.h"
#include "protocol/Split.h"
#include "server/DemoCatalogue.h"
#include "server/SqliteStorage.h"
#include "service/ReplyScreening.h"
#include "service/ServiceTransport.h"

namespace torvik::server {
namespace {

using ::testing::HasSubstr;

const std::string kModerator = "user_E2EDETAILSMODERATOR01_2026-12-11 00:00:00.000";
const std::string kHelper = "user_HELPERHELPERHELPER01_2026-12-11 00:00:00.000"; // an account
const std::string kReporter = "user_REPORTERREPORTER0001_2026-12-11 00:00:00.000";
const std::string kOther = "user_OTHEROTHEROTHER00001_2026-12-11 00:00:00.000";

std::wstring W(const std::string& text) {
    return Utf8ToString(text);
}
std::string U(const std::wstring& text) {
    return StringToUtf8(text);
}

class CommunityExchange : public ::testing::Test {
protected:
    void SetUp() override {
        storage->ImportCatalogue(DemoCatalogue());
        storage->AddAccount(
            {.name = "E2E Moderator", .moderator = true, .installation = kModerator});
        storage->AddAccount({.name = "Helper", .moderator = false, .installation = kHelper});
        running = std::make_unique<RunningService>(*storage);
    }

    // A request as the program sends it: "build", "header", then the fields
    // in order ("mode" among them, where the program puts it).
    std::string Ask(const std::string& installation, const TextFields& fields) {
        return AskService(running->Port(), installation, fields);
    }
    std::string Notes(const std::string& program, const std::string& exe,
                      const std::string& installation = kOther) {
        return Ask(
            installation,
            {{"mode", "community_get_notes"}, {"program_name", program}, {"exe_filename", exe}});
    }
    std::string Post(const std::string& alias, const std::string& program, const std::string& exe,
                     const std::string& comment, const std::string& tags,
                     const std::string& productUrl = "", const std::string& downloadUrl = "") {
        return Ask(kReporter, {{"username", alias},
                               {"mode", "community_post_note"},
                               {"program_name", program},
                               {"exe_filename", exe},
                               {"comment", comment},
                               {"tags", tags},
                               {"product_url", productUrl},
                               {"download_url", downloadUrl}});
    }
    std::string Moderate(const std::string& installation, const std::string& mode,
                         const std::string& program, const std::string& exe) {
        return Ask(installation,
                   {{"mode", mode}, {"program_name", program}, {"exe_filename", exe}});
    }
    // The status the service gives one installation's program in a check.
    std::string Status(const std::string& installation, const std::string& program,
                       const std::string& exe, int major, int minor = 0) {
        ProgramLists::RecordList programs;
        programs.push_back(std::make_unique<TProgramRecord>());
        TProgramRecord& r = *programs.back();
        r.ProgramName = W(program);
        r.TargetExePath = L"C:\\Apps\\";
        r.TargetExeFilename = W(exe);
        r.TargetExeVersion1 = major;
        r.TargetExeVersion2 = minor;
        r.TargetExeVersion = std::to_wstring(major) + L"." + std::to_wstring(minor) + L".0 build:0";
        HttplibTransport transport(running->Port());
        const auto reply = transport.Post(
            kServiceUrl, CheckForUpdatesRequest(L"67", HeaderOf(installation),
                                                CheckProgramLines(programs, L"C:\\Program Files")));
        const auto results = GetIniSectionInternal(L"results", reply.lines, false);
        return results.size() == 1 ? U(_x_Split(results[0], L"|", true).at(6)) : "no result";
    }
    static std::string Value(const std::string& reply, const std::string& section) {
        return U(IniSectionValue(W(section), TextToLines(W(reply))));
    }
    static void ExpectScreenedOk(const std::string& reply) {
        EXPECT_NO_THROW(ScreenReply(W(reply))) << reply;
    }

    std::unique_ptr<Storage> storage = SqliteStorage::InMemory();
    std::unique_ptr<RunningService> running;
};

// Seeded notes and reports, read before the service starts.
class SeededCommunity : public CommunityExchange {
protected:
    void SetUp() override {
        storage->ImportCatalogue(DemoCatalogue());
        const auto report = [&](const std::string& installation, const std::string& versionX) {
            storage->SaveCheck({{installation, "Demo App", "scanfix_app.exe", versionX, "\\Demo\\",
                                 "2026-01-01 00:00:00", 1}},
                               {}, {});
        };
        report(kReporter, "00002.00001.00000.00000");
        report("user_B", "00002.00000.00000.00000");
        report("user_C", "00002.00000.00000.00000");
        report("user_D", "00001.00002.00000.00000");
        report("user_E", "00003.00000.00000.00000");
        storage->SaveCheck({{"user_E", "Unknown Thing", "thing.exe", "00001.00000.00000.00000",
                             "\\T\\", "2026-01-01 00:00:00", 1}},
                           {}, {});
        const auto note = [&](const std::string& program, const std::string& alias,
                              const std::string& comment, const std::string& tags,
                              const std::string& at) {
            storage->SaveContribution(
                Note{program, "SCANFIX_APP.EXE", "user_B", alias, comment, tags, at}, std::nullopt);
        };
        note("Demo App", "Bob'); DROP TABLE notes;--", "50% \"off\" | ?1", "a|b, c",
             "2026-12-10 09:00:00");
        note("demo app", "", "Line one\r\nline two\nthree", "", "2026-12-11 13:05:42");
        note("Lost Program", "E2E Alice", "Only notes", "e2e", "2026-12-11 13:06:00");
        running = std::make_unique<RunningService>(*storage);
    }
};

TEST_F(SeededCommunity, GetNotesAnswersEverySection) {
    const struct {
        std::string program, exe, installation, reply;
    } cases[] = {
        {"DEMO APP", "scanfix_app.exe", kOther,
         "[community_notes]\r\n"
         "anonymous, 2026-12-11 13:05>>>Line one<br>line two<br>three\r\n"
         "Bob'); DROP TABLE notes;--, 2026-12-10 09:00, tags: a/b, c>>>50% \"off\" / ?1\r\n"
         "[product_url]\r\nhttps://example.org/demo-app\r\n"
         "[download_url]\r\nhttps://example.org/demo-app/download\r\n"
         "[filehippo_url]\r\n[filehippo_version]\r\n"
         "[program_id_enc]\r\n64656D6F206170700A7363616E6669785F6170702E657865\r\n"
         "[new_versions]\r\n1 user has 3.0.0 build:0\r\n1 user has 2.1.0 build:0\r\n"
         "2 users have 2.0.0 build:0\r\n"
         "[popularity]\r\n5 users"},
        // The asking installation's own report is no other user's.
        {"Demo App", "scanfix_app.exe", kReporter, ""},
        // The catalogue's own comment is not a community note.
        {"Torvik E2E App", "scanfix_app.exe", kOther,
         "[community_notes]\r\n[product_url]\r\nhttps://example.org/e2e-app\r\n[download_url]\r\n"
         "[filehippo_url]\r\n[filehippo_version]\r\n"
         "[program_id_enc]\r\n746F7276696B2065326520617070"
         "0A7363616E6669785F6170702E657865\r\n[new_versions]\r\n[popularity]\r\n0 users"},
        {"Lost Program", "scanfix_app.exe", kOther,
         "[community_notes]\r\nE2E Alice, 2026-12-11 13:06, tags: e2e>>>Only notes\r\n"
         "[product_url]\r\n[download_url]\r\n[filehippo_url]\r\n[filehippo_version]\r\n"
         "[program_id_enc]\r\n6C6F73742070726F6772616D0A7363616E6669785F6170702E657865\r\n"
         "[new_versions]\r\n[popularity]\r\n0 users"},
        // Not in the catalogue: every version reported is a candidate.
        {"Unknown Thing", "thing.exe", kOther,
         "[community_notes]\r\n[product_url]\r\n[download_url]\r\n[filehippo_url]\r\n"
         "[filehippo_version]\r\n[program_id_enc]\r\n"
         "756E6B6E6F776E207468696E670A7468696E672E657865\r\n"
         "[new_versions]\r\n1 user has 1.0.0 build:0\r\n[popularity]\r\n1 user"},
    };
    for (const auto& c : cases) {
        const std::string reply = Notes(c.program, c.exe, c.installation);
        ExpectScreenedOk(reply);
        if (c.reply.empty()) {
            EXPECT_EQ(Value(reply, "new_versions"),
                      "1 user has 3.0.0 build:0\r\n2 users have 2.0.0 build:0");
            EXPECT_EQ(Value(reply, "popularity"), "5 users");
        } else {
            EXPECT_EQ(reply, c.reply) << c.program;
        }
    }
}

TEST_F(SeededCommunity, TheProgramPageShowsTheDetailsAndUnknownIdsAre404) {
    httplib::Client client("127.0.0.1", running->Port());
    client.set_read_timeout(10);
    const std::string id = Value(Notes("Demo App", "scanfix_app.exe"), "program_id_enc");
    auto page = client.Get("/TorvikSoftware/Program.aspx?id=" + id);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    for (const char* shown :
         {"<title>Demo App</title>", "1.3.0 build:0", "href=\"https://example.org/demo-app\"",
          "2 users have 2.0.0 build:0", "5 users", "Line one<br>line two<br>three",
          "Bob&#39;); DROP TABLE notes;--, 2026-12-10 09:00, tags: a|b, c",
          "50% &quot;off&quot; | ?1"}) {
        EXPECT_THAT(page->body, HasSubstr(shown));
    }
    // Not hexadecimal, an odd length, upper-case letters in the key, no
    // separator, and a program the service knows nothing of.
    for (const std::string bad :
         {"zz", "646", "44454D4F0A61", "64656D6F", "6E6F6E650A6E6F6E652E657865", ""}) {
        auto missing = client.Get("/program.aspx?id=" + bad);
        ASSERT_TRUE(missing);
        EXPECT_EQ(missing->status, 404) << bad;
        EXPECT_THAT(missing->body, HasSubstr("Program not found"));
    }
}

TEST_F(CommunityExchange, APostedNoteShowsAtTheNextGetNotesDefused) {
    const struct {
        std::string alias, comment, tags, line;
    } cases[] = {
        {"E2E Alice", "  First line\r\nsecond line\nthird  ", "e2e",
         "E2E Alice, DATE, tags: e2e>>>First line<br>second line<br>third"},
        {"  ", "error: disk on fire; HTTP Error 500; Server Error; Warning: hot", "",
         "anonymous, DATE>>>error - disk on fire; HTTP-Error 500; Server-Error; Warning - hot"},
        {"[reply]", "a >>> b", "x>", "(reply], DATE, tags: x> >>>a >> > b"},
        {"Robert'); DROP TABLE notes;--", "%_\\ ?1 | :x",
         "WARNING</b>:", "Robert'); DROP TABLE notes;--, DATE, tags: WARNING</b> ->>>%_\\ ?1 / :x"},
    };
    const std::regex date("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d");
    std::vector<std::string> expected;
    for (const auto& c : cases) {
        const std::string posted =
            Post(c.alias, "Demo Tool", "scanfix_tool.exe", c.comment, c.tags);
        EXPECT_EQ(posted, "[reply]\r\nok") << c.comment;
        expected.insert(expected.begin(), c.line);
    }
    const std::string reply = Notes("demo tool", "SCANFIX_TOOL.EXE");
    ExpectScreenedOk(reply);
    std::vector<std::string> lines;
    for (const auto& line :
         GetIniSectionInternal(L"community_notes", TextToLines(W(reply)), false)) {
        lines.push_back(std::regex_replace(U(line), date, "DATE"));
    }
    EXPECT_EQ(lines, expected);
}

TEST_F(CommunityExchange, FaultyRequestsGetAnErrorLineAndStoreNothing) {
    const TextFields post = {{"username", "A"},     {"mode", "community_post_note"},
                             {"program_name", "P"}, {"exe_filename", "p.exe"},
                             {"comment", "c"},      {"tags", ""},
                             {"product_url", ""},   {"download_url", ""}};
    const auto without = [](TextFields fields, const std::string& name) {
        std::erase_if(fields, [&](const auto& f) { return f.first == name; });
        return fields;
    };
    const auto with = [](TextFields fields, const std::string& name, const std::string& value) {
        for (auto& f : fields) {
            if (f.first == name) {
                f.second = value;
            }
        }
        return fields;
    };
    const struct {
        std::string installation;
        TextFields fields;
        std::string reply;
    } cases[] = {
        {kReporter, without(post, "username"), "error: missing field username"},
        {kReporter, without(post, "download_url"), "error: missing field download_url"},
        {kReporter, with(with(post, "comment", " \r\n "), "product_url", " "),
         "error: nothing to store: the comment and both URLs are empty"},
        {kReporter, with(post, "comment", std::string(4001, 'c')),
         "error: the field comment is longer than 4000 bytes"},
        {kReporter, with(post, "tags", std::string(201, 't')),
         "error: the field tags is longer than 200 bytes"},
        {kReporter, with(post, "exe_filename", "  "),
         "error: the program name or file name is empty"},
        {"", post, "error: the header field holds no user id"},
        {kOther,
         {{"mode", "community_get_notes"}, {"program_name", "P"}},
         "error: missing field exe_filename"},
        {kOther,
         {{"mode", "custom_program_search"}, {"program_exe_fn", "p.exe"}},
         "error: missing field program_exe_path"},
        {kOther,
         {{"mode", "custom_program_search"},
          {"program_exe_fn", ""},
          {"program_exe_path", ""},
          {"program_details", ""}},
         "error: the field program_exe_fn is empty"},
        {kModerator,
         {{"mode", "community_approve_app"}, {"exe_filename", "p.exe"}},
         "error: missing field program_name"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Ask(c.installation, c.fields), c.reply);
    }
    EXPECT_TRUE(storage->LoadNotes("P", "p.exe", 10).empty());
    EXPECT_EQ(storage->NewestUrls("P", "p.exe"), std::nullopt);
}

TEST_F(CommunityExchange, OnlyModeratorsDecideAndNothingChangesForOthers) {
    EXPECT_EQ(Status(kReporter, "Demo App", "scanfix_app.exe", 2), "3");
    ASSERT_EQ(Post("R", "Demo App", "scanfix_app.exe", "", "", "https://r.example/"),
              "[reply]\r\nok");
    const std::pair<std::string, std::string> modes[] = {
        {"community_approve_app", "error: only moderators may approve versions"},
        {"community_approve_app_url", "error: only moderators may approve URLs"},
        {"community_reject_app", "error: only moderators may take submissions offline"}};
    for (const std::string& who : {kOther, kHelper, std::string()}) {
        for (const auto& [mode, refusal] : modes) {
            const std::string reply = Moderate(who, mode, "Demo App", "scanfix_app.exe");
            EXPECT_EQ(reply, refusal) << who;
            EXPECT_THAT(reply, HasSubstr("moderator"));
        }
    }
    EXPECT_EQ(Status(kReporter, "Demo App", "scanfix_app.exe", 2), "3");
    EXPECT_EQ(Value(Notes("Demo App", "scanfix_app.exe"), "product_url"),
              "https://example.org/demo-app");
}

TEST_F(CommunityExchange, AnApprovedVersionIsTheCataloguesAtOnce) {
    EXPECT_EQ(Status(kOther, "Demo App", "scanfix_app.exe", 1, 3), "2");
    EXPECT_EQ(Status(kReporter, "Demo App", "scanfix_app.exe", 2), "3");
    EXPECT_EQ(Status("user_X", "Demo App", "scanfix_app.exe", 4), "3");
    // A rejected submission is not approved; the one after it is.
    EXPECT_EQ(Moderate(kModerator, "community_reject_app", "Demo App", "scanfix_app.exe"), "");
    EXPECT_EQ(Moderate(kModerator, "community_approve_app", "Demo App", "scanfix_app.exe"),
              "error: nothing of this program is waiting for approval");
    EXPECT_EQ(Status(kReporter, "Demo App", "scanfix_app.exe", 3), "3");

    const std::string approved =
        Moderate(kModerator, "community_approve_app", "DEMO APP", "scanfix_app.exe");
    EXPECT_EQ(approved, "");
    ExpectScreenedOk(approved);
    EXPECT_EQ(Status(kReporter, "Demo App", "scanfix_app.exe", 3), "2");
    EXPECT_EQ(Status(kOther, "Demo App", "scanfix_app.exe", 1, 3), "1");
    EXPECT_EQ(Status("user_X", "Demo App", "scanfix_app.exe", 4), "3");

    // A program new to the catalogue comes in with the highest reported
    // version.
    EXPECT_EQ(Status(kReporter, "New Tool", "new.exe", 5), "no result");
    EXPECT_EQ(Status(kOther, "New Tool", "new.exe", 6), "no result");
    EXPECT_EQ(Moderate(kModerator, "community_approve_app", "New Tool", "new.exe"), "");
    EXPECT_EQ(Status(kOther, "New Tool", "new.exe", 6), "2");
    EXPECT_EQ(Status(kReporter, "New Tool", "new.exe", 5), "1");
    EXPECT_EQ(Moderate(kModerator, "community_approve_app", "Nothing", "nothing.exe"),
              "error: nothing of this program is waiting for approval");
    // What a restarted service reads.
    running = std::make_unique<RunningService>(*storage);
    EXPECT_EQ(Status(kReporter, "Demo App", "scanfix_app.exe", 3), "2");
}

TEST_F(CommunityExchange, ApprovedUrlsReplaceTheCataloguesAndRejectedOnesStayOut) {
    const auto urls = [&] {
        const std::string reply = Notes("Demo Tool", "scanfix_tool.exe");
        return std::pair(Value(reply, "product_url"), Value(reply, "download_url"));
    };
    const auto approveUrl = [&] {
        return Moderate(kModerator, "community_approve_app_url", "demo tool", "scanfix_tool.exe");
    };
    ASSERT_EQ(Post("", "Demo Tool", "scanfix_tool.exe", "", "", "", "https://old.example/dl"),
              "[reply]\r\nok");
    ASSERT_EQ(Post("", "Demo Tool", "scanfix_tool.exe", "", "", "https://new.example/",
                   "https://new.example/dl"),
              "[reply]\r\nok");
    EXPECT_EQ(urls(), std::pair(std::string("https://example.org/demo-tool"), std::string()))
        << "pending URLs are not shown";
    EXPECT_EQ(approveUrl(), "");
    EXPECT_EQ(urls(), std::pair(std::string("https://new.example/"),
                                std::string("https://new.example/dl")));
    EXPECT_EQ(approveUrl(), "error: nothing of this program is waiting for approval")
        << "the older submission was superseded";

    ASSERT_EQ(Post("", "Demo Tool", "scanfix_tool.exe", "", "", "error: x"), "[reply]\r\nok");
    EXPECT_EQ(Moderate(kModerator, "community_reject_app", "Demo Tool", "scanfix_tool.exe"), "");
    EXPECT_EQ(approveUrl(), "error: nothing of this program is waiting for approval");
    EXPECT_EQ(urls().first, "https://new.example/");

    ASSERT_EQ(Post("", "Stranger", "s.exe", "", "", "https://s.example/"), "[reply]\r\nok");
    EXPECT_EQ(Moderate(kModerator, "community_approve_app_url", "Stranger", "s.exe"),
              "error: the program is not in the catalogue; approve a version first");
}

TEST_F(CommunityExchange, CustomProgramSearchNamesTheBestMatch) {
    // Three catalogue programs share scanfix_app.exe; Demo App is the most
    // reported of them.
    Status(kReporter, "Demo App", "scanfix_app.exe", 1);
    for (const std::string& who : {kReporter, kOther, std::string("user_Y")}) {
        Status(who, "Reported Name", "reported.exe", 1);
    }
    Status("user_Y", "Rare Name", "reported.exe", 1);
    Status("user_Y", "Error: Name", "marked.exe", 1);
    const struct {
        std::string exe, path, details, result;
    } cases[] = {
        {"'; DROP TABLE programs;--|.exe", "'|\\", "[ProductName]\r\n' OR 1=1 --", ""},
        {"SCANFIX_APP.EXE", "C:\\Apps\\", "", "Demo App"},
        {"scanfix_app.exe", "C:\\Apps\\",
         "[CompanyName]\r\nScanfix\r\n[ProductName]\r\nDEMO BETA\r\n", "Demo Beta"},
        {"scanfix_app.exe", "C:\\Apps\\", "FileDescription=Torvik E2E App\r\n", "Torvik E2E App"},
        {"scanfix_app.exe", "C:\\Program Files\\Torvik E2E App\\", "", "Torvik E2E App"},
        {"scanfix_app.exe", "C:\\Program Files\\Torvik E2E App\\", "[ProductName]\r\nDemo Beta\r\n",
         "Demo Beta"},
        {"reported.exe", "D:\\", "", "Reported Name"},
        {"marked.exe", "D:\\", "", ""},
        {"nowhere.exe", "D:\\", "[ProductName]\r\nDemo App\r\n", ""},
    };
    for (const auto& c : cases) {
        const std::string reply = Ask(kOther, {{"mode", "custom_program_search"},
                                               {"program_exe_fn", c.exe},
                                               {"program_exe_path", c.path},
                                               {"program_details", c.details}});
        EXPECT_EQ(reply, c.result.empty() ? "[search_result]" : "[search_result]\r\n" + c.result)
            << c.exe << " " << c.path << " " << c.details;
    }
}

} // namespace
} // namespace torvik::server
