#include "ui/ContributionFlow.h"

#include "common/ScopeExit.h"
#include "common/Text.h"

namespace torvik {
namespace {

using Field = ContributionView::Field;
using Page = ContributionView::Page;

// Not the program's title: a second copy looks for a window of that title
// and must find the main window, not this box.
constexpr wchar_t kConfirmCaption[] = L"Confirm";

} // namespace

void ContributionFlow::HTLabel3xClick() {
    ShowPanel(Page::Comment);
}

void ContributionFlow::pi_CommunityNotesClick(bool programSelected) {
    if (programSelected) {
        ShowPanel(Page::Comment);
    }
}

void ContributionFlow::TorvikLinkLabel1Click() {
    ShowPanel(Page::Url);
}

void ContributionFlow::ShowPanel(Page page) {
    view_.EnableProgramList(false);
    view_.ShowPanel(page);
    if (page == Page::Comment) {
        // A returning contributor has an alias already and starts writing.
        view_.Focus(Trim(view_.Text(Field::Alias)).empty() ? Field::Alias : Field::Comment);
    }
}

void ContributionFlow::bCommunity_CloseClick() {
    view_.HidePanel();
    view_.EnableProgramList(true);
    for (const Field field : {Field::Comment, Field::Tags, Field::ProductUrl, Field::DownloadUrl}) {
        view_.SetText(field, L"");
    }
}

bool ContributionFlow::ConfirmAlias(const std::wstring& alias) {
    const std::wstring account = view_.AccountName();
    if (account.empty() || account == alias) {
        return true;
    }
    if (!services_.dialogs.AskOkCancel(services_.owner,
                                       L"This will permanently change your alias from \"" +
                                           account + L"\" to \"" + alias + L"\"",
                                       kConfirmCaption)) {
        return false;
    }
    // A change the service refused (or one that never started: no user id,
    // an empty name) posts nothing: the note would go out under a name the
    // account does not have, and the form would then make it the account
    // name shown at the top.
    return services_.changeUserName(alias);
}

void ContributionFlow::bCommunity_PostNoteClick() {
    const std::wstring alias = Trim(view_.Text(Field::Alias));
    view_.SetText(Field::Alias, alias);
    if (!ConfirmAlias(alias)) {
        return;
    }
    const TProgramRecord2 program = services_.shownProgram();
    const ProgramNote note{alias, view_.Text(Field::Comment), view_.Text(Field::Tags),
                           view_.Text(Field::ProductUrl), view_.Text(Field::DownloadUrl)};
    const ServiceAccess& service = services_.service;
    std::optional<std::vector<std::wstring>> reply;
    {
        PleaseWaitShown wait(view_);
        view_.EnableSend(false);
        ScopeExit enable([this] { view_.EnableSend(true); });
        reply = ScreenedLines(service.Post(CommunityPostNoteRequest(
                                  service.build, service.header(), program.ProgramName,
                                  program.TargetExeFilename, note)),
                              service.screening);
    }
    // A cancelled request has no answer to judge; the fields stay as typed.
    if (!reply) {
        return;
    }
    view_.SetAccountName(alias);
    if (PostNoteAccepted(*reply)) {
        services_.dialogs.ShowMessage(L"Thank you!");
        bCommunity_CloseClick();
    } else {
        services_.dialogs.ShowMessage(L"An error occurred. Please try again alter");
    }
}

void ContributionFlow::bCommunity_ApproveClick(
    const std::optional<std::vector<std::wstring>>& selectedRow) {
    // A row without its executable column names no program the service could
    // approve; a verdict on a guessed program is worse than none.
    if (!selectedRow || selectedRow->size() < 2) {
        return;
    }
    SendVerdict(ModerationAction::ApproveVersion, {(*selectedRow)[0], (*selectedRow)[1]});
}

void ContributionFlow::bCommunity2ApproveClick() {
    SendVerdict(ModerationAction::ApproveVersion, services_.shownProgram());
}

void ContributionFlow::bCommunity3ApproveClick() {
    SendVerdict(ModerationAction::ApproveUrl, services_.shownProgram());
}

void ContributionFlow::bCommunity2RejectClick() {
    SendVerdict(ModerationAction::TakeOffline, services_.shownProgram());
}

void ContributionFlow::SendVerdict(ModerationAction action, const TProgramRecord2& program) {
    const ServiceAccess& service = services_.service;
    PleaseWaitShown wait(view_);
    ScreenedLines(service.Post(ModerationRequest(service.build, service.header(), action,
                                                 program.ProgramName, program.TargetExeFilename)),
                  service.screening);
}

bool ContributionFlow::ShortcutPressed(const ShortcutKey& key) {
    switch (DetailsShortcutOf(key, view_.PanelVisible(), view_.ApproveLastVersionVisible())) {
    case DetailsShortcut::ShowModeration:
        view_.ShowModerationButtons();
        return true;
    case DetailsShortcut::ApproveLastVersion:
        bCommunity2ApproveClick();
        return true;
    case DetailsShortcut::ClosePanel:
        bCommunity_CloseClick();
        return true;
    case DetailsShortcut::None:
        break;
    }
    return false;
}

} // namespace torvik
