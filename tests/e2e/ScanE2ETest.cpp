#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>

#include "UpdaterProcess.h"

namespace torvik::e2e {
namespace {

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

HWND ChildOfClass(HWND parent, const wchar_t* cls) {
    return ::FindWindowExW(parent, nullptr, cls, nullptr);
}

std::wstring TextOf(HWND hwnd) {
    wchar_t buf[256] = {};
    ::GetWindowTextW(hwnd, buf, 256);
    return buf;
}

// The program scans the real Start Menu of the profile, lists what it found
// and keeps the executable's details in its cache when it closes.
TEST(ScanE2E, StartMenuShortcutIsListedAndCached) {
    ASSERT_TRUE(UpdaterWindows().empty());
    ::CoInitialize(nullptr);
    const std::wstring exe = UpdaterExe();
    const std::wstring lnk = StartMenuPrograms() + L"\\Torvik E2E Tool.lnk";
    ASSERT_TRUE(CreateShortcut(lnk, exe));
    const std::wstring cache = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"updater_cache.db";
    ::DeleteFileW(cache.c_str());

    UpdaterProcess updater(exe, L"");
    const HWND window = updater.WaitForWindow();
    ASSERT_NE(window, nullptr);
    const HWND list = ChildOfClass(window, WC_LISTVIEWW);
    const HWND status = ChildOfClass(window, L"STATIC");
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < 200 && TextOf(status).find(L"found") == std::wstring::npos; ++i) {
        ::Sleep(100);
    }
    EXPECT_NE(TextOf(status).find(L"programs found."), std::wstring::npos);
    EXPECT_GE(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(updater.Close(), 0u);
    ::DeleteFileW(lnk.c_str());

    std::ifstream in(cache.c_str(), std::ios::binary);
    ASSERT_TRUE(in.good()) << "the cache is written at close";
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_NE(bytes.str().find("updater.exe"), std::string::npos);
    ::CoUninitialize();
}

} // namespace
} // namespace torvik::e2e
