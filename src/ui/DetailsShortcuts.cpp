#include "ui/DetailsShortcuts.h"

namespace torvik {

DetailsShortcut DetailsShortcutOf(const ShortcutKey& key, bool panelVisible,
                                  bool approveLastVersionVisible) {
    if (key.ctrl && key.shift && key.virtualKey == 'A') {
        return DetailsShortcut::ShowModeration;
    }
    if (key.ctrl && !key.shift && key.virtualKey == 'P' && panelVisible &&
        approveLastVersionVisible) {
        return DetailsShortcut::ApproveLastVersion;
    }
    if (!key.ctrl && !key.shift && key.virtualKey == kVirtualKeyEscape && panelVisible) {
        return DetailsShortcut::ClosePanel;
    }
    return DetailsShortcut::None;
}

} // namespace torvik
