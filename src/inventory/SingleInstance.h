#pragma once
#include <string>

#include "inventory/CommandLine.h"
#include "platform/Desktop.h"
#include "platform/Processes.h"

namespace torvik {

// The private message that asks the running instance to show itself.
constexpr unsigned kWmShowSelf = 0x0400 + 2; // WM_USER+2

// Turns a second copy of the program away: by the main window's title
// (activating that window) or, while the first copy is still starting, by a
// machine-wide mutex named after the executable.
class SingleInstance {
public:
    SingleInstance(Desktop& desktop, NamedMutexes& mutexes, Processes& processes,
                   const CommandLine& args)
        : desktop_(desktop), mutexes_(mutexes), processes_(processes), args_(args) {}

    void SetTitle(std::wstring title) { title_ = std::move(title); }
    const std::wstring& Title() const { return title_; }

    // True when this process may go on. Throws TorvikError when the title has
    // not been set (a programming error).
    bool SetSingleInstanceApp();
    // Creates the mutex named after the executable; ends the process (exit
    // code 0) when another instance holds it.
    void InitMutex() { InstallMutex(L""); }
    void InstallMutex(const std::wstring& name);

    // "Global\" + the executable's file name upper-cased (ASCII only).
    std::wstring MutexName(const std::wstring& name) const;

private:
    Desktop& desktop_;
    NamedMutexes& mutexes_;
    Processes& processes_;
    const CommandLine& args_;
    std::wstring title_ = L"xxx";
};

} // namespace torvik
