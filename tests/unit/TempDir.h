#pragma once
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/Utf8.h"

namespace torvik::testing {

// A fresh folder under the system's temporary folder, removed with
// everything in it at the end of the test. Paths are handed out in the
// program's form: backslashes, trailing backslash on folders.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "torvik-XXXXXX").string();
        native_ = ::mkdtemp(tmpl.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(native_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder (or a path inside it) with backslashes; folders end in one.
    std::wstring Path(const std::string& relative = "") const {
        std::wstring p = Utf8ToString((native_ / relative).string());
        for (auto& c : p) {
            if (c == L'/') {
                c = L'\\';
            }
        }
        if (relative.empty() || relative.back() == '/') {
            if (p.back() != L'\\') {
                p += L'\\';
            }
        }
        return p;
    }
    std::filesystem::path Native(const std::string& relative = "") const {
        return native_ / relative;
    }
    // Writes a file, creating its folders.
    void Write(const std::string& relative, const std::string& bytes = "x") const {
        const auto path = native_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void MakeDir(const std::string& relative) const {
        std::filesystem::create_directories(native_ / relative);
    }

private:
    std::filesystem::path native_;
};

} // namespace torvik::testing
