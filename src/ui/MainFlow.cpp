#include "ui/MainFlow.h"

#include "protocol/ServiceHeader.h"
#include "service/Endpoints.h"

namespace torvik {

void MainFlow::FirstShow() {
    view_.SetCaption(services_.title);
    view_.StartLateSelectTimer();
    std::wstring userId = settings_.Text(L"edUserName");
    if (UserIdNeedsRenewal(userId)) {
        // Kept at the next save of the settings.
        userId = services_.newUserId();
        settings_.SetText(L"edUserName", userId);
    }
    view_.ShowUserName(settings_.Text(L"edUserName2"));
    services_.setServiceHeader(services_.buildHeader(userId));
    settings_.SetText(L"edServiceURL",
                      ServiceUrlAfterSwitches(settings_.Text(L"edServiceURL"), services_.localUrl1,
                                              services_.localUrl2));
    view_.StartInitializeTimer();
}

void MainFlow::InitializeTick() {
    services_.initialFlow(settings_.Checked(L"cbAutoCheck") || services_.autorun);
}

void MainFlow::Close() {
    view_.StorePlace();
    view_.StopRequest();
    view_.StopScanAndSaveCache();
    view_.Destroy();
}

} // namespace torvik
