#include "platform/win32/Win32ShellLinks.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "common/Error.h"
#include "platform/win32/Com.h"

namespace torvik::win32 {
namespace {

constexpr int kInstallStateLocal = 3; // INSTALLSTATE_LOCAL
constexpr size_t kGuidChars = 39;     // "{...}" and the terminating zero
constexpr DWORD kStgmShareDenyNone = 0x40;

// What a thread keeps for its shortcuts: COM, and the shell-link class
// factory, looked up once (CoCreateInstance would look it up for every
// shortcut of a scan). One object, so that the factory is released before
// COM goes, whatever order the runtime ends thread-local objects in.
struct ThreadShellLinks {
    ComApartment apartment;
    ComPtr<IClassFactory> factory;
};

ComPtr<IShellLinkW> NewShellLink() {
    thread_local ThreadShellLinks thread;
    if (!thread.factory &&
        FAILED(::CoGetClassObject(CLSID_ShellLink, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                  reinterpret_cast<void**>(thread.factory.put())))) {
        return {};
    }
    ComPtr<IShellLinkW> link;
    thread.factory->CreateInstance(nullptr, IID_IShellLinkW, reinterpret_cast<void**>(link.put()));
    return link;
}

struct LoadedLink {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
};

// A loaded shortcut; link is empty when any step failed.
LoadedLink LoadLink(const std::wstring& linkFile, DWORD mode) {
    LoadedLink loaded;
    loaded.link = NewShellLink();
    if (!loaded.link) {
        return {};
    }
    loaded.file = loaded.link.As<IPersistFile>(IID_IPersistFile);
    if (!loaded.file || FAILED(loaded.file->Load(linkFile.c_str(), mode))) {
        return {};
    }
    return loaded;
}

std::wstring UpToNul(const wchar_t* buffer) {
    return std::wstring(buffer);
}

// The shell-link data of an advertised shortcut.
struct LinkInfo {
    std::wstring target;
    std::wstring arguments;
    std::wstring workingDirectory;
    WIN32_FIND_DATAW targetEntry{};
};

// Reads what the shortcut stores; a part that cannot be read stays empty.
LinkInfo GetLinkInfo(const std::wstring& linkFile) {
    LinkInfo info;
    LoadedLink loaded = LoadLink(linkFile, STGM_READ);
    if (!loaded.link) {
        return info;
    }
    wchar_t path[MAX_PATH + 1] = {};
    wchar_t workingDir[MAX_PATH + 1] = {};
    wchar_t arguments[MAX_PATH + 1] = {};
    loaded.link->GetPath(path, MAX_PATH + 1, &info.targetEntry, SLGP_UNCPRIORITY);
    loaded.link->GetWorkingDirectory(workingDir, MAX_PATH + 1);
    loaded.link->GetArguments(arguments, MAX_PATH + 1);
    info.target = UpToNul(path);
    info.workingDirectory = UpToNul(workingDir);
    info.arguments = UpToNul(arguments);
    return info;
}

} // namespace

Win32ShellLinks::Win32ShellLinks() {
    // LoadLibraryW takes msi.dll as it is when it is already loaded.
    msi_.reset(::LoadLibraryW(L"msi.dll"));
    if (msi_) {
        getShortcutTarget_ = reinterpret_cast<GetShortcutTargetFn>(
            reinterpret_cast<void*>(::GetProcAddress(msi_.get(), "MsiGetShortcutTargetW")));
        getComponentPath_ = reinterpret_cast<GetComponentPathFn>(
            reinterpret_cast<void*>(::GetProcAddress(msi_.get(), "MsiGetComponentPathW")));
        if (getShortcutTarget_ == nullptr || getComponentPath_ == nullptr) {
            getShortcutTarget_ = nullptr;
            getComponentPath_ = nullptr;
            msi_.reset();
        }
    }
}

ShellLinkData Win32ShellLinks::Read(const std::wstring& linkFile) const {
    LoadedLink loaded = LoadLink(linkFile, kStgmShareDenyNone);
    if (!loaded.link) {
        throw TorvikError(L"Cannot load the shortcut " + linkFile);
    }
    ShellLinkData data;
    wchar_t buffer[MAX_PATH + 1] = {};
    if (FAILED(loaded.link->GetPath(buffer, MAX_PATH + 1, nullptr, SLGP_UNCPRIORITY))) {
        throw TorvikError(L"Cannot read the target of the shortcut " + linkFile);
    }
    data.path = UpToNul(buffer);
    // Arguments may be longer than a path; INFOTIPSIZE is the shell's limit.
    wchar_t arguments[INFOTIPSIZE + 1] = {};
    if (FAILED(loaded.link->GetArguments(arguments, INFOTIPSIZE + 1))) {
        throw TorvikError(L"Cannot read the arguments of the shortcut " + linkFile);
    }
    data.arguments = UpToNul(arguments);
    return data;
}

void Win32ShellLinks::GetExecData(const std::wstring& linkFile, std::wstring& target,
                                  std::wstring& workingFolder, std::wstring& arguments) const {
    LinkInfo info = GetLinkInfo(linkFile);
    target = std::move(info.target);
    workingFolder = std::move(info.workingDirectory);
    arguments = std::move(info.arguments);
    wchar_t product[kGuidChars] = {};
    wchar_t feature[kGuidChars] = {};
    wchar_t component[kGuidChars] = {};
    if (getShortcutTarget_(linkFile.c_str(), product, feature, component) == ERROR_SUCCESS) {
        wchar_t path[MAX_PATH + 1] = {};
        DWORD size = MAX_PATH + 1;
        if (getComponentPath_(product, component, path, &size) == kInstallStateLocal) {
            target = UpToNul(path);
        }
    }
}

std::wstring Win32ShellLinks::ResolveMSILink(const std::wstring& linkFile) const {
    if (!msi_) {
        throw TorvikError(L"Windows Installer is not available to resolve " + linkFile);
    }
    std::wstring target, workingFolder, arguments;
    GetExecData(linkFile, target, workingFolder, arguments);
    return target;
}

bool Win32ShellLinks::Create(const std::wstring& linkFile, const ShellLinkData& data) const {
    ComPtr<IShellLinkW> link = NewShellLink();
    if (!link) {
        return false;
    }
    if (FAILED(link->SetPath(data.path.c_str())) ||
        FAILED(link->SetArguments(data.arguments.c_str())) ||
        FAILED(link->SetWorkingDirectory(data.workingDirectory.c_str()))) {
        return false;
    }
    ComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
    return file && SUCCEEDED(file->Save(linkFile.c_str(), TRUE));
}

std::wstring WindowsDirectory() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT n = ::GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    if (n == 0 || n > MAX_PATH) {
        return {};
    }
    std::wstring dir(buffer, n);
    if (!dir.empty() && dir.back() == L'\\') {
        dir.pop_back();
    }
    return dir;
}

} // namespace torvik::win32
