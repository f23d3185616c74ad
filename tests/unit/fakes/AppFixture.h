#pragma once
#include <memory>

#include "fakes/FakeFileSystem.h"
#include "fakes/FakePlatform.h"
#include "inventory/AppFolders.h"

namespace torvik::testing {

// A Windows profile in memory: 64-bit Windows seen by a 32-bit program.
struct AppFixture {
    static constexpr const wchar_t* kProgramFiles = L"C:\\Program Files (x86)";
    static constexpr const wchar_t* kLocal = L"C:\\users\\joe\\AppData\\Local";
    static constexpr const wchar_t* kRoaming = L"C:\\users\\joe\\AppData\\Roaming";
    static constexpr const wchar_t* kInstalledExe =
        L"C:\\Program Files (x86)\\Torvik Software\\updater.exe";

    FakeFileSystem fs;
    FakeShellFolders shell;
    FakeProcesses processes;
    FakeDialogs dialogs;
    CommandLine args;

    AppFixture() {
        shell.folders = {{Csidl::ProgramFiles, kProgramFiles},
                         {Csidl::LocalAppData, kLocal},
                         {Csidl::AppData, kRoaming},
                         {Csidl::Desktop, L"C:\\users\\joe\\Desktop"}};
    }
    // Places the executable (and its folder) and starts with these arguments.
    void RunFrom(const std::wstring& exe, std::vector<std::wstring> arguments = {}) {
        processes.exePath = exe;
        fs.AddFile(exe, "MZ");
        args = CommandLine(std::move(arguments));
        folders.reset();
    }
    const AppFolders& Folders() {
        if (!folders) {
            folders =
                std::make_unique<AppFolders>(AppEnvironment{fs, shell, processes, dialogs, args});
        }
        return *folders;
    }

private:
    std::unique_ptr<AppFolders> folders;
};

} // namespace torvik::testing
