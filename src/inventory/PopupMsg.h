#pragma once
#include <array>
#include <functional>
#include <string>

#include "inventory/AppFolders.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"

namespace torvik {

// Whether the foreground window covers the whole screen and is not the
// desktop itself (a game, a film, a presentation).
bool IsFullScreen(const Desktop& desktop);

// Appends "yyyy-mm-dd hh:nn:ss: text" + CR LF to the alerts file; a new file
// starts with the UTF-8 byte-order mark. Write errors are ignored.
void AppendPendingAlert(FileSystem& fs, const std::wstring& path, double now,
                        const std::wstring& text);

// The ten stacking places of the fading popups, shared by all of them.
class PopupSlots {
public:
    static constexpr int kCount = 10;
    // The first free slot (1..10), or 1 when all are taken.
    int Acquire();
    void Release(int slot);

private:
    std::array<bool, kCount> taken_{};
};

struct PopupPlacement {
    int left = 0, top = 0, width = 0;
};
// Where a popup stands in the work area: bottom right, stacked by slot.
PopupPlacement PlacePopup(int workAreaWidth, int workAreaHeight, int slot, int labelRight);

// Opacity over time: opaque for 3000 ms, then 3 less every 10 ms; 0 closes.
constexpr int kPopupHoldMs = 3000;
constexpr int kPopupFadeTickMs = 10;
constexpr int kPopupFadeStep = 3;
inline int NextPopupAlpha(int alpha) {
    return alpha > kPopupFadeStep ? alpha - kPopupFadeStep : 0;
}

// Notices that need no answer: a fading popup, or a line in
// "pending_alerts.log" while a full-screen program is in front.
class Notifier {
public:
    using ShowPopup = std::function<void(const std::wstring& text)>;
    Notifier(const AppFolders& folders, const Desktop& desktop, const Clock& clock,
             ShowPopup showPopup)
        : folders_(folders), desktop_(desktop), clock_(clock), showPopup_(std::move(showPopup)) {}

    void PopupMsg(const std::wstring& text);

private:
    const AppFolders& folders_;
    const Desktop& desktop_;
    const Clock& clock_;
    ShowPopup showPopup_;
};

} // namespace torvik
