#include "UpdaterProcess.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

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

std::wstring StartMenuPrograms() {
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool CreateShortcut(const std::wstring& lnk, const std::wstring& target) {
    IShellLinkW* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link)))) {
        return false;
    }
    link->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    bool ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
    if (ok) {
        ok = SUCCEEDED(file->Save(lnk.c_str(), TRUE));
        file->Release();
    }
    link->Release();
    return ok;
}

std::wstring TextOf(HWND hwnd) {
    // WM_GETTEXT, not GetWindowTextW: an edit box of another process
    // answers only the message with what it holds now.
    wchar_t buf[2048] = {};
    ::SendMessageTimeoutW(hwnd, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG,
                          5000, nullptr);
    return buf;
}

std::wstring FixturesFolder() {
    const char* path = std::getenv("TORVIK_FIXTURES");
    return path == nullptr ? std::wstring() : wintest::FromHostPath(path);
}

std::vector<std::vector<std::wstring>> ListViewRows(HWND list, int columns) {
    // The text buffer must live in the list's own process.
    DWORD pid = 0;
    ::GetWindowThreadProcessId(list, &pid);
    const HANDLE process =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    std::vector<std::vector<std::wstring>> rows;
    if (process == nullptr) {
        return rows;
    }
    constexpr int kChars = 512;
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t),
                                    MEM_COMMIT, PAGE_READWRITE);
    auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(LVITEMW));
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; remote != nullptr && row < count; ++row) {
        std::vector<std::wstring> cells;
        for (int column = 0; column < columns; ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = remoteText;
            item.cchTextMax = kChars;
            wchar_t text[kChars] = {};
            ::WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
            ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                           reinterpret_cast<LPARAM>(remote));
            ::ReadProcessMemory(process, remoteText, text, sizeof text - sizeof(wchar_t), nullptr);
            cells.emplace_back(text);
        }
        rows.push_back(std::move(cells));
    }
    if (remote != nullptr) {
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    ::CloseHandle(process);
    return rows;
}

void ClickColumnHeader(HWND list, int column) {
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    int left = 0;
    for (int before = 0; before < column; ++before) {
        left += static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, before, 0));
    }
    const int width = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
    RECT bounds{};
    ::GetClientRect(header, &bounds);
    const LPARAM at = MAKELPARAM(left + width / 2, bounds.bottom / 2);
    ::PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(header, WM_LBUTTONUP, 0, at);
}

bool Answers(HWND window, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

Probes ProbeWhile(HWND window, const std::function<bool()>& busy, DWORD timeoutMs) {
    Probes probes;
    const DWORD start = ::GetTickCount();
    while (busy() && ::GetTickCount() - start < timeoutMs) {
        ++probes.sent;
        probes.unanswered += !Answers(window);
        ::Sleep(50);
    }
    return probes;
}

bool SelectListRow(HWND list, int row) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(list, &pid);
    const HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (process == nullptr) {
        return false;
    }
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof(LVITEMW), MEM_COMMIT, PAGE_READWRITE);
    bool done = false;
    if (remote != nullptr) {
        // Every row deselected first (-1), then the one.
        LVITEMW none{};
        none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        LVITEMW one = none;
        one.state = LVIS_SELECTED | LVIS_FOCUSED;
        done = ::WriteProcessMemory(process, remote, &none, sizeof none, nullptr) &&
               ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(remote)) != 0 &&
               ::WriteProcessMemory(process, remote, &one, sizeof one, nullptr) &&
               ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                              reinterpret_cast<LPARAM>(remote)) != 0;
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    ::CloseHandle(process);
    return done;
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
    } else {
        // Said at once: the test then fails on the missing window, later.
        std::fwprintf(stderr, L"cannot start %ls: error %lu\n", exe.c_str(), ::GetLastError());
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
    if (process_ == nullptr) {
        return nullptr;
    }
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

bool WriteSettings(const std::wstring& exe, const std::string& text) {
    const std::wstring file = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"updater.ini";
    std::ofstream out(file.c_str(), std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

namespace {
struct DescendantSearch {
    const wchar_t* cls;
    const std::wstring* text;
    HWND found;
};
BOOL CALLBACK MatchDescendant(HWND hwnd, LPARAM param) {
    auto& s = *reinterpret_cast<DescendantSearch*>(param);
    wchar_t cls[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    if (::CompareStringOrdinal(cls, -1, s.cls, -1, TRUE) == CSTR_EQUAL && TextOf(hwnd) == *s.text) {
        s.found = hwnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND FindDescendant(HWND parent, const wchar_t* cls, const std::wstring& text) {
    DescendantSearch search{cls, &text, nullptr};
    ::EnumChildWindows(parent, MatchDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForPanel(HWND window, const std::wstring& caption, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        const HWND panel = FindDescendant(window, L"TorvikCaptionPanel", caption);
        if (panel != nullptr && ::IsWindowVisible(panel)) {
            return panel;
        }
        ::Sleep(100);
    }
    return nullptr;
}

void ClickButton(HWND button) {
    ::PostMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
}

namespace {
struct IdSearch {
    int id;
    HWND found;
};
BOOL CALLBACK MatchId(HWND hwnd, LPARAM param) {
    auto& s = *reinterpret_cast<IdSearch*>(param);
    if (::GetDlgCtrlID(hwnd) == s.id) {
        s.found = hwnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND ControlById(HWND window, int id) {
    IdSearch search{id, nullptr};
    ::EnumChildWindows(window, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {
struct BoxSearch {
    DWORD pid;
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM param) {
    auto& s = *reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    wchar_t cls[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    if (owner == s.pid && std::wstring(cls) == L"#32770" && TextOf(hwnd) == *s.caption &&
        ::IsWindowVisible(hwnd)) {
        s.found = hwnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND WaitForBox(DWORD pid, const std::wstring& caption, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        BoxSearch search{pid, &caption, nullptr};
        ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        ::Sleep(100);
    }
    return nullptr;
}

std::wstring BoxText(HWND box) {
    wchar_t buf[2048] = {};
    ::GetDlgItemTextW(box, 0xFFFF, buf, 2048);
    return buf;
}

void PressOk(HWND box) {
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void PressYes(HWND box) {
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
}

} // namespace torvik::e2e
