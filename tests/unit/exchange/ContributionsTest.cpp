#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "exchange/Contributions.h"
#include "exchange/ScreenedPost.h"
#include "fakes/ScriptedTransport.h"

namespace torvik {
namespace {

using ::testing::ElementsAre;
using testing::FieldsOf;

TEST(PostNoteAccepted, OnlyTheValueOkOfReply) {
    const struct {
        std::vector<std::wstring> reply;
        bool accepted;
    } cases[] = {
        {{L"[reply]", L"ok"}, true},
        {{L"[x]", L"a", L"[reply]", L"", L"  ok  ", L"[y]", L"b"}, true},
        {{L"[reply]", L"OK"}, false},
        {{L"[reply]", L"ok", L"ok"}, false},
        {{L"[reply]", L"okay"}, false},
        {{L"[Reply]", L"ok"}, false},
        {{L"[result]", L"ok"}, false},
        {{L"ok"}, false},
        {{}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PostNoteAccepted(c.reply), c.accepted) << ::testing::PrintToString(c.reply);
    }
}

TEST(CustomProgramSearchRequest, SplitsThePathAndJoinsTheDetails) {
    const struct {
        const wchar_t* exe;
        const wchar_t* fileName;
        const wchar_t* folder;
    } cases[] = {
        {L"C:\\Program Files\\Grep\\grep.exe", L"grep.exe", L"C:\\Program Files\\Grep\\"},
        {L"D:\\grep.exe", L"grep.exe", L"D:\\"},
        {L"\\\\server\\tools\\grep.exe", L"grep.exe", L"\\\\server\\tools\\"},
    };
    for (const auto& c : cases) {
        const auto form =
            CustomProgramSearchRequest(L"67", L"h", c.exe, {L"[A]", L"1", L"[B]", L"2"});
        EXPECT_THAT(FieldsOf(form),
                    ElementsAre(L"build=67", L"header=h", L"mode=custom_program_search",
                                std::wstring(L"program_exe_fn=") + c.fileName,
                                std::wstring(L"program_exe_path=") + c.folder,
                                L"program_details=[A]\r\n1\r\n[B]\r\n2"))
            << c.exe;
    }
    EXPECT_EQ(FieldsOf(CustomProgramSearchRequest(L"67", L"h", L"D:\\x.exe", {})).back(),
              L"program_details=")
        << "a file without version strings still asks";
}

TEST(ScreenedLines, ACancelledRequestHasNoReplyToScreen) {
    EXPECT_EQ(ScreenedLines({true, {}}), std::nullopt);
    EXPECT_EQ(ScreenedLines({false, {L"[reply]", L"ok"}}),
              (std::vector<std::wstring>{L"[reply]", L"ok"}));
    EXPECT_THROW(ScreenedLines({false, {L"error: unknown mode"}}), TorvikError);
}

} // namespace
} // namespace torvik
