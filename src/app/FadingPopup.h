#pragma once
#include <memory>
#include <string>
#include <vector>

#include "app/Window.h"
#include "inventory/PopupMsg.h"

namespace torvik::app {

class FadingPopups;

// TFormFadingPopup: a borderless, always-on-top notice at the bottom right of
// the work area that fades out by itself.
class FadingPopup : public Window {
public:
    FadingPopup(FadingPopups& owner, int slot) : owner_(owner), slot_(slot) {}
    bool Create(const std::wstring& text);
    int Slot() const { return slot_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyed() override;

private:
    FadingPopups& owner_;
    int slot_;
    int alpha_ = 255;
};

// Owns the popups on screen and their stacking slots (main thread only).
class FadingPopups {
public:
    void Show(const std::wstring& text);
    size_t Count() const { return popups_.size(); }

private:
    friend class FadingPopup;
    void Closed(FadingPopup* popup);

    PopupSlots slots_;
    std::vector<std::unique_ptr<FadingPopup>> popups_;
};

} // namespace torvik::app
