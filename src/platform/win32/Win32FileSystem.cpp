#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>

#include "common/PathUtils.h"
#include "platform/win32/UniqueHandle.h"

namespace torvik::win32 {
namespace {

FindData ToFindData(const WIN32_FIND_DATAW& w) {
    FindData d;
    d.name = w.cFileName;
    d.shortName = w.cAlternateFileName;
    d.attributes = w.dwFileAttributes;
    d.size = (static_cast<uint64_t>(w.nFileSizeHigh) << 32) | w.nFileSizeLow;
    d.lastWriteTime = (static_cast<uint64_t>(w.ftLastWriteTime.dwHighDateTime) << 32) |
                      w.ftLastWriteTime.dwLowDateTime;
    return d;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

} // namespace

bool Win32FileSystem::FileExists(const std::wstring& path) const {
    const DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::DirectoryExists(const std::wstring& path) const {
    const DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::ForceDirectories(const std::wstring& path) {
    const std::wstring dir = RemoveTrailingBackslash(path);
    if (dir.empty() || DirectoryExists(dir)) {
        return !dir.empty();
    }
    const std::wstring parent = RemoveTrailingBackslash(ExtractFilePath(dir));
    if (!parent.empty() && parent != dir && parent.back() != L':' && !DirectoryExists(parent)) {
        ForceDirectories(parent);
    }
    ::CreateDirectoryW(dir.c_str(), nullptr);
    return DirectoryExists(dir);
}

std::vector<FindData> Win32FileSystem::FindFiles(const std::wstring& folder,
                                                 const std::wstring& mask) const {
    std::vector<FindData> out;
    WIN32_FIND_DATAW w{};
    UniqueFindHandle find(::FindFirstFileW(MakeFn(folder, mask).c_str(), &w));
    if (!find) {
        return out;
    }
    do {
        const std::wstring name = w.cFileName;
        if (name != L"." && name != L"..") {
            out.push_back(ToFindData(w));
        }
    } while (::FindNextFileW(find.get(), &w));
    return out;
}

std::optional<FindData> Win32FileSystem::FindEntry(const std::wstring& path) const {
    WIN32_FIND_DATAW w{};
    UniqueFindHandle find(::FindFirstFileW(path.c_str(), &w));
    if (!find) {
        return std::nullopt;
    }
    return ToFindData(w);
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::wstring& path) const {
    return ReadFileRange(path, 0, static_cast<size_t>(0x7FFFFFFF));
}

std::optional<std::string> Win32FileSystem::ReadFileRange(const std::wstring& path, uint64_t offset,
                                                          size_t count) const {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) {
        return std::nullopt;
    }
    const uint64_t fileSize = static_cast<uint64_t>(size.QuadPart);
    if (offset >= fileSize) {
        return std::string();
    }
    LARGE_INTEGER start{};
    start.QuadPart = static_cast<LONGLONG>(offset);
    if (!::SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN)) {
        return std::nullopt;
    }
    std::string bytes(static_cast<size_t>(std::min<uint64_t>(count, fileSize - offset)), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        if (!::ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr)) {
            return std::nullopt;
        }
        if (read == 0) {
            break;
        }
        done += read;
    }
    bytes.resize(done);
    return bytes;
}

bool Win32FileSystem::WriteFileAtomic(const std::wstring& path, const std::string& bytes) {
    const std::wstring temp = path + L".tmp";
    {
        UniqueFileHandle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return false;
        }
        if (!WriteAll(file.get(), bytes) || !::FlushFileBuffers(file.get())) {
            file.reset();
            ::DeleteFileW(temp.c_str());
            return false;
        }
    }
    if (!::MoveFileExW(temp.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

bool Win32FileSystem::AppendToFile(const std::wstring& path, const std::string& bytes) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.get(), bytes);
}

bool Win32FileSystem::CopyOneFile(const std::wstring& from, const std::wstring& to) {
    return ::CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
}

bool Win32FileSystem::RemoveFile(const std::wstring& path) {
    return ::DeleteFileW(path.c_str()) != 0;
}

bool Win32FileSystem::MoveOneFile(const std::wstring& from, const std::wstring& to) {
    return ::MoveFileW(from.c_str(), to.c_str()) != 0;
}

bool Win32FileSystem::ChangeCurrentDirectory(const std::wstring& path) {
    return ::SetCurrentDirectoryW(path.c_str()) != 0;
}

} // namespace torvik::win32
