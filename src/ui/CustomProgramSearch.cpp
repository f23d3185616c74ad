#include "ui/CustomProgramSearch.h"

#include "exchange/Contributions.h"
#include "inventory/ExeDetails.h"

namespace torvik {

void CustomProgramSearch::bCustomProgram_SearchClick() {
    view_.SetSearchResult(L"");
    view_.EnableAddProgram(false);
    const std::wstring program = view_.ChosenProgram();
    if (!services_.fs.FileExists(program)) {
        return;
    }
    const ServiceAccess& service = services_.service;
    ServiceReply reply;
    {
        PleaseWaitShown wait(view_);
        reply = service.Post(CustomProgramSearchRequest(
            service.build, service.header(), program, GetEXEdetails(services_.versions, program)));
    }
    const auto lines = ScreenedLines(reply, service.screening);
    if (!lines) {
        return;
    }
    const std::wstring result = CustomProgramSearchResult(*lines);
    view_.SetSearchResult(result);
    if (result.empty()) {
        services_.dialogs.ShowMessage(L"No matching programs found on server.");
        return;
    }
    view_.ShowSearchResult();
    view_.EnableAddProgram(true);
}

} // namespace torvik
