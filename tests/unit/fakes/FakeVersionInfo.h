#pragma once
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Text.h"
#include "platform/VersionInfo.h"

namespace torvik::testing {

// The content of one fake version resource. String sub-block names are
// matched ignoring the case of ASCII letters, as VerQueryValueW does.
struct FakeResource {
    std::optional<FixedFileVersion> fixed;
    std::vector<uint32_t> translations;
    std::map<std::wstring, std::wstring> strings; // full sub-block name -> value
};

class FakeVersionInfo : public VersionInfo {
public:
    std::map<std::wstring, FakeResource> files;
    mutable int loads = 0;

    std::unique_ptr<VersionResource> Load(const std::wstring& fileName) const override {
        ++loads;
        const auto it = files.find(fileName);
        if (it == files.end()) {
            return nullptr;
        }
        return std::make_unique<Resource>(it->second);
    }

private:
    class Resource : public VersionResource {
    public:
        explicit Resource(FakeResource data) : data_(std::move(data)) {}
        std::optional<FixedFileVersion> FixedVersion() const override { return data_.fixed; }
        std::vector<uint32_t> Translations() const override { return data_.translations; }
        std::optional<std::wstring> StringValue(const std::wstring& subBlock) const override {
            for (const auto& [name, value] : data_.strings) {
                if (SameTextAscii(name, subBlock)) {
                    return value;
                }
            }
            return std::nullopt;
        }

    private:
        FakeResource data_;
    };
};

// A resource with version 6.1.7601.17514 and the given strings under
// language 0x0409, code page 0x04B0 (the usual US English Unicode table).
inline FakeResource UsEnglishResource(const std::map<std::wstring, std::wstring>& strings) {
    FakeResource r;
    r.fixed = FixedFileVersion{(6u << 16) | 1u, (7601u << 16) | 17514u};
    r.translations = {0x04B00409};
    for (const auto& [key, value] : strings) {
        r.strings[L"\\StringFileInfo\\040904B0\\" + key] = value;
    }
    return r;
}

} // namespace torvik::testing
