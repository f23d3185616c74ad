#include "app/WindowSettings.h"

#include <cmath>

namespace torvik::app {

WindowSettings::WindowSettings(HWND window, WindowControls& controls,
                               WindowSettingsServices services, const std::wstring& settingsFolder,
                               const std::wstring& exeName,
                               std::vector<std::wstring> propertiesList)
    : window_(window), controls_(controls) {
    ProjectServices project{
        services.fs,
        services.zone,
        [&ansi = services.ansi](const std::string& bytes) { return ansi.ToText(bytes); },
        [&dialogs = services.dialogs](const std::wstring& text) { dialogs.ShowMessage(text); },
        [window](const std::wstring& text) {
            // Not the main window's title: a second copy looks for that.
            ::MessageBoxW(window, text.c_str(), L"Error", MB_OK | MB_ICONERROR);
        },
        [](unsigned milliseconds) { ::Sleep(milliseconds); },
        [&clock = services.clock] { return std::floor(clock.Now()); }};
    project_ = std::make_unique<TTorvikProject>(*this, std::move(project), settingsFolder, exeName,
                                                std::move(propertiesList));
}

FormPlacement WindowSettings::Placement() const {
    RECT r{};
    ::GetWindowRect(window_, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top, ::IsZoomed(window_) != FALSE};
}

void WindowSettings::Place(const FormPlacement& p) {
    if (p.maximized) {
        // The restored size is the work area, as the window had no place
        // of its own.
        ::SetWindowPos(window_, nullptr, 0, 0, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
        ::ShowWindow(window_, SW_SHOWMAXIMIZED);
        return;
    }
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (p.width <= 0 || p.height <= 0) {
        flags |= SWP_NOSIZE;
    }
    ::SetWindowPos(window_, nullptr, p.left, p.top, p.width, p.height, flags);
}

WorkArea WindowSettings::PrimaryWorkArea() const {
    RECT r{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) {
        return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    }
    return {r.right - r.left, r.bottom - r.top};
}

} // namespace torvik::app
