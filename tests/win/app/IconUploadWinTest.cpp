// The icon upload's request as it leaves the program under Wine, and the
// icon cache with the real shell and a real thread hand-over.
#include <gtest/gtest.h>

#include <windows.h>

#include "WinTestSupport.h"
#include "app/ProgramIconUpload.h"
#include "app/ShellIconCache.h"
#include "common/Error.h"
#include "net/LoopbackServer.h"
#include "platform/win32/Com.h"
#include "platform/win32/IconPng.h"
#include "platform/win32/ShellIcons.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32InternetApi.h"
#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/Win32System.h"

namespace torvik {
namespace {

using wintest::LoopbackServer;

std::wstring Fixture(const std::wstring& name) {
    return wintest::BesideTestExe(L"fixtures\\") + name;
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

struct IconUploadWin : ::testing::Test {
    win32::ComApartment com;
    win32::Win32InternetApi internet;
    win32::Win32AnsiCodePage ansi;
    win32::Win32FileSystem fs;
    LoopbackServer server;

    IconUploadServices Services() {
        return {internet,
                ansi,
                fs,
                PumpMessages,
                L"67",
                [] { return std::wstring(L"user_X#Windows#6#1#7601"); },
                [this] { return server.Url(L"/versionchecker.aspx"); }};
    }
};

TEST_F(IconUploadWin, SendsTheProgramAndItsIconAsPng) {
    server.Enqueue({LoopbackServer::Http("HTTP/1.1 200 OK", {"Content-Type: text/plain"},
                                         "[reply]\r\nok\r\n")});
    const IconUploadItem program{L"Icon Fixture", L"iconfix_app.exe", Fixture(L"iconfix_app.exe")};
    ASSERT_NO_THROW(UploadIcon(program, Services()));
    ASSERT_EQ(server.Requests().size(), 1u);
    const std::string request = server.Requests()[0];
    EXPECT_EQ(request.rfind("POST /versionchecker.aspx ", 0), 0u) << request.substr(0, 80);
    const win32::UniqueIcon icon = win32::FirstIconOfFile(program.exeFile);
    const std::string part = "--" + std::string(kMultipartBoundary) + "\r\n";
    for (const std::string& expected :
         {part + "Content-Disposition: form-data; name=\"build\"\r\n\r\n67\r\n",
          part + "Content-Disposition: form-data; name=\"mode\"\r\n\r\nupload_icon\r\n",
          part + "Content-Disposition: form-data; name=\"program_name\"\r\n\r\nIcon Fixture\r\n",
          part + "Content-Disposition: form-data; name=\"exe_filename\"\r\n\r\niconfix_app.exe\r\n",
          part +
              "Content-Disposition: form-data; name=\"icon_contents\"; filename=\"x\"\r\n"
              "Content-Transfer-Encoding: binary\r\n\r\n" +
              win32::IconToPng(icon.get()) + "\r\n"}) {
        EXPECT_NE(request.find(expected), std::string::npos) << expected.substr(0, 120);
    }
}

TEST_F(IconUploadWin, ErrorsOfTheServiceRaiseAndAMissingFileSendsNothing) {
    server.Enqueue({LoopbackServer::Http("HTTP/1.1 200 OK", {"Content-Type: text/plain"},
                                         "error: the program is not in the catalogue\r\n")});
    EXPECT_THROW(UploadIcon({L"A", L"iconfix_app.exe", Fixture(L"iconfix_app.exe")}, Services()),
                 TorvikError);
    EXPECT_THROW(UploadIcon({L"B", L"scanfix_app.exe", Fixture(L"scanfix_app.exe")}, Services()),
                 TorvikError)
        << "no icon to send";
    EXPECT_NO_THROW(UploadIcon({L"C", L"gone.exe", Fixture(L"gone.exe")}, Services()));
    EXPECT_EQ(server.Requests().size(), 1u);
}

// The window's side of the hand-over: a message-only window that counts the
// posted repaints.
class RepaintTarget {
public:
    static constexpr UINT kIconsArrived = WM_APP + 7;
    RepaintTarget() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TorvikIconRepaintTarget";
        ::RegisterClassW(&wc);
        hwnd_ = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~RepaintTarget() { ::DestroyWindow(hwnd_); }
    HWND Handle() const { return hwnd_; }
    int repaints = 0;
    DWORD repaintThread = 0;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<RepaintTarget*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == kIconsArrived && self != nullptr) {
            ++self->repaints;
            self->repaintThread = ::GetCurrentThreadId();
            return 0;
        }
        return ::DefWindowProcW(hwnd, message, w, l);
    }
    HWND hwnd_ = nullptr;
};

TEST(ShellIconCacheWin, AMissIsFetchedInTheBackgroundAndTheWindowToldOnItsThread) {
    win32::ComApartment com;
    win32::Win32FileSystem fs;
    win32::Win32ShellLinks links;
    RepaintTarget target;
    std::vector<std::wstring> errors;
    ShellIconCache cache(fs, links, PostOnArrival(target.Handle(), RepaintTarget::kIconsArrived),
                         [&](const std::wstring& e) { errors.push_back(e); });
    const std::wstring exe = Fixture(L"iconfix_app.exe");
    const std::wstring folder = wintest::BesideTestExe(L"fixtures");
    EXPECT_EQ(cache.IconFor(exe), nullptr) << "the first paint shows nothing";
    EXPECT_EQ(cache.IconFor(folder), nullptr);
    HICON exeIcon = nullptr, folderIcon = nullptr;
    for (int turn = 0; turn < 200 && (exeIcon == nullptr || folderIcon == nullptr); ++turn) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        PumpMessages();
        if (target.repaints > 0) {
            exeIcon = cache.IconFor(exe);
            folderIcon = cache.IconFor(folder);
        }
    }
    ASSERT_NE(exeIcon, nullptr);
    ASSERT_NE(folderIcon, nullptr);
    EXPECT_EQ(target.repaintThread, ::GetCurrentThreadId());
    EXPECT_EQ(cache.IconFor(exe), exeIcon) << "cached, the same handle";
    EXPECT_TRUE(errors.empty());
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(exeIcon, &info));
    const win32::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
}

} // namespace
} // namespace torvik
