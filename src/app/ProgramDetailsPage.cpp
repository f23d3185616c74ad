#include "app/ProgramDetailsPage.h"

#include <algorithm>

#include "app/MainWindowIds.h"

namespace torvik::app {
namespace {

constexpr int kCaptionX = 8, kCaptionWidth = 112;
constexpr int kValueX = 122, kValueWidth = 270;
constexpr int kRowHeight = 20, kFirstRow = 6;
constexpr int kCommunityX = kValueX + kValueWidth + 14;
constexpr int kNewVersionsWidth = 230;

void SetText(HWND control, const std::wstring& text) {
    ::SetWindowTextW(control, text.c_str());
}

} // namespace

bool ProgramDetailsPage::Create(HWND parent) {
    if (!page_.Create(parent, L"TorvikDetailsPage", ::GetSysColorBrush(COLOR_BTNFACE))) {
        return false;
    }
    AddCaption(L"Program:");
    name_ = AddValue(kIdDetailsProgramName);
    AddCaption(L"Filename:");
    fileName_ = AddValue(kIdDetailsFileName);
    AddCaption(L"Installation path:");
    folder_ = AddValue(kIdDetailsFolder);
    AddCaption(L"Local version:");
    version_ = AddValue(kIdDetailsLocalVersion);
    AddCaption(L"Product URL:");
    AddCaption(L"Download URL:");
    AddCaption(L"FileHippo:");
    AddCaption(L"FileHippo version:");
    fileHippoVersion_ = AddValue(kIdDetailsFileHippoVersion);
    AddCaption(L"Program page:");
    AddCaption(L"Popularity:");
    popularity_ = AddValue(kIdDetailsPopularity);
    commentsCaption_ = CreateChild(L"STATIC", SS_LEFT, Handle(), L"Comments", 0);
    comments_ = CreateChild(L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL,
                            Handle(), L"", kIdDetailsComments, WS_EX_CLIENTEDGE);
    newVersionsCaption_ =
        CreateChild(L"STATIC", SS_LEFT, Handle(), L"Newer versions from community", 0);
    newVersions_ = CreateChild(L"EDIT", ES_MULTILINE | ES_READONLY | WS_VSCROLL, Handle(), L"",
                               kIdDetailsNewVersions, WS_EX_CLIENTEDGE);
    if (!AddLink(product_, kIdDetailsProductLink, onProductUrl) ||
        !AddLink(download_, kIdDetailsDownloadLink, onDownloadUrl) ||
        !AddLink(fileHippo_, kIdDetailsFileHippoLink, onFileHippoUrl) ||
        !AddLink(programPage_, kIdDetailsProgramPageLink, onProgramPage) ||
        !AddLink(writeComment_, kIdWriteComment, onWriteComment) ||
        !AddLink(submitUrl_, kIdSubmitUrl, onSubmitUrl)) {
        return false;
    }
    writeComment_.SetCaption(L"<a href=><u>Write new comment");
    submitUrl_.SetCaption(L"<a href=><u>Submit new URL");
    return true;
}

void ProgramDetailsPage::AddCaption(const wchar_t* text) {
    captions_.push_back(CreateChild(L"STATIC", SS_LEFT, Handle(), text, 0));
}

HWND ProgramDetailsPage::AddValue(int id, DWORD style) {
    // Read-only edits without a border: the text can be selected and copied.
    return CreateChild(L"EDIT", style | ES_READONLY, Handle(), L"", id);
}

bool ProgramDetailsPage::AddLink(LinkLabel& link, int id, std::function<void()>& onClick) {
    if (!link.Create(Handle(), L"", id)) {
        return false;
    }
    // A long address is cut at the column's edge instead of growing over
    // the comments.
    link.SetAutoSize(false);
    link.onClick = [&onClick] {
        if (onClick) {
            onClick();
        }
    };
    return true;
}

void ProgramDetailsPage::Move(int x, int y, int width, int height) {
    ::MoveWindow(Handle(), x, y, width, height, TRUE);
    for (size_t row = 0; row < captions_.size(); ++row) {
        ::MoveWindow(captions_[row], kCaptionX, kFirstRow + static_cast<int>(row) * kRowHeight + 2,
                     kCaptionWidth, 16, TRUE);
    }
    // Each value on its caption's row: the record's four, then the links.
    auto rowTop = [](int row) { return kFirstRow + row * kRowHeight; };
    const HWND values[] = {name_, fileName_, folder_, version_};
    for (int row = 0; row < 4; ++row) {
        ::MoveWindow(values[row], kValueX, rowTop(row) + 2, kValueWidth, 16, TRUE);
    }
    LinkLabel* links[] = {&product_, &download_, &fileHippo_};
    for (int i = 0; i < 3; ++i) {
        ::MoveWindow(links[i]->Handle(), kValueX, rowTop(4 + i) + 2, kValueWidth, 16, TRUE);
    }
    ::MoveWindow(fileHippoVersion_, kValueX, rowTop(7) + 2, kValueWidth, 16, TRUE);
    ::MoveWindow(programPage_.Handle(), kValueX, rowTop(8) + 2, kValueWidth, 16, TRUE);
    ::MoveWindow(popularity_, kValueX, rowTop(9) + 2, kValueWidth, 16, TRUE);

    const int boxesTop = kFirstRow + 20;
    const int boxesHeight = std::max(0, height - boxesTop - 6);
    const int newVersionsX = std::max(kCommunityX + 100, width - kNewVersionsWidth - 8);
    const int commentsWidth = std::max(0, newVersionsX - kCommunityX - 8);
    ::MoveWindow(commentsCaption_, kCommunityX, kFirstRow + 2, 70, 16, TRUE);
    ::MoveWindow(writeComment_.Handle(), kCommunityX + 80, kFirstRow + 2, 120, 16, TRUE);
    ::MoveWindow(submitUrl_.Handle(), kCommunityX + 210, kFirstRow + 2, 110, 16, TRUE);
    ::MoveWindow(comments_, kCommunityX, boxesTop, commentsWidth, boxesHeight, TRUE);
    ::MoveWindow(newVersionsCaption_, newVersionsX, kFirstRow + 2, kNewVersionsWidth, 16, TRUE);
    ::MoveWindow(newVersions_, newVersionsX, boxesTop, kNewVersionsWidth, boxesHeight, TRUE);
}

void ProgramDetailsPage::SetProgramName(const std::wstring& name) {
    SetText(name_, name);
}

void ProgramDetailsPage::SetRecord(const std::wstring& fileName, const std::wstring& folder,
                                   const std::wstring& localVersion) {
    SetText(fileName_, fileName);
    SetText(folder_, folder);
    SetText(version_, localVersion);
}

void ProgramDetailsPage::SetComments(const std::wstring& text) {
    SetText(comments_, text);
}

void ProgramDetailsPage::SetLinks(const std::wstring& product, const std::wstring& download,
                                  const std::wstring& fileHippo, const std::wstring& programPage) {
    product_.SetCaption(product);
    download_.SetCaption(download);
    fileHippo_.SetCaption(fileHippo);
    programPage_.SetCaption(programPage);
}

void ProgramDetailsPage::SetFileHippoVersion(const std::wstring& version) {
    SetText(fileHippoVersion_, version);
}

void ProgramDetailsPage::SetNewVersions(const std::wstring& text) {
    SetText(newVersions_, text);
}

void ProgramDetailsPage::SetPopularity(const std::wstring& text) {
    SetText(popularity_, text);
}

void ProgramDetailsPage::Show(const ProgramDetailsTexts& texts) {
    shown_ = texts;
    SetComments(texts.comments);
    SetLinks(texts.productLink, texts.downloadLink, texts.fileHippoLink, texts.programPageLink);
    SetFileHippoVersion(texts.fileHippoVersion);
    SetNewVersions(texts.newVersions);
    SetPopularity(texts.popularity);
}

} // namespace torvik::app
