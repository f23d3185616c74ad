#pragma once
#include <windows.h>
#include <exdisp.h>
#include <ole2.h>

#include <string>

#include "platform/win32/BrowserSite.h"
#include "platform/win32/Com.h"

namespace torvik::win32 {

// Whether the platform's HTML engine is there to draw pages. Its web
// browser control can be created without it (as under Wine without its
// HTML engine), but would then show nothing. OLE must be initialised.
bool HtmlEngineAvailable();

// The platform's web browser control, active in place in a window and
// filling its client area. Empty until Host succeeds; destroying it (or
// Close) deactivates, closes and releases the control, which must happen
// while the window still exists.
class EmbeddedBrowser {
public:
    EmbeddedBrowser() = default;
    ~EmbeddedBrowser() { Close(); }
    EmbeddedBrowser(const EmbeddedBrowser&) = delete;
    EmbeddedBrowser& operator=(const EmbeddedBrowser&) = delete;

    // Creates the control in window; false (and empty) when it cannot be
    // created or activated there. OLE must be initialised on this thread.
    bool Host(HWND window);
    bool Hosted() const { return static_cast<bool>(browser_); }
    // Gives the control a new size within the window.
    void Resize(int width, int height);
    // Starts loading url; false when nothing is hosted or the control
    // refuses. The page loads asynchronously.
    bool Navigate(const std::wstring& url);
    void Close();

private:
    ComPtr<BrowserSite> site_;
    ComPtr<IOleObject> object_;
    ComPtr<IOleInPlaceObject> inPlace_;
    ComPtr<IWebBrowser2> browser_;
};

} // namespace torvik::win32
