#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "exchange/Contributions.h"
#include "exchange/ScreenedPost.h"
#include "platform/Dialogs.h"
#include "ui/DetailsShortcuts.h"
#include "ui/LateSelect.h"
#include "ui/PleaseWait.h"

namespace torvik {

// The program-details panel where users contribute to the shown program,
// and what the main window shows around it.
class ContributionView : public PleaseWaitView {
public:
    enum class Page { Comment, Url };
    enum class Field { Alias, Comment, Tags, ProductUrl, DownloadUrl };

    virtual std::wstring Text(Field field) = 0;
    virtual void SetText(Field field, const std::wstring& text) = 0;
    virtual void Focus(Field field) = 0;
    // The panel centred in front, showing the page.
    virtual void ShowPanel(Page page) = 0;
    virtual void HidePanel() = 0;
    virtual bool PanelVisible() = 0;
    // The program list takes no input while the panel shows.
    virtual void EnableProgramList(bool enabled) = 0;
    // The "Send" buttons of both pages.
    virtual void EnableSend(bool enabled) = 0;
    // The account name of the settings (edUserName2); setting it also sets
    // the name shown at the top of the window.
    virtual std::wstring AccountName() = 0;
    virtual void SetAccountName(const std::wstring& name) = 0;
    // "Approve version", "Approve last version", "Approve url" and "Take
    // offline" are hidden until the moderators' shortcut shows them.
    virtual void ShowModerationButtons() = 0;
    virtual bool ApproveLastVersionVisible() = 0;
};

struct ContributionServices {
    Dialogs& dialogs;
    WindowHandle owner; // of the question box
    ServiceAccess service;
    // The program the details area shows (edActiveProgramName,
    // edActiveProgramExeFilename): what contributions and verdicts are about.
    std::function<TProgramRecord2()> shownProgram;
    // Puts the new name where the account's change of user name reads it
    // and runs that change, which shows its own messages; true when the
    // service took the new name.
    std::function<bool(const std::wstring& newName)> changeUserName;
};

// Contributions (a comment with tags, a product and download address) and
// the moderators' verdicts on the shown program, and the panel's pages and
// shortcuts. Runs on the main thread; the requests wait for their reply.
// Service and screening errors propagate to the caller, the window's error
// handling, once the please-wait panel is hidden (and, for a note, "Send"
// enabled again).
class ContributionFlow {
public:
    ContributionFlow(ContributionServices services, ContributionView& view)
        : services_(std::move(services)), view_(view) {}

    // "Write new comment" on the details page.
    void HTLabel3xClick();
    // "Add comment/url" of the program list's menu: the comment page, when
    // a row is selected.
    void pi_CommunityNotesClick(bool programSelected);
    // "Submit new URL" on the details page.
    void TorvikLinkLabel1Click();
    // The panel's "Close", its caption's button and Esc: the panel goes, the
    // program list takes input again, and the comment, tags and both
    // addresses are cleared; the alias stays.
    void bCommunity_CloseClick();

    // "Send" on either page: confirms a change of alias against the account
    // name, posts every field, and on the service's "ok" thanks the user and
    // closes the panel; any other answer keeps the fields for another try.
    void bCommunity_PostNoteClick();

    // The verdicts. "Approve version" is about a row of the missing-URLs
    // list (its caption and first sub-item), and does nothing without one;
    // the others are about the shown program.
    void bCommunity_ApproveClick(const std::optional<std::vector<std::wstring>>& selectedRow);
    void bCommunity2ApproveClick(); // "Approve last version"
    void bCommunity3ApproveClick(); // "Approve url"
    void bCommunity2RejectClick();  // "Take offline"

    // A window-wide key; true when it was one of the panel's shortcuts.
    bool ShortcutPressed(const ShortcutKey& key);

private:
    void ShowPanel(ContributionView::Page page);
    bool ConfirmAlias(const std::wstring& alias);
    void SendVerdict(ModerationAction action, const TProgramRecord2& program);

    ContributionServices services_;
    ContributionView& view_;
};

} // namespace torvik
