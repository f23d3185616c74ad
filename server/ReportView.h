#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "server/PackedVersion.h"
#include "server/ProgramIds.h"

namespace torvik::server {

// What a check needs of an installation's last report of a program. The
// path, date and size beside the version are never shown, only compared to
// know whether the report must be written again, so only their fingerprint
// is kept.
struct HeldReport {
    ProgramId program = 0;
    PackedVersion version = 0;
    uint64_t fingerprint = 0;
};

// The fingerprint of a report's path, date and size (64 bits: a changed
// report keeps the old fingerprint with a chance of about 1 in 2^64, and
// then is not written again until it changes once more).
uint64_t ReportFingerprint(std::string_view exePath, std::string_view exeDate, int64_t exeSize);

// A version of a program and how many installations last reported it.
struct VersionCount {
    PackedVersion version = 0;
    int installations = 0;
    bool operator==(const VersionCount&) const = default;
};

// Every installation's last reports and submissions as the service keeps
// them in memory: numbers only (24 bytes a report, 16 a submission, beside
// the installation's id once), since the service holds every installation
// that ever checked in. Not safe to share between threads without a lock.
class ReportView {
public:
    struct Installation {
        std::vector<HeldReport> reports;                              // in program order
        std::vector<std::pair<ProgramId, PackedVersion>> submissions; // in order

        const HeldReport* Find(ProgramId program) const;
        bool Submitted(ProgramId program, PackedVersion version) const;
    };

    // The installation's data, or null when it never reported.
    const Installation* Find(const std::string& installation) const;
    // The versions installations last reported of a program, in version
    // order.
    std::span<const VersionCount> Versions(ProgramId program) const;

    // Adds or replaces an installation's reports; of several for one
    // program, the last one counts.
    void Put(const std::string& installation, std::vector<HeldReport> reports);
    // False when the installation had submitted that version already.
    bool Submit(const std::string& installation, ProgramId program, PackedVersion version);

    size_t Installations() const { return installations_.size(); }
    void Clear();

private:
    void Count(ProgramId program, PackedVersion version, int change);

    std::unordered_map<std::string, Installation> installations_;
    std::vector<std::vector<VersionCount>> versions_; // by program id
};

} // namespace torvik::server
