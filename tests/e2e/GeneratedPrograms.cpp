#include "GeneratedPrograms.h"

#include <objbase.h>
#include <shlobj.h>

#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "UpdaterProcess.h"

namespace torvik::e2e {
namespace {

std::wstring TempFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, path);
    return path;
}

std::wstring Numbered(const std::wstring& group, int i) {
    wchar_t number[8] = {};
    std::swprintf(number, 8, L"%04d", i);
    return group + L" " + number;
}

bool ReadBytes(const std::wstring& path, std::string& bytes) {
    std::ifstream in(path.c_str(), std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.good() || in.eof();
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

// Replaces every occurrence of from by to (of the same length), both as
// ANSI text and as UTF-16: a shortcut holds its target in both. The number
// of replacements.
int ReplaceAll(std::string& bytes, const std::wstring& from, const std::wstring& to) {
    const auto replaceAll = [&bytes](const std::string& a, const std::string& b) {
        int count = 0;
        for (size_t at = bytes.find(a); at != std::string::npos;
             at = bytes.find(a, at + b.size())) {
            bytes.replace(at, a.size(), b);
            ++count;
        }
        return count;
    };
    const auto ansi = [](const std::wstring& text) {
        return std::string(text.begin(), text.end());
    };
    const auto utf16 = [](const std::wstring& text) {
        return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    };
    return replaceAll(ansi(from), ansi(to)) + replaceAll(utf16(from), utf16(to));
}

// Writes shortcuts through one shell link object: making one per shortcut
// costs Wine far more than the shortcut itself.
class ShortcutWriter {
public:
    ShortcutWriter() {
        if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkW, reinterpret_cast<void**>(&link_)))) {
            link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file_));
        }
    }
    ~ShortcutWriter() {
        if (file_ != nullptr) {
            file_->Release();
        }
        if (link_ != nullptr) {
            link_->Release();
        }
    }
    ShortcutWriter(const ShortcutWriter&) = delete;
    ShortcutWriter& operator=(const ShortcutWriter&) = delete;

    bool Write(const std::wstring& lnk, const std::wstring& target) {
        return file_ != nullptr && SUCCEEDED(link_->SetPath(target.c_str())) &&
               SUCCEEDED(file_->Save(lnk.c_str(), TRUE));
    }

private:
    IShellLinkW* link_ = nullptr;
    IPersistFile* file_ = nullptr;
};

} // namespace

GeneratedPrograms::GeneratedPrograms(const std::wstring& group, const std::wstring& fixture,
                                     int count)
    : group_(group), menu_(StartMenuPrograms() + L"\\" + group), folder_(TempFolder() + group),
      count_(count) {
    Remove();
    std::error_code error;
    std::filesystem::create_directories(menu_, error);
    made_ = !error;
    ShortcutWriter shortcuts;
    std::string first;
    for (int i = 0; made_ && i < count; ++i) {
        const std::wstring name = Numbered(group, i);
        const std::wstring exe = folder_ + L"\\" + name + L"\\program.exe";
        const std::wstring lnk = menu_ + L"\\" + name + L".lnk";
        std::filesystem::create_directories(folder_ + L"\\" + name, error);
        made_ = !error && ::CopyFileW(fixture.c_str(), exe.c_str(), FALSE);
        if (!made_) {
            break;
        }
        // The shell writes the first shortcut. Saving one costs Wine some
        // 80 ms, so the others are its bytes with the first program's name
        // replaced: the names are all of one length.
        if (i == 0) {
            made_ = shortcuts.Write(lnk, exe) && ReadBytes(lnk, first);
            continue;
        }
        std::string bytes = first;
        const int replaced = ReplaceAll(bytes, Numbered(group, 0), name);
        made_ = replaced > 0 ? WriteBytes(lnk, bytes) : shortcuts.Write(lnk, exe);
    }
}

GeneratedPrograms::~GeneratedPrograms() {
    Remove();
}

bool GeneratedPrograms::IsOurs(const std::wstring& programName) const {
    return programName.size() == group_.size() + 5 && programName.rfind(group_ + L" ", 0) == 0;
}

void GeneratedPrograms::Remove() const {
    std::error_code ignored;
    std::filesystem::remove_all(menu_, ignored);
    std::filesystem::remove_all(folder_, ignored);
}

} // namespace torvik::e2e
