#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/ContainerWindow.h"
#include "app/Controls.h"
#include "app/LinkLabel.h"
#include "ui/ProgramDetailsText.h"

namespace torvik::app {

// The bottom area's "Program Details" page: what the user's own record says
// of the selected program (file name, folder, version), what the community
// says of it (comments, links, newer versions, popularity), and the two
// links that open the contribution panel.
class ProgramDetailsPage {
public:
    // The links' clicks; the window decides what opening means.
    std::function<void()> onProductUrl, onDownloadUrl, onFileHippoUrl, onProgramPage;
    std::function<void()> onWriteComment, onSubmitUrl;

    bool Create(HWND parent);
    HWND Handle() const { return page_.Handle(); }
    void Move(int x, int y, int width, int height);

    void SetProgramName(const std::wstring& name);
    void SetRecord(const std::wstring& fileName, const std::wstring& folder,
                   const std::wstring& localVersion);
    void SetComments(const std::wstring& text);
    // Link captions are link mark-up or plain text.
    void SetLinks(const std::wstring& product, const std::wstring& download,
                  const std::wstring& fileHippo, const std::wstring& programPage);
    void SetFileHippoVersion(const std::wstring& version);
    void SetNewVersions(const std::wstring& text);
    void SetPopularity(const std::wstring& text);
    // Everything the service said of the program; the addresses stay with
    // the page for its links.
    void Show(const ProgramDetailsTexts& texts);
    const ProgramDetailsTexts& Shown() const { return shown_; }

private:
    void AddCaption(const wchar_t* text);
    HWND AddValue(int id, DWORD style = ES_AUTOHSCROLL);
    bool AddLink(LinkLabel& link, int id, std::function<void()>& onClick);

    ContainerWindow page_;
    HWND name_ = nullptr, fileName_ = nullptr, folder_ = nullptr, version_ = nullptr;
    HWND comments_ = nullptr, newVersions_ = nullptr, popularity_ = nullptr;
    HWND fileHippoVersion_ = nullptr;
    HWND commentsCaption_ = nullptr, newVersionsCaption_ = nullptr;
    std::vector<HWND> captions_; // beside the values, in row order
    ProgramDetailsTexts shown_;
    LinkLabel product_, download_, fileHippo_, programPage_, writeComment_, submitUrl_;
};

} // namespace torvik::app
