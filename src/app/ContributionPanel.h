#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "app/CaptionPanel.h"
#include "app/Controls.h"
#include "app/PageControl.h"
#include "ui/ContributionFlow.h"

namespace torvik::app {

// The floating "Program details" panel where the user contributes to the
// shown program: a comment with tags, or a product and download address,
// under an alias. The moderators' buttons are hidden until asked for.
class ContributionPanel {
public:
    using Page = ContributionView::Page;
    using Field = ContributionView::Field;

    // "Send" on either page, the moderation buttons, closing (the close
    // button, the caption's button and Esc).
    std::function<void()> onSend, onApproveLastVersion, onApproveUrl, onTakeOffline, onClose;

    bool Create(HWND parent);
    HWND Handle() const { return panel_.Handle(); }
    bool Visible() const { return ::IsWindowVisible(Handle()) != FALSE; }

    void ShowPage(Page page);
    void CentreAndShow() { panel_.CentreAndShow(); }
    void Hide() { ::ShowWindow(Handle(), SW_HIDE); }

    void SetProgramName(const std::wstring& name);
    std::wstring Text(Field field) const;
    void SetText(Field field, const std::wstring& text);
    void Focus(Field field);
    void EnableSend(bool enabled);
    void ShowModeration();
    bool ApproveLastVersionVisible() const;

private:
    HWND Edit(Field field) const;
    HWND AddLabelled(HWND parent, const wchar_t* caption, int y, int id, DWORD style = 0,
                     int height = 21);

    CaptionPanel panel_;
    PageControl pages_;
    HWND program_ = nullptr, alias_ = nullptr, comment_ = nullptr, tags_ = nullptr;
    HWND productUrl_ = nullptr, downloadUrl_ = nullptr;
    Button sendComment_, sendUrl_, approveLastVersion_, approveUrl_, takeOffline_, close_;
};

} // namespace torvik::app
