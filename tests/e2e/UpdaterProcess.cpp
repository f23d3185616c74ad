#include "UpdaterProcess.h"

#include <cstdlib>

#include "WinTestSupport.h"

namespace torvik::e2e {
namespace {
BOOL CALLBACK CollectUpdaterWindow(HWND hwnd, LPARAM lParam) {
    wchar_t title[64] = {};
    ::GetWindowTextW(hwnd, title, 64);
    if (std::wstring(title) == kTitle) {
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    }
    return TRUE;
}
} // namespace

std::vector<HWND> UpdaterWindows() {
    std::vector<HWND> windows;
    ::EnumWindows(CollectUpdaterWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::wstring UpdaterExe() {
    const char* path = std::getenv("TORVIK_UPDATER");
    return path == nullptr ? std::wstring() : wintest::FromHostPath(path);
}

UpdaterProcess::UpdaterProcess(const std::wstring& exe, const std::wstring& args) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    if (::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                         &pi)) {
        ::CloseHandle(pi.hThread);
        process_ = pi.hProcess;
        id_ = pi.dwProcessId;
    }
}

UpdaterProcess::~UpdaterProcess() {
    if (process_ != nullptr) {
        if (WaitForExit(0) == STILL_ACTIVE) {
            ::TerminateProcess(process_, 1);
            ::WaitForSingleObject(process_, 5000);
        }
        ::CloseHandle(process_);
    }
}

HWND UpdaterProcess::WaitForWindow(DWORD timeoutMs) const {
    const DWORD start = ::GetTickCount();
    do {
        for (HWND hwnd : UpdaterWindows()) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hwnd, &pid);
            if (pid == id_) {
                return hwnd;
            }
        }
        ::Sleep(100);
    } while (::GetTickCount() - start < timeoutMs && WaitForExit(0) == STILL_ACTIVE);
    return nullptr;
}

DWORD UpdaterProcess::WaitForExit(DWORD timeoutMs) const {
    if (process_ == nullptr || ::WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process_, &code);
    return code;
}

DWORD UpdaterProcess::Close() {
    if (HWND hwnd = WaitForWindow(0)) {
        ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
    return WaitForExit();
}

} // namespace torvik::e2e
