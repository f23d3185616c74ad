#include "app/MessageLoop.h"

namespace torvik::app {
namespace {

// The modifiers' own presses are not shortcuts.
bool IsShortcutKey(WPARAM key) {
    return key != VK_CONTROL && key != VK_SHIFT && key != VK_MENU;
}

} // namespace

void DispatchWindowMessage(MSG& msg) {
    // Only keys go through the dialog manager: it would otherwise look at
    // every paint and timer message of every window.
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd != nullptr) {
        const HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
        if (root != nullptr && msg.message == WM_KEYDOWN && IsShortcutKey(msg.wParam) &&
            ::GetKeyState(VK_CONTROL) < 0 &&
            ::SendMessageW(root, kWmShortcutKey, msg.wParam, ::GetKeyState(VK_SHIFT) < 0 ? 1 : 0) !=
                0) {
            return;
        }
        if (root != nullptr && ::IsDialogMessageW(root, &msg)) {
            return;
        }
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

} // namespace torvik::app
