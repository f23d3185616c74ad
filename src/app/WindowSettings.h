#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/WindowControls.h"
#include "platform/AnsiCodePage.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "ui/TorvikProject.h"

namespace torvik::app {

// What a window's stored settings need from the program.
struct WindowSettingsServices {
    FileSystem& fs;
    const TimeZone& zone;
    const AnsiCodePage& ansi; // files of older versions carry no byte-order mark
    Dialogs& dialogs;
    const Clock& clock;
};

// A window's stored values and place: the settings store over the window's
// named controls and its position on the screen. The window registers its
// controls (it owns the registry, which outlives a store that could not be
// made), then calls Project().HandleFormShow() before it is first shown and
// Project().HandleFormCloseQuery() when it is asked to close.
class WindowSettings : public ProjectOwner {
public:
    // Raises TorvikError when an older positions file cannot be read.
    WindowSettings(HWND window, WindowControls& controls, WindowSettingsServices services,
                   const std::wstring& settingsFolder, const std::wstring& exeName,
                   std::vector<std::wstring> propertiesList);

    WindowControls& Controls() override { return controls_; }
    TTorvikProject& Project() { return *project_; }

    FormPlacement Placement() const override;
    void Place(const FormPlacement& placement) override;
    WorkArea PrimaryWorkArea() const override;

private:
    HWND window_;
    WindowControls& controls_;
    std::unique_ptr<TTorvikProject> project_;
};

} // namespace torvik::app
