#pragma once
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/Processes.h"
#include "platform/ShellFolders.h"

namespace torvik::win32 {

class Win32ShellFolders : public ShellFolders {
public:
    std::wstring SpecialFolderPath(Csidl folder) const override;
};

class Win32Processes : public Processes {
public:
    std::wstring ExecutablePath() const override;
    bool IsElevated() const override;
    bool RunElevated(const std::wstring& exe, const std::wstring& params,
                     WindowHandle owner) override;
    [[noreturn]] void ExitProcess(unsigned code) override;
};

class Win32Dialogs : public Dialogs {
public:
    void ShowMessage(const std::wstring& text) override;
    bool AskOkCancel(WindowHandle owner, const std::wstring& text,
                     const std::wstring& caption) override;
    bool AskYesNo(WindowHandle owner, const std::wstring& text,
                  const std::wstring& caption) override;
};

class Win32Desktop : public Desktop {
public:
    WindowHandle FindTopLevelWindow(const std::wstring& title) const override;
    void SendMessageTo(WindowHandle window, unsigned message) override;
    bool ForceForegroundWindow(WindowHandle window) override;
    WindowHandle ForegroundWindow() const override;
    Rect WindowRect(WindowHandle window) const override;
    std::wstring WindowClassName(WindowHandle window) const override;
    int ScreenWidth() const override;
    int ScreenHeight() const override;
};

class Win32NamedMutexes : public NamedMutexes {
public:
    bool Exists(const std::wstring& name) const override;
    bool Create(const std::wstring& name) override;
};

class Win32Clock : public Clock {
public:
    double Now() const override;
};

} // namespace torvik::win32
