#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace torvik::wintest {

// The list view classes, registered once for the whole test program.
inline bool ListViewClassesReady() {
    static const bool ready = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    return ready;
}

// A Linux path handed over by CTest, as Wine sees it on drive Z:.
namespace detail {
struct IdSearch {
    int id;
    HWND found;
};
inline BOOL CALLBACK MatchId(HWND child, LPARAM search) {
    auto* s = reinterpret_cast<IdSearch*>(search);
    if (::GetDlgCtrlID(child) == s->id) {
        s->found = child;
        return FALSE;
    }
    return TRUE;
}
} // namespace detail

// A control anywhere below parent (a panel's controls sit on its body and
// its pages); nullptr when none has the id.
inline HWND FindById(HWND parent, int id) {
    detail::IdSearch search{id, nullptr};
    ::EnumChildWindows(parent, detail::MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

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

// Pumps the thread's messages until done() holds or timeoutMs passed; false
// on time-out.
template <typename Done> bool PumpUntil(Done done, DWORD timeoutMs = 3000) {
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) {
            return false;
        }
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Saves what the screen shows of a window as a 24-bit BMP file named NAME.bmp
// in the folder CTest names in TORVIK_SCREENSHOTS, so that a person can look
// at it after the run. Returns false when no folder is set or the copy fails.
inline bool SaveWindowShot(HWND hwnd, const std::wstring& name) {
    const char* folder = std::getenv("TORVIK_SCREENSHOTS");
    if (folder == nullptr || *folder == '\0') {
        return false;
    }
    ::ShowWindow(hwnd, SW_SHOW);
    ::SetForegroundWindow(hwnd);
    ::RedrawWindow(hwnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    MSG msg;
    for (int i = 0; i < 20; ++i) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    }
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    ::SelectObject(memory, old);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * static_cast<size_t>(height));
    const int lines = ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (lines != height) {
        return false;
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    const std::wstring path = FromHostPath(folder) + L"\\" + name + L".bmp";
    ::CreateDirectoryW(FromHostPath(folder).c_str(), nullptr);
    HANDLE out = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    bool ok = ::WriteFile(out, &file, sizeof file, &written, nullptr) && written == sizeof file;
    ok = ok && ::WriteFile(out, &info, sizeof info, &written, nullptr) && written == sizeof info;
    ok = ok &&
         ::WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr) &&
         written == pixels.size();
    ::CloseHandle(out);
    return ok;
}

} // namespace torvik::wintest
