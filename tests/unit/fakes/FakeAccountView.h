#pragma once
#include <map>
#include <optional>
#include <string>

#include "ui/AccountFlow.h"

namespace torvik::testing {

// The login panel and the account of the main window, in memory: the
// panel starts open, the account is "old".
class FakeAccountView : public AccountView {
public:
    std::wstring BoxText(AccountView::Box box) override { return boxes[box]; }
    void SetBoxText(AccountView::Box box, const std::wstring& text) override { boxes[box] = text; }
    void FocusBox(AccountView::Box box) override { focus = box; }
    void ShowLoginPanel(AccountView::Page p) override {
        page = p;
        panelShown = true;
    }
    void HideLoginPanel() override { panelShown = false; }
    std::wstring UserId() override { return userId; }
    std::wstring AccountName() override { return account; }
    std::wstring ShownAccountName() override { return shown; }
    void SetAccountName(const std::wstring& name) override { account = shown = name; }
    void SaveSettings() override { ++saved; }

    std::map<AccountView::Box, std::wstring> boxes;
    std::optional<AccountView::Box> focus;
    std::optional<AccountView::Page> page;
    bool panelShown = true;
    std::wstring userId = L"user_ABC_2026-12-11 00:00:00.000", account = L"old", shown = L"old";
    int saved = 0;
};

} // namespace torvik::testing
