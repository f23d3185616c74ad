#pragma once
#include <string>

#include "exchange/ScreenedPost.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/VersionInfo.h"
#include "ui/PleaseWait.h"

namespace torvik {

// The custom-programs page of the settings panel, as its online search
// sees it.
class CustomSearchView : public PleaseWaitView {
public:
    // The executable the user chose (edCustomProgramName).
    virtual std::wstring ChosenProgram() = 0;
    // What the service knows of it (TntEdit2) and the panel around that.
    virtual void SetSearchResult(const std::wstring& text) = 0;
    virtual void ShowSearchResult() = 0;
    // "Add program".
    virtual void EnableAddProgram(bool enabled) = 0;
};

struct CustomSearchServices {
    Dialogs& dialogs;
    const FileSystem& fs;
    const VersionInfo& versions;
    ServiceAccess service;
};

// "Search Online": asks the service which program of its database the
// chosen executable is, by its file name, folder and version details.
// "Add program" is enabled only by a match. Service and screening errors
// propagate to the caller, the window's error handling, after the
// please-wait panel is hidden.
class CustomProgramSearch {
public:
    CustomProgramSearch(CustomSearchServices services, CustomSearchView& view)
        : services_(std::move(services)), view_(view) {}

    void bCustomProgram_SearchClick();

private:
    CustomSearchServices services_;
    CustomSearchView& view_;
};

} // namespace torvik
