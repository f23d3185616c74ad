#include <gtest/gtest.h>

#include <optional>

#include "common/Error.h"
#include "exchange/IconUpload.h"

namespace torvik {
namespace {

std::unique_ptr<TProgramRecord> Record(const std::wstring& name, bool iconNeeded,
                                       int32_t status = ProgramStatus::NewerVersion) {
    auto r = std::make_unique<TProgramRecord>();
    r->ProgramName = name;
    r->TargetExePath = L"C:\\Apps\\" + name + L"\\";
    r->TargetExeFilename = name + L".exe";
    r->IconNeeded = iconNeeded;
    r->Status = status;
    return r;
}

TEST(ProgramsWantingIcons, TakesTheFlaggedRecordsInListOrder) {
    const struct {
        const char* what;
        std::vector<std::pair<std::wstring, bool>> records; // name, IconNeeded
        std::vector<std::wstring> wanted;
    } cases[] = {
        {"an empty list", {}, {}},
        {"nothing asked for", {{L"A", false}, {L"B", false}}, {}},
        {"every one asked for", {{L"B", true}, {L"A", true}}, {L"B", L"A"}},
        {"some asked for",
         {{L"A", false}, {L"B", true}, {L"C", false}, {L"D", true}},
         {L"B", L"D"}},
    };
    for (const auto& c : cases) {
        ProgramLists::RecordList list;
        for (const auto& [name, needed] : c.records) {
            list.push_back(Record(name, needed));
        }
        std::vector<std::wstring> names;
        for (const auto& item : ProgramsWantingIcons(list)) {
            names.push_back(item.programName);
        }
        EXPECT_EQ(names, c.wanted) << c.what;
    }
}

TEST(ProgramsWantingIcons, CopiesNameFileAndFullPath) {
    ProgramLists::RecordList list;
    list.push_back(Record(L"Editor", true));
    list[0]->TargetExePath = L"C:\\Apps\\Editor"; // without the final backslash
    const auto wanted = ProgramsWantingIcons(list);
    list.clear(); // the copy does not depend on the records
    ASSERT_EQ(wanted.size(), 1u);
    EXPECT_EQ(wanted[0],
              (IconUploadItem{L"Editor", L"Editor.exe", L"C:\\Apps\\Editor\\Editor.exe"}));
}

TEST(IconUploadRequest, IsTheCommonFieldsTheProgramAndThePng) {
    const std::string png("\x89PNG\r\n\x1a\n\0rest", 13);
    const MultipartFields form = IconUploadRequest(L"67", L"user_X#Windows#6#1#7601",
                                                   {L"Ed|itor", L"ed.exe", L"C:\\ed.exe"}, png);
    ASSERT_EQ(form.TextFields().size(), 5u);
    const std::pair<std::wstring, std::wstring> expected[] = {
        {L"build", L"67"},
        {L"header", L"user_X#Windows#6#1#7601"},
        {L"mode", L"upload_icon"},
        {L"program_name", L"Ed|itor"},
        {L"exe_filename", L"ed.exe"}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(form.TextFields()[i].name, expected[i].first);
        EXPECT_EQ(form.TextFields()[i].value, expected[i].second);
    }
    ASSERT_EQ(form.BinaryFields().size(), 1u);
    EXPECT_EQ(form.BinaryFields()[0].name, L"icon_contents");
    EXPECT_EQ(form.BinaryFields()[0].fileName, L"x");
    EXPECT_EQ(form.BinaryFields()[0].value, png) << "the bytes travel unchanged";
}

class OneAnswerTransport : public ServiceTransport {
public:
    ServiceReply answer;
    std::optional<ServiceTransportError> failure;
    std::wstring url;
    ServiceReply Post(const std::wstring& to, const MultipartFields&) override {
        url = to;
        if (failure) {
            throw *failure;
        }
        return answer;
    }
};

TEST(PostIconUpload, ScreensTheReplyAndPassesTransportFailures) {
    const MultipartFields form = IconUploadRequest(L"1", L"u#w#6#1#1", {L"A", L"a.exe", L""}, "");
    OneAnswerTransport t;
    t.answer = {false, {L"[reply]", L"ok"}};
    EXPECT_NO_THROW(PostIconUpload(t, L"http://127.0.0.1:1/versionchecker.aspx", form));
    EXPECT_EQ(t.url, L"http://127.0.0.1:1/versionchecker.aspx");

    t.answer = {false, {L"error: the icon is not a PNG image"}};
    EXPECT_THROW(PostIconUpload(t, L"u", form), TorvikError);
    t.answer = {true, {}};
    EXPECT_NO_THROW(PostIconUpload(t, L"u", form)) << "a cancelled request is no failure";
    t.failure.emplace(L"Wininet error # 12029", 12029u);
    EXPECT_THROW(PostIconUpload(t, L"u", form), ServiceTransportError);
}

} // namespace
} // namespace torvik
