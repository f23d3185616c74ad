#pragma once
#include <map>
#include <string>

#include "common/Text.h"
#include "inventory/ExecutableFacts.h"

namespace torvik::testing {

// Executables described in memory, keyed by path in any letter case.
// Counts the version reads, to show which files a scan opened.
class FakeExecutableFacts : public ExecutableFacts {
public:
    struct Exe {
        std::wstring version = L"debug build:0";
        std::wstring details;
        std::wstring description;
        int64_t size = 0;
        double date = 0;
    };
    std::map<std::wstring, Exe> exes; // lower-cased path
    mutable int versionReads = 0;

    Exe& Add(const std::wstring& path) { return exes[LowerCaseAscii(path)]; }
    const Exe* Find(const std::wstring& path) const {
        const auto it = exes.find(LowerCaseAscii(path));
        return it == exes.end() ? nullptr : &it->second;
    }
    std::wstring Version(const std::wstring& path) const override {
        ++versionReads;
        const Exe* e = Find(path);
        return e ? e->version : L"debug build:0";
    }
    std::wstring Details(const std::wstring& path) const override {
        const Exe* e = Find(path);
        return e ? e->details : L"";
    }
    std::wstring FileDescription(const std::wstring& path) const override {
        const Exe* e = Find(path);
        return e ? e->description : L"";
    }
    int64_t FileSize(const std::wstring& path) const override {
        const Exe* e = Find(path);
        return e ? e->size : 0;
    }
    double FileDateTime(const std::wstring& path) const override {
        const Exe* e = Find(path);
        return e ? e->date : 0;
    }
    FileStamp Stamp(const std::wstring& path) const override {
        return {FileSize(path), FileDateTime(path)};
    }
};

} // namespace torvik::testing
