#pragma once
#include <string>

#include "app/Window.h"

namespace torvik::app {

// An edit box holding a number with "." as its decimal separator. A change
// that would leave anything but a number being typed (a letter, a second
// ".", a pasted word) is undone, the caret where it was; a half-typed "-" or
// "." reads as 0. Its parent must be a Window, which routes EN_CHANGE here.
class NumericEdit : public Control {
public:
    bool Create(HWND parent, int id);
    double Value() const;
    // Writes the shortest text of the value: 15 as "15".
    void SetValue(double value);
    std::wstring Text() const;

    bool OnCommand(int code) override;

private:
    std::wstring accepted_;
};

} // namespace torvik::app
