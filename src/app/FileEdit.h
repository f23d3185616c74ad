#pragma once
#include <functional>
#include <optional>
#include <string>

#include "app/Controls.h"

namespace torvik::app {

// Asks the user for a file to open: the path chosen, or nothing when the
// user cancelled. current is the path in the box, where the dialog starts.
using FileChooser =
    std::function<std::optional<std::wstring>(HWND owner, const std::wstring& current)>;

// The system's open-file dialog, for files that exist.
std::optional<std::wstring> ChooseFileToOpen(HWND owner, const std::wstring& current);

// An edit box for a path with a "..." button beside it that opens a file
// dialog and puts the chosen path in the box.
class FileEdit : public Control {
public:
    // The dialog the button opens; tests put their own.
    FileChooser chooseFile = ChooseFileToOpen;

    // id is the edit box's; the button takes id + 1.
    bool Create(HWND parent, int id);
    // Places the box and its button (as wide as the box is high) together.
    void Move(int x, int y, int width, int height);
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    // What the button does.
    void Browse();
    HWND BrowseButton() const { return browse_.Handle(); }

private:
    Button browse_;
};

} // namespace torvik::app
