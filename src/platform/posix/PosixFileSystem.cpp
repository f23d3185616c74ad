#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/Utf8.h"
#include "platform/Wildcard.h"

namespace torvik {
namespace {

// Seconds between 1601-01-01 and 1970-01-01.
constexpr uint64_t kUnixEpochInFileTime = 11644473600ULL;

std::optional<FindData> Describe(const std::string& native, const std::wstring& name) {
    struct stat st {};
    if (::lstat(native.c_str(), &st) != 0) {
        return std::nullopt;
    }
    FindData d;
    d.name = name;
    bool isDir = S_ISDIR(st.st_mode);
    if (S_ISLNK(st.st_mode)) {
        d.attributes |= kAttrReparsePoint;
        struct stat target {};
        isDir = ::stat(native.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
    }
    if (isDir) {
        d.attributes |= kAttrDirectory;
    } else {
        d.size = static_cast<uint64_t>(st.st_size);
    }
    if ((st.st_mode & S_IWUSR) == 0) {
        d.attributes |= kAttrReadOnly;
    }
    d.lastWriteTime =
        (static_cast<uint64_t>(st.st_mtim.tv_sec) + kUnixEpochInFileTime) * 10000000ULL +
        static_cast<uint64_t>(st.st_mtim.tv_nsec) / 100;
    return d;
}

} // namespace

std::string NativePath(const std::wstring& path) {
    std::wstring p = path;
    for (auto& c : p) {
        if (c == L'\\') {
            c = L'/';
        }
    }
    return StringToUtf8(p);
}

bool PosixFileSystem::FileExists(const std::wstring& path) const {
    struct stat st {};
    return ::stat(NativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool PosixFileSystem::DirectoryExists(const std::wstring& path) const {
    struct stat st {};
    return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::ForceDirectories(const std::wstring& path) {
    std::error_code ec;
    std::filesystem::create_directories(NativePath(path), ec);
    return DirectoryExists(path);
}

std::vector<FindData> PosixFileSystem::FindFiles(const std::wstring& folder,
                                                 const std::wstring& mask) const {
    std::vector<FindData> out;
    std::string base = NativePath(folder);
    if (base.empty()) {
        base = ".";
    }
    DIR* dir = ::opendir(base.c_str());
    if (dir == nullptr) {
        return out;
    }
    while (const dirent* e = ::readdir(dir)) {
        const std::string n = e->d_name;
        if (n == "." || n == "..") {
            continue;
        }
        const std::wstring name = Utf8ToString(n);
        if (!ListingMaskMatch(mask, name)) {
            continue;
        }
        if (auto d = Describe(base + "/" + n, name)) {
            out.push_back(std::move(*d));
        }
    }
    ::closedir(dir);
    return out;
}

std::optional<FindData> PosixFileSystem::FindEntry(const std::wstring& path) const {
    std::wstring trimmed = path;
    while (trimmed.size() > 1 && (trimmed.back() == L'\\' || trimmed.back() == L'/')) {
        trimmed.pop_back();
    }
    const size_t slash = trimmed.find_last_of(L"\\/");
    return Describe(NativePath(trimmed),
                    slash == std::wstring::npos ? trimmed : trimmed.substr(slash + 1));
}

std::optional<std::string> PosixFileSystem::ReadFile(const std::wstring& path) const {
    if (!FileExists(path)) {
        return std::nullopt;
    }
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return ss.str();
}

std::optional<std::string> PosixFileSystem::ReadFileRange(const std::wstring& path, uint64_t offset,
                                                          size_t count) const {
    if (!FileExists(path)) {
        return std::nullopt;
    }
    std::ifstream in(NativePath(path), std::ios::binary | std::ios::ate);
    if (!in) {
        return std::nullopt;
    }
    const std::streamoff end = in.tellg();
    if (end < 0) {
        return std::nullopt;
    }
    const uint64_t fileSize = static_cast<uint64_t>(end);
    if (offset >= fileSize) {
        return std::string();
    }
    std::string bytes(static_cast<size_t>(std::min<uint64_t>(count, fileSize - offset)), '\0');
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
        return std::nullopt;
    }
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

bool PosixFileSystem::WriteFileAtomic(const std::wstring& path, const std::string& bytes) {
    const std::string target = NativePath(path);
    const std::string temp = target + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
            out.close();
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

bool PosixFileSystem::AppendToFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::app);
    return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
}

bool PosixFileSystem::CopyOneFile(const std::wstring& from, const std::wstring& to) {
    std::error_code ec;
    std::filesystem::copy_file(NativePath(from), NativePath(to),
                               std::filesystem::copy_options::overwrite_existing, ec);
    return !ec;
}

bool PosixFileSystem::RemoveFile(const std::wstring& path) {
    return std::remove(NativePath(path).c_str()) == 0;
}

bool PosixFileSystem::MoveOneFile(const std::wstring& from, const std::wstring& to) {
    // rename() would replace an existing target; MoveFileW does not.
    std::error_code ec;
    if (std::filesystem::exists(NativePath(to), ec)) {
        return false;
    }
    return std::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

bool PosixFileSystem::ChangeCurrentDirectory(const std::wstring& path) {
    return ::chdir(NativePath(path).c_str()) == 0;
}

} // namespace torvik
