#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <vector>

#include "app/FadingPopup.h"
#include "app/MainWindow.h"
#include "app/MessageLoop.h"
#include "common/Error.h"
#include "inventory/PopupMsg.h"
#include "inventory/Startup.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Platform.h"

using namespace torvik;

namespace {

std::vector<std::wstring> Arguments() {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    ::LocalFree(argv);
    return args;
}

int RunMessageLoop() {
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        app::DispatchWindowMessage(msg);
    }
    return static_cast<int>(msg.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    win32::Win32FileSystem fs;
    win32::Win32ShellFolders shell;
    win32::Win32Processes processes;
    win32::Win32Dialogs dialogs;
    win32::Win32Desktop desktop;
    win32::Win32NamedMutexes mutexes;
    win32::Win32Clock clock;
    const CommandLine args(Arguments());

    const AppFolders folders({fs, shell, processes, dialogs, args});
    HWND mainWindow = nullptr;
    SettingsTransfer transfer(folders,
                              [&mainWindow] { return reinterpret_cast<WindowHandle>(mainWindow); });
    SingleInstance instance(desktop, mutexes, processes, args);

    StartupSteps steps;
    steps.initializeCom = [] {
        ::CoInitialize(nullptr);
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
    };
    // Not an installation run until the installer exists.
    steps.checkInstallation = [] { return false; };
    steps.runMainWindow = [&] {
        app::FadingPopups popups;
        Notifier notifier(folders, desktop, clock,
                          [&popups](const std::wstring& text) { popups.Show(text); });
        app::MainWindow window({desktop, fs, folders, notifier, dialogs, clock, args},
                               instance.Title());
        if (!window.Create()) {
            app::ReportError(L"The main window could not be created.");
            return 1;
        }
        mainWindow = window.Handle();
        window.Show(showCommand);
        ::UpdateWindow(window.Handle());
        return RunMessageLoop();
    };

    try {
        return RunStartup(folders, clock, transfer, instance, steps);
    } catch (...) {
        app::ReportError(CurrentExceptionText());
    }
    return 1;
}
