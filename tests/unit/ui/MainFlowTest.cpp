#include <gtest/gtest.h>

#include "fakes/FakeControls.h"
#include "service/Endpoints.h"
#include "ui/MainFlow.h"

namespace torvik {
namespace {

using testing::FakeControls;

// Records what the flow asks of the window, in order.
class RecordingView : public MainView {
public:
    std::vector<std::wstring> calls;
    void SetCaption(const std::wstring& caption) override {
        calls.push_back(L"caption " + caption);
    }
    void StartLateSelectTimer() override { calls.push_back(L"select timer"); }
    void ShowUserName(const std::wstring& name) override { calls.push_back(L"user " + name); }
    void StartInitializeTimer() override { calls.push_back(L"timer"); }
    void StorePlace() override { calls.push_back(L"place"); }
    void StopRequest() override { calls.push_back(L"request"); }
    void StopScanAndSaveCache() override { calls.push_back(L"cache"); }
    void Destroy() override { calls.push_back(L"destroy"); }
};

class MainFlowTest : public ::testing::Test {
protected:
    MainFlowTest() {
        controls.Add(L"edUserName", ControlClass::Edit);
        controls.Add(L"edUserName2", ControlClass::Edit).text = L"ada";
        controls.Add(L"edServiceURL", ControlClass::Edit).text = L"https://example.org/v.aspx";
        controls.Add(L"cbAutoCheck", ControlClass::CheckBox).checked = true;
    }
    MainFlow Flow(bool localUrl2 = false, bool autorun = false) {
        MainFlowServices services;
        services.title = L"Torvik Updater";
        services.newUserId = [] { return std::wstring(L"user_NEW"); };
        services.buildHeader = [](const std::wstring& id) { return L"header of " + id; };
        services.setServiceHeader = [this](const std::wstring& h) { header = h; };
        services.initialFlow = [this](bool check) { checks.push_back(check); };
        services.localUrl2 = localUrl2;
        services.autorun = autorun;
        return MainFlow(services, view, controls);
    }

    FakeControls controls;
    RecordingView view;
    std::wstring header;
    std::vector<bool> checks;
};

TEST_F(MainFlowTest, FirstShowKeepsAStoredUserIdAndRenewsAnyOther) {
    const struct {
        std::wstring stored, used;
    } cases[] = {
        {L"", L"user_NEW"},
        {L"someone", L"user_NEW"},
        {L"user_ABC_2026-01-01 10:00:00.000", L"user_ABC_2026-01-01 10:00:00.000"},
    };
    for (const auto& c : cases) {
        controls.At(L"edUserName").text = c.stored;
        view.calls.clear();
        Flow().FirstShow();
        EXPECT_EQ(controls.At(L"edUserName").text, c.used);
        EXPECT_EQ(header, L"header of " + c.used);
    }
    EXPECT_EQ(view.calls, (std::vector<std::wstring>{L"caption Torvik Updater", L"select timer",
                                                     L"user ada", L"timer"}));
}

TEST_F(MainFlowTest, TheSwitchesPointTheServiceAddressAtThisComputer) {
    Flow().FirstShow();
    EXPECT_EQ(controls.At(L"edServiceURL").text, L"https://example.org/v.aspx");
    Flow(true).FirstShow();
    EXPECT_EQ(controls.At(L"edServiceURL").text, kLocalServiceUrl2);
}

TEST_F(MainFlowTest, TheInitialFlowChecksWhenTheSettingOrTheSwitchSaysSo) {
    Flow().InitializeTick();
    controls.At(L"cbAutoCheck").checked = false;
    Flow().InitializeTick();
    Flow(false, true).InitializeTick();
    EXPECT_EQ(checks, (std::vector<bool>{true, false, true}));
}

TEST_F(MainFlowTest, ClosingStoresThePlaceFirstAndSavesTheCacheAfterTheRequestStops) {
    Flow().Close();
    EXPECT_EQ(view.calls, (std::vector<std::wstring>{L"place", L"request", L"cache", L"destroy"}));
}

} // namespace
} // namespace torvik
