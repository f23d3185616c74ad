#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "common/DateText.h"
#include "platform/win32/UniqueHandle.h"

namespace torvik::win32 {
namespace {
HWND ToHwnd(WindowHandle w) {
    return reinterpret_cast<HWND>(w);
}
} // namespace

std::wstring Win32ShellFolders::SpecialFolderPath(Csidl folder) const {
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, static_cast<int>(folder), &pidl)) ||
        pidl == nullptr) {
        return {};
    }
    wchar_t buf[MAX_PATH + 1] = {};
    const BOOL ok = ::SHGetPathFromIDListW(pidl, buf);
    ::CoTaskMemFree(pidl);
    return ok ? std::wstring(buf) : std::wstring();
}

std::wstring Win32Processes::ExecutablePath() const {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size()) {
            return std::wstring(buf.data(), n);
        }
        buf.resize(buf.size() * 2);
    }
}

bool Win32Processes::IsElevated() const {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) {
        return false;
    }
    UniqueKernelHandle token(raw);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return ::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation,
                                 &size) &&
           elevation.TokenIsElevated != 0;
}

bool Win32Processes::RunElevated(const std::wstring& exe, const std::wstring& params,
                                 WindowHandle owner) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = ToHwnd(owner);
    info.lpVerb = L"runas";
    info.lpFile = exe.c_str();
    info.lpParameters = params.empty() ? nullptr : params.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ::ShellExecuteExW(&info) != 0;
}

void Win32Processes::ExitProcess(unsigned code) {
    ::ExitProcess(code);
}

void Win32Dialogs::ShowMessage(const std::wstring& text) {
    ::MessageBoxW(nullptr, text.c_str(), L"", MB_OK | MB_ICONINFORMATION);
}

bool Win32Dialogs::AskOkCancel(WindowHandle owner, const std::wstring& text,
                               const std::wstring& caption) {
    return ::MessageBoxW(ToHwnd(owner), text.c_str(), caption.c_str(),
                         MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

bool Win32Dialogs::AskYesNo(WindowHandle owner, const std::wstring& text,
                            const std::wstring& caption) {
    return ::MessageBoxW(ToHwnd(owner), text.c_str(), caption.c_str(),
                         MB_YESNO | MB_ICONQUESTION) == IDYES;
}

WindowHandle Win32Desktop::FindTopLevelWindow(const std::wstring& title) const {
    return reinterpret_cast<WindowHandle>(::FindWindowW(nullptr, title.c_str()));
}

void Win32Desktop::SendMessageTo(WindowHandle window, unsigned message) {
    ::SendMessageW(ToHwnd(window), message, 0, 0);
}

bool Win32Desktop::ForceForegroundWindow(WindowHandle window) {
    const HWND hwnd = ToHwnd(window);
    ::ShowWindow(hwnd, SW_SHOW);
    if (::IsIconic(hwnd)) {
        ::ShowWindow(hwnd, SW_RESTORE);
    }
    if (::GetForegroundWindow() == hwnd) {
        return true;
    }
    const DWORD foregroundThread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    const DWORD ownThread = ::GetWindowThreadProcessId(hwnd, nullptr);
    const bool attach = foregroundThread != 0 && foregroundThread != ownThread;
    if (attach) {
        ::AttachThreadInput(ownThread, foregroundThread, TRUE);
    }
    ::BringWindowToTop(hwnd);
    ::SetForegroundWindow(hwnd);
    if (attach) {
        ::AttachThreadInput(ownThread, foregroundThread, FALSE);
    }
    if (::GetForegroundWindow() != hwnd) {
        DWORD timeout = 0;
        ::SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
        ::SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
        ::BringWindowToTop(hwnd);
        ::SetForegroundWindow(hwnd);
        ::SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                                reinterpret_cast<void*>(static_cast<uintptr_t>(timeout)),
                                SPIF_SENDCHANGE);
    }
    return ::GetForegroundWindow() == hwnd;
}

WindowHandle Win32Desktop::ForegroundWindow() const {
    return reinterpret_cast<WindowHandle>(::GetForegroundWindow());
}

Rect Win32Desktop::WindowRect(WindowHandle window) const {
    RECT r{};
    ::GetWindowRect(ToHwnd(window), &r);
    return {r.left, r.top, r.right, r.bottom};
}

std::wstring Win32Desktop::WindowClassName(WindowHandle window) const {
    wchar_t buf[256] = {};
    const int n = ::GetClassNameW(ToHwnd(window), buf, 256);
    return std::wstring(buf, n > 0 ? n : 0);
}

int Win32Desktop::ScreenWidth() const {
    return ::GetSystemMetrics(SM_CXSCREEN);
}
int Win32Desktop::ScreenHeight() const {
    return ::GetSystemMetrics(SM_CYSCREEN);
}

bool Win32NamedMutexes::Exists(const std::wstring& name) const {
    UniqueKernelHandle h(::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, name.c_str()));
    return static_cast<bool>(h);
}

bool Win32NamedMutexes::Create(const std::wstring& name) {
    // Deliberately never closed: the lock must last as long as the process.
    return ::CreateMutexW(nullptr, FALSE, name.c_str()) != nullptr;
}

double Win32Clock::Now() const {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    return EncodeDateTime(
        {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds});
}

} // namespace torvik::win32
