#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace torvik {

// dwFileVersionMS and dwFileVersionLS of a version resource's fixed file
// information.
struct FixedFileVersion {
    uint32_t ms = 0;
    uint32_t ls = 0;
};

// One file's version resource, read once and queried by sub-block name as
// VerQueryValueW does.
class VersionResource {
public:
    virtual ~VersionResource() = default;
    // The root block ("\\"); nullopt when it is missing.
    virtual std::optional<FixedFileVersion> FixedVersion() const = 0;
    // The entries of "\\VarFileInfo\\Translation" in stored order, each with
    // the language in its low and the code page in its high 16 bits; empty
    // when the table is missing.
    virtual std::vector<uint32_t> Translations() const = 0;
    // The string at a sub-block such as "\\StringFileInfo\\040904b0\\Comments",
    // up to its terminating zero; nullopt when the query fails.
    virtual std::optional<std::wstring> StringValue(const std::wstring& subBlock) const = 0;
};

// Reading version resources (GetFileVersionInfoSizeW, GetFileVersionInfoW).
class VersionInfo {
public:
    virtual ~VersionInfo() = default;
    // nullptr when the file has no version resource or cannot be read (a
    // missing file, a folder, a file that is no executable). Never throws.
    virtual std::unique_ptr<VersionResource> Load(const std::wstring& fileName) const = 0;
};

} // namespace torvik
