#include "inventory/PopupMsg.h"

#include <algorithm>

#include "common/DateText.h"
#include "common/Utf8.h"

namespace torvik {

bool IsFullScreen(const Desktop& desktop) {
    const WindowHandle fg = desktop.ForegroundWindow();
    if (fg == 0) {
        return false;
    }
    const Rect r = desktop.WindowRect(fg);
    const bool covers = r.left <= 0 && r.top <= 0 && r.right >= desktop.ScreenWidth() - 1 &&
                        r.bottom >= desktop.ScreenHeight() - 1;
    if (!covers) {
        return false;
    }
    const std::wstring cls = desktop.WindowClassName(fg);
    return cls != L"Progman" && cls != L"WorkerW";
}

void AppendPendingAlert(FileSystem& fs, const std::wstring& path, double now,
                        const std::wstring& text) {
    std::string bytes;
    if (!fs.FileExists(path)) {
        bytes = "\xEF\xBB\xBF";
    }
    bytes += StringToUtf8(DateTimeToStrX_noms(now) + L": " + text) + "\r\n";
    fs.AppendToFile(path, bytes);
}

int PopupSlots::Acquire() {
    for (int i = 0; i < kCount; ++i) {
        if (!taken_[i]) {
            taken_[i] = true;
            return i + 1;
        }
    }
    return 1;
}

void PopupSlots::Release(int slot) {
    if (slot >= 1 && slot <= kCount) {
        taken_[slot - 1] = false;
    }
}

PopupPlacement PlacePopup(int workAreaWidth, int workAreaHeight, int slot, int labelRight) {
    PopupPlacement p;
    p.width = std::max(110, labelRight + 50);
    p.left = workAreaWidth - p.width - 50;
    p.top = workAreaHeight - slot * 30 - 30;
    return p;
}

void Notifier::PopupMsg(const std::wstring& text) {
    if (IsFullScreen(desktop_)) {
        AppendPendingAlert(folders_.Env().fs, folders_.InSettings(L"pending_alerts.log"),
                           clock_.Now(), text);
        return;
    }
    if (showPopup_) {
        showPopup_(text);
    }
}

} // namespace torvik
