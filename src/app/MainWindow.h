#pragma once
#include "app/Window.h"
#include "platform/Desktop.h"

namespace torvik::app {

// The main window. Its caption is set to the single-instance title when it is
// first shown: that is what a second instance looks for.
class MainWindow : public Window {
public:
    MainWindow(Desktop& desktop, std::wstring title)
        : desktop_(desktop), title_(std::move(title)) {}

    bool Create();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FormShow();
    void WM_ShowSelf();
    void Layout();

    Desktop& desktop_;
    std::wstring title_;
    bool shownOnce_ = false;
    HWND status_ = nullptr;
};

} // namespace torvik::app
