#include "ui/AccountNameChange.h"

#include "common/Text.h"
#include "protocol/IniSections.h"

namespace torvik {

bool ChangeUserName(const ServiceAccess& service, Dialogs& dialogs, AccountNameView& view) {
    if (view.UserId().empty()) {
        dialogs.ShowMessage(
            L"No user ID was Assigned. Please restart the program to get a new user ID");
        return false;
    }
    const std::wstring newName = Trim(view.NewName());
    view.SetNewName(newName);
    if (newName.empty()) {
        return false;
    }
    MultipartFields form = NewServiceRequest(service.build, service.header(), L"set_username");
    form.AddText(L"prev_username", view.PreviousName());
    form.AddText(L"new_username", newName);
    const auto reply = ScreenedLines(service.Post(form), service.screening);
    if (!reply) {
        return false;
    }
    if (IniSectionValue(L"result", *reply).find(L"failed") != std::wstring::npos) {
        dialogs.ShowMessage(L"Login failed");
        return false;
    }
    view.SetAccountName(newName);
    view.SaveSettings();
    dialogs.ShowMessage(L"Username changed");
    view.HideLoginPanel();
    return true;
}

} // namespace torvik
