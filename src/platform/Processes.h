#pragma once
#include <cstdint>
#include <string>

namespace torvik {

// Opaque window handle (an HWND on Windows); 0 is no window.
using WindowHandle = std::uintptr_t;

// The running process and starting others.
class Processes {
public:
    virtual ~Processes() = default;
    // Full path of the program's own executable.
    virtual std::wstring ExecutablePath() const = 0;
    virtual bool IsElevated() const = 0;
    // Starts exe elevated (verb "runas") without waiting; false when it could
    // not be started (refused by the user included).
    virtual bool RunElevated(const std::wstring& exe, const std::wstring& params,
                             WindowHandle owner) = 0;
    // Ends the process at once with the exit code.
    [[noreturn]] virtual void ExitProcess(unsigned code) = 0;
};

} // namespace torvik
