#pragma once
#include <functional>
#include <string>

#include "ui/LateSelect.h"
#include "ui/ProgramDetailsText.h"
#include "ui/ProgramDetailsThread.h"

namespace torvik {

// The details page as the details area fills it.
class ProgramDetailsView {
public:
    virtual ~ProgramDetailsView() = default;
    // The program's name in the page's title and the contribution panel.
    virtual void SetProgramName(const std::wstring& name) = 0;
    // From the user's own record; all empty when the program is not in the
    // inventory.
    virtual void SetRecord(const std::wstring& fileName, const std::wstring& folder,
                           const std::wstring& localVersion) = 0;
    virtual void ShowDetailsPage() = 0;
    virtual void ShowDetails(const ProgramDetailsTexts& texts) = 0;
    // "Loading program details..." in the top bar, or nothing.
    virtual void ShowDetailsLoading(bool loading) = 0;
    // A new program: the contribution panel's alias becomes the account
    // name, its comment and tags are emptied.
    virtual void ResetContribution() = 0;
};

// Where a fetch goes and what it carries, read on the main thread when the
// selection changes.
struct ProgramDetailsAddress {
    std::function<std::wstring()> serviceUrl;
    std::wstring build;
    std::function<std::wstring()> header;
    // The program page's address up to its id, for the service at an
    // address: the service that gave the id serves the page.
    std::function<std::wstring(const std::wstring& serviceUrl)> programPageBase;
};

// The details area of the main window over the details thread: it shows a
// selected program's own record at once, hands the program to the thread
// and shows the service's details once the thread has them. The program it
// shows (the active program) is the one contributions and moderation refer
// to.
class ProgramDetailsArea : public ProgramDetailsSeam {
public:
    ProgramDetailsArea(ProgramDetailsView& view, TThreadGetProgramDetails& thread,
                       ProgramDetailsAddress address)
        : view_(view), thread_(thread), address_(std::move(address)) {}

    void ShowProgramDetails(const TProgramRecord2& program, const TProgramRecord* record) override;
    TProgramRecord2 LastProcessed() const override { return thread_.LastProcessed().program; }
    void ApplyProgramDetails() override;

    const TProgramRecord2& ActiveProgram() const { return active_; }

private:
    ProgramDetailsView& view_;
    TThreadGetProgramDetails& thread_;
    ProgramDetailsAddress address_;
    TProgramRecord2 active_;
    std::wstring activeServiceUrl_; // where the active program's details come from
};

} // namespace torvik
