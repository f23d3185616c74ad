#include <gtest/gtest.h>

#include <thread>

#include "ui/ProgramDetailsArea.h"

namespace torvik {
namespace {

using namespace std::chrono_literals;

class RecordingView : public ProgramDetailsView {
public:
    void SetProgramName(const std::wstring& name) override { calls.push_back(L"name " + name); }
    void SetRecord(const std::wstring& fileName, const std::wstring& folder,
                   const std::wstring& localVersion) override {
        calls.push_back(L"record " + fileName + L"|" + folder + L"|" + localVersion);
    }
    void ShowDetailsPage() override { calls.push_back(L"page"); }
    void ShowDetails(const ProgramDetailsTexts& texts) override {
        calls.push_back(L"details " + texts.comments);
        shown = texts;
    }
    void ShowDetailsLoading(bool loading) override {
        calls.push_back(loading ? L"loading" : L"loaded");
    }
    void ResetContribution() override { calls.push_back(L"reset"); }

    std::vector<std::wstring> calls;
    ProgramDetailsTexts shown;
};

// Answers at once with a note naming the program, or fails for "Down".
class NotesService : public ServiceTransport {
public:
    explicit NotesService(std::vector<MultipartFields>& forms) : forms_(forms) {}
    ServiceReply Post(const std::wstring&, const MultipartFields& form) override {
        forms_.push_back(form);
        const std::wstring name = form.TextFields().at(3).value;
        if (name == L"Down") {
            throw ServiceTransportError(L"Wininet error # 12029", 12029);
        }
        return {false, {L"[community_notes]", L"Alice>>>about " + name, L"[program_id_enc]", L"9"}};
    }

private:
    std::vector<MultipartFields>& forms_;
};

struct ProgramDetailsAreaTest : ::testing::Test {
    // Waits until the area's fetch of the program has completed.
    bool Fetched(const std::wstring& name) {
        for (int i = 0; i < 1000 && area.LastProcessed().ProgramName != name; ++i) {
            std::this_thread::sleep_for(10ms);
        }
        return area.LastProcessed().ProgramName == name;
    }

    std::vector<MultipartFields> forms; // written by the thread; read once it is idle
    RecordingView view;
    TThreadGetProgramDetails thread{[this] { return std::make_unique<NotesService>(forms); }, 5ms};
    ProgramDetailsArea area{
        view, thread,
        ProgramDetailsAddress{[] { return std::wstring(L"http://svc/v.aspx"); }, L"55",
                              [] { return std::wstring(L"hdr"); },
                              [](const std::wstring& url) { return url + L"#program.aspx?id="; }}};
};

TEST_F(ProgramDetailsAreaTest, TheRecordShowsAtOnceAndTheNotesOnceFetched) {
    TProgramRecord record;
    record.TargetExeFilename = L"app.exe";
    record.TargetExePath = L"C:\\Apps\\";
    record.TargetExeVersion = L"1.2.3 build:4";
    area.ShowProgramDetails({L"App", L"app.exe"}, &record);
    EXPECT_EQ(view.calls, (std::vector<std::wstring>{
                              L"name App", L"page", L"record app.exe|C:\\Apps\\|1.2.3 build:4",
                              L"reset", L"loading", L"details -=downloading..=-"}));
    ASSERT_TRUE(Fetched(L"App"));
    // Asked again while shown or fetched: nothing changes, nothing is sent.
    view.calls.clear();
    area.ShowProgramDetails({L"App", L"app.exe"}, &record);
    EXPECT_TRUE(view.calls.empty());

    area.ApplyProgramDetails();
    EXPECT_EQ(view.calls,
              (std::vector<std::wstring>{L"details Alice\r\nabout App\r\n---", L"loaded"}));
    EXPECT_EQ(view.shown.programPageUrl, L"http://svc/v.aspx#program.aspx?id=9")
        << "the page of the service that gave the id";
    EXPECT_EQ(area.ActiveProgram(), (TProgramRecord2{L"App", L"app.exe"}));
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_EQ(forms[0].TextFields()[0].value, L"55");
    EXPECT_EQ(forms[0].TextFields()[1].value, L"hdr");
}

TEST_F(ProgramDetailsAreaTest, AProgramOutsideTheInventoryAndAFailedFetch) {
    area.ShowProgramDetails({L"Down", L"down.exe"}, nullptr);
    EXPECT_EQ(view.calls.at(2), L"record ||");
    ASSERT_TRUE(Fetched(L"Down"));
    area.ApplyProgramDetails();
    EXPECT_EQ(view.shown.comments,
              L"The program's details could not be loaded: Wininet error # 12029");
    EXPECT_EQ(view.shown.productLink, L"please submit a url");
    EXPECT_EQ(view.calls.back(), L"loaded");
}

} // namespace
} // namespace torvik
