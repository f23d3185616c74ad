#include "ui/AccountFlow.h"

#include "common/Text.h"
#include "protocol/IniSections.h"
#include "protocol/Split.h"
#include "protocol/UrlParts.h"

namespace torvik {
namespace {

using Box = AccountView::Box;

bool Contains(const std::wstring& text, const wchar_t* part) {
    return text.find(part) != std::wstring::npos;
}

constexpr const wchar_t* kNoUserId =
    L"No user ID was Assigned. Please restart the program to get a new user ID";

} // namespace

std::wstring PasswordInClearQuestion(const std::wstring& serviceUrl) {
    const auto parts = CrackUrl(WithDefaultScheme(Trim(serviceUrl)));
    if (parts && parts->scheme == L"https") {
        return L"";
    }
    const std::wstring host = parts ? LowerCaseAscii(parts->host) : L"";
    if (host == L"127.0.0.1" || host == L"localhost" || host == L"[::1]" || host == L"::1") {
        return L"";
    }
    return L"The service address is not encrypted:\r\n" + serviceUrl +
           L"\r\nYour password would travel over the network in clear text. Send it anyway?";
}

bool AccountFlow::PasswordMayTravel() {
    const std::wstring question = PasswordInClearQuestion(service_.url());
    return question.empty() || dialogs_.AskOkCancel(owner_, question, L"Login");
}

std::wstring AccountFlow::TrimBox(Box box) {
    const std::wstring text = Trim(view_.BoxText(box));
    view_.SetBoxText(box, text);
    return text;
}

std::optional<std::vector<std::wstring>> AccountFlow::Send(const std::wstring& mode,
                                                           const MultipartFields& fields) {
    MultipartFields form = NewServiceRequest(service_.build, service_.header(), mode);
    for (const auto& field : fields.TextFields()) {
        form.AddText(field.name, field.value);
    }
    return ScreenedLines(service_.Post(form), service_.screening);
}

void AccountFlow::TakeAccount(const std::wstring& name) {
    view_.SetAccountName(name);
    view_.HideLoginPanel();
    view_.SaveSettings();
}

bool AccountFlow::HasUserId() {
    if (view_.UserId().empty()) {
        dialogs_.ShowMessage(kNoUserId);
        return false;
    }
    return true;
}

void AccountFlow::bMyAccountClick() {
    const std::wstring account = view_.AccountName();
    for (const Box box :
         {Box::RegisterName, Box::RegisterPassword, Box::LoginPassword, Box::NewPassword}) {
        view_.SetBoxText(box, L"");
    }
    for (const Box box : {Box::LoginName, Box::ExistingName, Box::NewName, Box::PasswordPageName}) {
        view_.SetBoxText(box, account);
    }
    const std::wstring shown = view_.ShownAccountName();
    if (!shown.empty() && shown != L"anonymouse") {
        view_.ShowLoginPanel(AccountView::Page::Login);
        view_.FocusBox(Box::LoginName);
    } else {
        view_.ShowLoginPanel(AccountView::Page::Register);
        view_.FocusBox(Box::RegisterName);
    }
}

void AccountFlow::bLoginClick() {
    MultipartFields fields;
    fields.AddText(L"username", TrimBox(Box::LoginName));
    fields.AddText(L"password", TrimBox(Box::LoginPassword));
    if (!PasswordMayTravel()) {
        return;
    }
    const auto reply = Send(L"login", fields);
    if (!reply) {
        return;
    }
    const std::wstring value = IniSectionValue(L"login", *reply);
    if (Contains(value, L"failed")) {
        dialogs_.ShowMessage(L"Login failed");
        return;
    }
    const auto parts = _x_Split(value, L"|", true);
    if (parts.size() != 2) {
        dialogs_.ShowMessage(L"Invalid server reply: " + value);
        return;
    }
    view_.SetAccountName(parts[1]);
    dialogs_.ShowMessage(L"Login ok");
    view_.HideLoginPanel();
    view_.SaveSettings();
}

void AccountFlow::bRegisterClick() {
    MultipartFields fields;
    fields.AddText(L"username", TrimBox(Box::RegisterName));
    fields.AddText(L"password", TrimBox(Box::RegisterPassword));
    if (!PasswordMayTravel()) {
        return;
    }
    const auto reply = Send(L"register", fields);
    if (!reply) {
        return;
    }
    const std::wstring value = IniSectionValue(L"register", *reply);
    if (Contains(value, L"failed")) {
        dialogs_.ShowMessage(
            L"Username is already taken, and the password did not match. Login failed.\r\n"
            L"Please select another username.\r\n"
            L"If the account belongs to you, please supply the correct password");
        return;
    }
    const auto parts = _x_Split(value, L"|", true);
    if (parts.size() != 2) {
        dialogs_.ShowMessage(L"Invalid server reply: " + value);
        return;
    }
    // "login ok": the account existed and the password was right.
    if (Contains(value, L"registration ok") || Contains(value, L"login ok")) {
        TakeAccount(parts[1]);
    }
}

void AccountFlow::bRegister_PasswordClick() {
    if (!HasUserId()) {
        return;
    }
    const std::wstring password = TrimBox(Box::NewPassword);
    if (password.empty()) {
        return;
    }
    MultipartFields fields;
    fields.AddText(L"username", view_.AccountName());
    fields.AddText(L"password", password);
    if (!PasswordMayTravel()) {
        return;
    }
    const auto reply = Send(L"set_password", fields);
    if (!reply) {
        return;
    }
    if (Contains(IniSectionValue(L"result", *reply), L"failed")) {
        dialogs_.ShowMessage(L"Login failed");
        return;
    }
    view_.SetBoxText(Box::NewPassword, L"");
    dialogs_.ShowMessage(L"Password changed");
    view_.HideLoginPanel();
}

bool AccountFlow::bRegister_UsernameClick() {
    if (!HasUserId()) {
        return false;
    }
    const std::wstring newName = TrimBox(Box::NewName);
    if (newName.empty()) {
        return false;
    }
    MultipartFields fields;
    fields.AddText(L"prev_username", view_.BoxText(Box::ExistingName));
    fields.AddText(L"new_username", newName);
    const auto reply = Send(L"set_username", fields);
    if (!reply) {
        return false;
    }
    if (Contains(IniSectionValue(L"result", *reply), L"failed")) {
        dialogs_.ShowMessage(L"Login failed");
        return false;
    }
    view_.SetAccountName(newName);
    view_.SaveSettings();
    dialogs_.ShowMessage(L"Username changed");
    view_.HideLoginPanel();
    return true;
}

} // namespace torvik
