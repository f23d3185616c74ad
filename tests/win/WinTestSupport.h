#pragma once
#include <windows.h>

#include <string>

namespace torvik::wintest {

// A Linux path handed over by CTest, as Wine sees it on drive Z:.
inline std::wstring FromHostPath(const char* path) {
    std::wstring out = L"Z:";
    for (const char* p = path; *p != '\0'; ++p) {
        out += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
    }
    return out;
}

// Path of a fixture or helper executable built beside the test executable.
inline std::wstring BesideTestExe(const std::wstring& name) {
    wchar_t buf[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, buf, MAX_PATH);
    std::wstring path = buf;
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

// Runs a command line and returns its exit code (or -1 when it could not start
// or did not end within timeoutMs).
inline long RunAndWait(const std::wstring& commandLine, DWORD timeoutMs = 20000) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = commandLine;
    if (!::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi)) {
        return -1;
    }
    ::CloseHandle(pi.hThread);
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(pi.hProcess, &code);
    } else {
        ::TerminateProcess(pi.hProcess, 1);
    }
    ::CloseHandle(pi.hProcess);
    return static_cast<long>(code);
}

} // namespace torvik::wintest
