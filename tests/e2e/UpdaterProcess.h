#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace torvik::e2e {

constexpr const wchar_t* kTitle = L"Torvik Updater";

// Top-level windows titled "Torvik Updater".
std::vector<HWND> UpdaterWindows();

// One started copy of updater.exe.
class UpdaterProcess {
public:
    UpdaterProcess(const std::wstring& exe, const std::wstring& args);
    ~UpdaterProcess();
    UpdaterProcess(const UpdaterProcess&) = delete;
    UpdaterProcess& operator=(const UpdaterProcess&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_; }
    // The process's own window titled "Torvik Updater", waiting up to timeoutMs.
    HWND WaitForWindow(DWORD timeoutMs = 30000) const;
    // Exit code, or STILL_ACTIVE when it has not ended within timeoutMs.
    DWORD WaitForExit(DWORD timeoutMs = 30000) const;
    // Asks the window to close and waits for the process to end.
    DWORD Close();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// The updater.exe built for this run, and the folder of the fixture
// executables.
std::wstring UpdaterExe();
std::wstring FixturesFolder();

// Replaces the settings file of the copy at exe ("updater.ini" beside it)
// with this text; false when it cannot be written.
bool WriteSettings(const std::wstring& exe, const std::string& text);
// Settings that leave the check to the test: no check at start.
constexpr const char* kNoAutoCheck = "[cbAutoCheck.Checked]\r\n0\r\n";
// ... and no privacy warning before a check.
constexpr const char* kNoAutoCheckNoWarning =
    "[cbDisablePrivacyWarning.Checked]\r\n1\r\n[cbAutoCheck.Checked]\r\n0\r\n";

// The profile's Start Menu programs folder.
std::wstring StartMenuPrograms();
// Writes a shell shortcut to target; false when the shell refuses.
bool CreateShortcut(const std::wstring& lnk, const std::wstring& target);
// A window's text (up to 2047 characters).
std::wstring TextOf(HWND hwnd);

// The first window below parent (at any depth) of that class whose text is
// text; nullptr when none.
HWND FindDescendant(HWND parent, const wchar_t* cls, const std::wstring& text);
// The control of the window (at any depth) with this id; nullptr when none.
HWND ControlById(HWND window, int id);
// A visible floating panel of the window with that caption, within timeoutMs.
HWND WaitForPanel(HWND window, const std::wstring& caption, DWORD timeoutMs = 30000);
// A visible message box of the process titled caption (an empty caption
// for boxes without one), within timeoutMs; nullptr when none came.
HWND WaitForBox(DWORD pid, const std::wstring& caption, DWORD timeoutMs = 30000);
// The text of a message box (its static text control has the id 0xFFFF).
std::wstring BoxText(HWND box);
void PressOk(HWND box);
void PressYes(HWND box);
// Clicks a button of another process as its parent would hear it.
void ClickButton(HWND button);

// Clicks the header of column (counted in the designed order) of a report
// list view of another process, as the mouse would: the header is found by
// the columns' widths, which the list tells any process.
void ClickColumnHeader(HWND list, int column);
// Whether the thread of window answers a message within timeoutMs.
bool Answers(HWND window, DWORD timeoutMs = 1000);
// Messages sent to a window while it was busy, and how many of them it did
// not answer within a second.
struct Probes {
    int sent = 0;
    int unanswered = 0;
};
// Sends window a message every 50 ms while busy() holds, for up to
// timeoutMs in all.
Probes ProbeWhile(HWND window, const std::function<bool()>& busy, DWORD timeoutMs);

// The cell texts of a report list view in another process, row by row.
std::vector<std::vector<std::wstring>> ListViewRows(HWND list, int columns);
// Makes row the only selected (and the focused) row of a list view in
// another process, as a click would; false when it could not.
bool SelectListRow(HWND list, int row);

} // namespace torvik::e2e
