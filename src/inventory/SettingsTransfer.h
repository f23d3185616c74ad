#pragma once
#include <atomic>
#include <functional>

#include "inventory/AppFolders.h"

namespace torvik {

// Moves settings that older versions left beside the installed executable
// into the local application-data folder. Runs its body once per process;
// also makes the settings folder the current directory.
class SettingsTransfer {
public:
    // mainWindow gives the owner for the elevated restart (0 before the main
    // window exists).
    SettingsTransfer(const AppFolders& folders, std::function<WindowHandle()> mainWindow)
        : folders_(folders), mainWindow_(std::move(mainWindow)) {}

    void TransferSettingsFromProgramFilesToLocalSettings();

    // Names in folder that count as settings files to move.
    static bool IsCandidate(const std::wstring& name);

private:
    void MoveFile(const std::wstring& src, const std::wstring& dst, const std::wstring& name);

    const AppFolders& folders_;
    std::function<WindowHandle()> mainWindow_;
    std::atomic<bool> done_{false};
};

} // namespace torvik
