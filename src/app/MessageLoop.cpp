#include "app/MessageLoop.h"

namespace torvik::app {

void DispatchWindowMessage(MSG& msg) {
    // Only keys go through the dialog manager: it would otherwise look at
    // every paint and timer message of every window.
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd != nullptr) {
        const HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
        if (root != nullptr && ::IsDialogMessageW(root, &msg)) {
            return;
        }
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

} // namespace torvik::app
