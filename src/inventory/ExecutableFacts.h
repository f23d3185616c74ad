#pragma once
#include <cstdint>
#include <string>

#include "platform/FileSystem.h"
#include "platform/TimeZone.h"
#include "platform/VersionInfo.h"

namespace torvik {

// Size and last-write time of a file, from one directory entry.
struct FileStamp {
    int64_t size = 0;
    double date = 0; // local, days since 1899-12-30; 0 when unknown
};

// What the inventory reads of an executable file: its version resource and
// its directory entry. None of these throws; a missing or unreadable file
// gives "debug build:0", empty texts, size 0 and date 0.
class ExecutableFacts {
public:
    virtual ~ExecutableFacts() = default;
    // The file version as "1.2.3 build:4"; "debug build:0" without one.
    virtual std::wstring Version(const std::wstring& fileName) const = 0;
    // The details text: "[key]" and value lines, each followed by CR LF.
    virtual std::wstring Details(const std::wstring& fileName) const = 0;
    // Version and Details of one file, from one reading of its resource
    // where the platform allows (a new executable needs both).
    struct VersionAndDetails {
        std::wstring version, details;
    };
    virtual VersionAndDetails ReadVersionAndDetails(const std::wstring& fileName) const {
        return {Version(fileName), Details(fileName)};
    }
    // The "FileDescription" string of the version resource.
    virtual std::wstring FileDescription(const std::wstring& fileName) const = 0;
    virtual int64_t FileSize(const std::wstring& fileName) const = 0;
    // Last-write time, local, days since 1899-12-30; 0 when the file is missing.
    virtual double FileDateTime(const std::wstring& fileName) const = 0;
    // FileSize and FileDateTime together, with one look at the directory
    // entry (a scan asks for both of every executable).
    virtual FileStamp Stamp(const std::wstring& fileName) const = 0;
};

// The facts read from the platform: version resources, directory entries
// and the computer's time zone.
class PlatformExecutableFacts : public ExecutableFacts {
public:
    PlatformExecutableFacts(const FileSystem& fs, const VersionInfo& versions, const TimeZone& zone)
        : fs_(fs), versions_(versions), zone_(zone) {}
    std::wstring Version(const std::wstring& fileName) const override;
    std::wstring Details(const std::wstring& fileName) const override;
    VersionAndDetails ReadVersionAndDetails(const std::wstring& fileName) const override;
    std::wstring FileDescription(const std::wstring& fileName) const override;
    int64_t FileSize(const std::wstring& fileName) const override;
    double FileDateTime(const std::wstring& fileName) const override;
    FileStamp Stamp(const std::wstring& fileName) const override;

private:
    const FileSystem& fs_;
    const VersionInfo& versions_;
    const TimeZone& zone_;
};

} // namespace torvik
