#pragma once
#include <string>

#include "platform/Processes.h"

namespace torvik {

// Modal message boxes with the program's fixed texts.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Information box without owner or caption (ShowMessage, ShowMessageXX).
    virtual void ShowMessage(const std::wstring& text) = 0;
    // OK and Cancel with the question icon; true when OK was pressed.
    virtual bool AskOkCancel(WindowHandle owner, const std::wstring& text,
                             const std::wstring& caption) = 0;
    // Yes and No with the question icon; true when Yes was pressed.
    virtual bool AskYesNo(WindowHandle owner, const std::wstring& text,
                          const std::wstring& caption) = 0;
};

} // namespace torvik
