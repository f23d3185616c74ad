#include <gtest/gtest.h>

#include "common/Error.h"
#include "ui/LateSelect.h"

namespace torvik {
namespace {

using namespace std::chrono_literals;

class FakeTimer : public OneShotTimer {
public:
    void Start(std::chrono::milliseconds delay) override {
        running = true;
        this->delay = delay;
    }
    void Stop() override { running = false; }
    bool running = false;
    std::chrono::milliseconds delay{};
};

// A details area whose fetches end only when the test says so.
class FakeDetails : public ProgramDetailsSeam {
public:
    void ShowProgramDetails(const TProgramRecord2& program, const TProgramRecord* record) override {
        if (failWith) {
            throw TorvikError(failWith);
        }
        requested.push_back(program);
        records.push_back(record);
        pending = program;
    }
    TProgramRecord2 LastProcessed() const override { return last; }
    void ApplyProgramDetails() override { applied.push_back(last); }
    void FinishFetch() { last = pending; }

    const wchar_t* failWith = nullptr;
    std::vector<TProgramRecord2> requested, applied;
    std::vector<const TProgramRecord*> records;
    TProgramRecord2 pending, last;
};

struct LateSelectTest : ::testing::Test {
    LateSelectTest() {
        for (const wchar_t* name : {L"Alpha", L"Beta"}) {
            auto record = std::make_unique<TProgramRecord>();
            record->ProgramName = name;
            record->TargetExeFilename = std::wstring(name) + L".exe";
            lists.ProgramList.push_back(std::move(record));
        }
    }
    // A selection the details area fetches at once, shown by the next tick.
    void SelectAndShow(const std::wstring& name, const std::wstring& exe) {
        select.SelectProgram(name, exe);
        select.Tick();
        details.FinishFetch();
        select.Tick();
    }

    FakeTimer timer;
    ProgramLists lists;
    FakeDetails details;
    std::vector<std::wstring> errors;
    LateSelect select{timer, lists, details,
                      [this](const std::wstring& text) { errors.push_back(text); }};
};

TEST_F(LateSelectTest, OnlyTheLastOfQuickSelectionsIsShown) {
    select.Start();
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.delay, 100ms);

    select.SelectProgram(L"Alpha", L"Alpha.exe");
    select.Tick();
    EXPECT_TRUE(details.applied.empty()) << "Alpha is still being fetched";
    select.SelectProgram(L"Beta", L"Beta.exe");
    details.FinishFetch(); // Alpha arrives after Beta was selected
    select.Tick();
    EXPECT_TRUE(details.applied.empty()) << "what arrived is not what is selected";
    details.FinishFetch();
    select.Tick();

    const TProgramRecord2 beta{L"Beta", L"Beta.exe"};
    EXPECT_EQ(details.applied, std::vector<TProgramRecord2>{beta});
    EXPECT_EQ(select.ShownProgram(), beta);
    ASSERT_EQ(details.records.size(), 3u);
    EXPECT_EQ(details.records[0], lists.ProgramList[0].get());
    EXPECT_EQ(details.records[2], lists.ProgramList[1].get());
    // The tick does not wait for its delay to be asked again.
    EXPECT_TRUE(timer.running);
    EXPECT_TRUE(errors.empty());
}

TEST_F(LateSelectTest, OnlyADifferentNamedSelectionIsHandedOver) {
    SelectAndShow(L"Alpha", L"Alpha.exe");
    ASSERT_EQ(details.applied.size(), 1u);
    const struct {
        std::wstring name, exe;
        bool handedOver;
        const TProgramRecord* record;
    } cases[] = {
        {L"Alpha", L"Alpha.exe", false, nullptr},
        {L"", L"", false, nullptr},
        {L"", L"Beta.exe", false, nullptr},
        // Letter case counts here; the record is found all the same.
        {L"ALPHA", L"Alpha.exe", true, lists.ProgramList[0].get()},
        {L"Alpha", L"alpha.exe", true, lists.ProgramList[0].get()},
        {L"Gamma", L"Gamma.exe", true, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.name << "\", \"" << c.exe << "\"");
        SelectAndShow(L"Alpha", L"Alpha.exe");
        details.requested.clear();
        details.records.clear();
        select.SelectProgram(c.name, c.exe);
        select.Tick();
        ASSERT_EQ(details.requested.size(), c.handedOver ? 1u : 0u);
        if (c.handedOver) {
            EXPECT_EQ(details.requested[0], (TProgramRecord2{c.name, c.exe}));
            EXPECT_EQ(details.records[0], c.record);
        }
        // Once another program is on its way, Alpha is no longer on screen.
        EXPECT_EQ(select.ShownProgram(),
                  (c.handedOver ? TProgramRecord2{} : TProgramRecord2{L"Alpha", L"Alpha.exe"}));
        EXPECT_TRUE(timer.running);
    }
}

TEST_F(LateSelectTest, GoingBackBeforeTheOtherFetchEndsShowsTheFirstAgain) {
    SelectAndShow(L"Alpha", L"Alpha.exe");
    select.SelectProgram(L"Beta", L"Beta.exe");
    select.Tick(); // the page now waits for Beta
    select.SelectProgram(L"Alpha", L"Alpha.exe");
    select.Tick();
    EXPECT_EQ(details.requested.back(), (TProgramRecord2{L"Alpha", L"Alpha.exe"}))
        << "Alpha is asked for again instead of leaving Beta's placeholders on screen";
    details.FinishFetch();
    select.Tick();
    EXPECT_EQ(select.ShownProgram(), (TProgramRecord2{L"Alpha", L"Alpha.exe"}));
}

TEST_F(LateSelectTest, AFailedTickIsReportedAndTheTimerRunsOn) {
    select.SelectProgram(L"Beta", L"Beta.exe");
    details.failWith = L"no details";
    select.Tick();
    EXPECT_EQ(errors, std::vector<std::wstring>{L"no details"});
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(select.ShownProgram(), TProgramRecord2{});

    details.failWith = nullptr;
    select.Tick();
    details.FinishFetch();
    select.Tick();
    EXPECT_EQ(select.ShownProgram(), (TProgramRecord2{L"Beta", L"Beta.exe"}));
    EXPECT_EQ(errors.size(), 1u);
}

} // namespace
} // namespace torvik
