#pragma once
#include <cstdint>
#include <string>

namespace torvik {

// Values of TProgramRecord::Status.
namespace ProgramStatus {
constexpr int32_t Missing = -2;     // executable gone when its details were read
constexpr int32_t Excluded = -1;    // on the user's exclusion list; never sent
constexpr int32_t New = 0;          // not compared with the service yet
constexpr int32_t NewerVersion = 1; // the service knows a newer version
constexpr int32_t UpToDate = 2;
constexpr int32_t OwnSubmission = 3; // counted under "My submissions"
constexpr int32_t NotInDatabase = 4; // ServerVersion is "?"
constexpr int32_t NoVersionInfo = 5; // TargetExeVersion is "--"
} // namespace ProgramStatus

// One program of the inventory, keyed by ProgramName and TargetExeFilename
// (both compared lower-cased).
class TProgramRecord {
public:
    std::wstring ProgramName;       // trimmed display name; drivers begin with "Driver: "
    std::wstring TargetExePath;     // folder of the executable, ending in a backslash
    std::wstring TargetExeFilename; // file name of the executable, trimmed
    std::wstring TargetExeVersion;  // "1.2.3 build:4", or "--" without version information
    std::wstring TargetExeVersionX; // "00001.00002.00003.00004": sorts as a plain string
    int32_t TargetExeVersion1 = 0;  // major
    int32_t TargetExeVersion2 = 0;  // minor
    int32_t TargetExeVersion3 = 0;  // release
    int32_t TargetExeVersionB = 0;  // build
    int64_t TargetExeSize = 0;      // bytes
    double TargetExeDateM = 0;      // last write, local time; 0 when unknown
    int32_t Status = ProgramStatus::New;
    std::wstring StatusStr;
    std::wstring ServerVersion;  // latest version known to the service; "?" when unknown
    std::wstring ServerVersionX; // the service's second version text
    std::wstring ReceivedUrl;
    std::wstring ReceivedComments;
    int32_t ReceivedStatus = 0;
    std::wstring ReceivedNotes;    // the "Community status" text
    std::wstring TargetExeDetails; // version-resource details text, from the cached library
    bool FlagSendDetailsToServer = false;
    bool IconNeeded = false;
};

// One resolved shortcut: a candidate for the inventory.
struct TTempRecord {
    std::wstring LinkName; // program name from the shortcut, not yet trimmed
    std::wstring StartMenuPath;
    std::wstring TargetExePath; // ends in a backslash
    std::wstring TargetExeFile;
    std::wstring TargetExeVersion;
};

} // namespace torvik
