#pragma once

namespace torvik {

// A key as the window's shortcut handling sees it. Letters come as their
// virtual-key codes, which are the upper-case ASCII letters; Esc, which
// reaches the window as the command IDCANCEL, comes as kVirtualKeyEscape
// without modifiers.
struct ShortcutKey {
    unsigned virtualKey = 0;
    bool ctrl = false;
    bool shift = false;
};
inline constexpr unsigned kVirtualKeyEscape = 0x1B;

enum class DetailsShortcut {
    None,               // not one of the details panel's keys: the focused control gets it
    ShowModeration,     // Ctrl+Shift+A, always
    ApproveLastVersion, // Ctrl+P while the panel and its "Approve last version" show
    ClosePanel,         // Esc while the panel shows
};

// Which of the program-details panel's shortcuts a key is, given what shows.
// The chords are exact: Ctrl+Shift+P approves nothing, Ctrl+Esc closes nothing.
DetailsShortcut DetailsShortcutOf(const ShortcutKey& key, bool panelVisible,
                                  bool approveLastVersionVisible);

} // namespace torvik
