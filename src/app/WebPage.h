#pragma once
#include <string>

#include "app/Window.h"
#include "platform/win32/Com.h"
#include "platform/win32/EmbeddedBrowser.h"

namespace torvik::app {

// A child window that shows web pages in the platform's browser control,
// which fills it and follows its size. Where no browser can be hosted the
// page stays an empty window and navigating does nothing: the pages it
// would show are the maker's news, nothing the program depends on.
class WebPage : public Window {
public:
    // Whether a new page hosts the browser control; by default only where
    // the platform's HTML engine is there to draw into it.
    using HostCondition = bool (*)();

    bool Create(HWND parent, HostCondition hostBrowser = win32::HtmlEngineAvailable);
    bool HasBrowser() const { return browser_.Hosted(); }
    // Starts loading url; false when no browser is hosted or it refuses.
    bool Navigate(const std::wstring& url);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnSize(int width, int height) override;

private:
    // Declared before the browser: OLE outlives the control, and both go
    // before the base destroys a window that still exists.
    win32::OleSession ole_;
    win32::EmbeddedBrowser browser_;
};

} // namespace torvik::app
