#pragma once
#include <string>

namespace torvik {

// The main window's please-wait panel, as the service operations use it.
class PleaseWaitView {
public:
    virtual ~PleaseWaitView() = default;
    // The panel centred in front; an empty text shows "Please wait...".
    virtual void ShowPleaseWait(const std::wstring& text) = 0;
    virtual void HidePleaseWait() = 0;
};

// Shows the panel while it lives. However the scope ends, an error on its
// way to the application's error handling included, the panel goes: left
// up, it would tell the user to wait for a request that has ended.
class PleaseWaitShown {
public:
    explicit PleaseWaitShown(PleaseWaitView& view, const std::wstring& text = L"") : view_(view) {
        view_.ShowPleaseWait(text);
    }
    ~PleaseWaitShown() { view_.HidePleaseWait(); }
    PleaseWaitShown(const PleaseWaitShown&) = delete;
    PleaseWaitShown& operator=(const PleaseWaitShown&) = delete;

private:
    PleaseWaitView& view_;
};

} // namespace torvik
