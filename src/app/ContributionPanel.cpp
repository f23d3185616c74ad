#include "app/ContributionPanel.h"

#include "app/MainWindowIds.h"

namespace torvik::app {
namespace {

constexpr int kPanelWidth = 624, kPanelHeight = 322;
constexpr int kCaptionX = 8, kCaptionWidth = 112;
constexpr int kEditX = 124, kEditWidth = 476;
constexpr int kPagesTop = 62, kPagesHeight = 196;

} // namespace

bool ContributionPanel::Create(HWND parent) {
    if (!panel_.Create(parent, L"Program details", kPanelWidth, kPanelHeight)) {
        return false;
    }
    const HWND body = panel_.Body();
    program_ = AddLabelled(body, L"Program:", 8, kIdContributionProgram, ES_READONLY);
    alias_ = AddLabelled(body, L"Your name or alias:", 34, kIdContributionAlias);
    ::SendMessageW(alias_, EM_SETLIMITTEXT, 100, 0);

    if (!pages_.Create(body, 0, kPagesTop, kPanelWidth - 8, kPagesHeight)) {
        return false;
    }
    const HWND commentPage = pages_.AddPage(L"New comment");
    const HWND urlPage = pages_.AddPage(L"New URL");
    comment_ = AddLabelled(commentPage, L"Comment:", 0, kIdContributionComment,
                           ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL, 128);
    tags_ = AddLabelled(commentPage, L"Tags:", 136, kIdContributionTags);
    productUrl_ = AddLabelled(urlPage, L"Product URL:", 0, kIdContributionProductUrl);
    downloadUrl_ = AddLabelled(urlPage, L"Download URL:", 28, kIdContributionDownloadUrl);
    if (!sendComment_.Create(commentPage, L"Send", kIdPostComment) ||
        !sendUrl_.Create(urlPage, L"Send", kIdPostUrl) ||
        !approveLastVersion_.Create(body, L"Approve last version", kIdApproveLastVersion) ||
        !approveUrl_.Create(body, L"Approve url", kIdApproveUrl) ||
        !takeOffline_.Create(body, L"Take offline", kIdTakeOffline) ||
        !close_.Create(body, L"Close", kIdContributionClose)) {
        return false;
    }
    Place(sendComment_.Handle(), kEditX + kEditWidth - 90, 164, 90, 25);
    Place(sendUrl_.Handle(), kEditX + kEditWidth - 90, 58, 90, 25);
    Place(approveLastVersion_.Handle(), kCaptionX, 266, 130, 25);
    Place(approveUrl_.Handle(), kCaptionX + 136, 266, 100, 25);
    Place(takeOffline_.Handle(), kCaptionX + 242, 266, 100, 25);
    Place(close_.Handle(), kEditX + kEditWidth - 90, 266, 90, 25);
    for (Button* moderation : {&approveLastVersion_, &approveUrl_, &takeOffline_}) {
        ::ShowWindow(moderation->Handle(), SW_HIDE);
    }

    sendComment_.onClick = [this] { RunIfSet(onSend); };
    sendUrl_.onClick = [this] { RunIfSet(onSend); };
    approveLastVersion_.onClick = [this] { RunIfSet(onApproveLastVersion); };
    approveUrl_.onClick = [this] { RunIfSet(onApproveUrl); };
    takeOffline_.onClick = [this] { RunIfSet(onTakeOffline); };
    close_.onClick = [this] { RunIfSet(onClose); };
    panel_.onClose = close_.onClick;
    panel_.closeOnEscape = true;
    return true;
}

HWND ContributionPanel::AddLabelled(HWND parent, const wchar_t* caption, int y, int id, DWORD style,
                                    int height) {
    Place(CreateChild(L"STATIC", SS_LEFT, parent, caption, 0), kCaptionX, y + 3, kCaptionWidth, 16);
    const HWND edit = CreateChild(L"EDIT", style | ES_AUTOHSCROLL | WS_TABSTOP, parent, L"", id,
                                  WS_EX_CLIENTEDGE);
    Place(edit, kEditX, y, kEditWidth, height);
    return edit;
}

void ContributionPanel::ShowPage(Page page) {
    pages_.ShowPage(page == Page::Comment ? 0 : 1);
}

void ContributionPanel::SetProgramName(const std::wstring& name) {
    ::SetWindowTextW(program_, name.c_str());
}

HWND ContributionPanel::Edit(Field field) const {
    switch (field) {
    case Field::Alias:
        return alias_;
    case Field::Comment:
        return comment_;
    case Field::Tags:
        return tags_;
    case Field::ProductUrl:
        return productUrl_;
    case Field::DownloadUrl:
        return downloadUrl_;
    }
    return nullptr;
}

std::wstring ContributionPanel::Text(Field field) const {
    return WindowText(Edit(field));
}

void ContributionPanel::SetText(Field field, const std::wstring& text) {
    ::SetWindowTextW(Edit(field), text.c_str());
}

void ContributionPanel::Focus(Field field) {
    ::SetFocus(Edit(field));
}

void ContributionPanel::EnableSend(bool enabled) {
    sendComment_.Enable(enabled);
    sendUrl_.Enable(enabled);
}

void ContributionPanel::ShowModeration() {
    for (Button* moderation : {&approveLastVersion_, &approveUrl_, &takeOffline_}) {
        ::ShowWindow(moderation->Handle(), SW_SHOW);
    }
}

bool ContributionPanel::ApproveLastVersionVisible() const {
    return ::IsWindowVisible(approveLastVersion_.Handle()) != FALSE;
}

} // namespace torvik::app
