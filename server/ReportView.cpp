#include "server/ReportView.h"

#include <algorithm>
#include <functional>

namespace torvik::server {
namespace {

// The last step of splitmix64: spreads every input bit over the output.
uint64_t Mix(uint64_t x) {
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ULL;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

bool ByProgram(const HeldReport& a, const HeldReport& b) {
    return a.program < b.program;
}

} // namespace

uint64_t ReportFingerprint(std::string_view exePath, std::string_view exeDate, int64_t exeSize) {
    const std::hash<std::string_view> hash;
    const uint64_t h = Mix(hash(exePath));
    return Mix(Mix(h ^ hash(exeDate)) ^ static_cast<uint64_t>(exeSize));
}

const HeldReport* ReportView::Installation::Find(ProgramId program) const {
    const auto it =
        std::lower_bound(reports.begin(), reports.end(), HeldReport{program}, ByProgram);
    return it != reports.end() && it->program == program ? &*it : nullptr;
}

bool ReportView::Installation::Submitted(ProgramId program, PackedVersion version) const {
    return std::binary_search(submissions.begin(), submissions.end(), std::pair(program, version));
}

const ReportView::Installation* ReportView::Find(const std::string& installation) const {
    const auto it = installations_.find(installation);
    return it == installations_.end() ? nullptr : &it->second;
}

std::span<const VersionCount> ReportView::Versions(ProgramId program) const {
    if (program >= versions_.size()) {
        return {};
    }
    return versions_[program];
}

void ReportView::Put(const std::string& installation, std::vector<HeldReport> reports) {
    // The last report of each program, in program order.
    std::stable_sort(reports.begin(), reports.end(), ByProgram);
    const auto last =
        std::unique(reports.rbegin(), reports.rend(),
                    [](const auto& a, const auto& b) { return a.program == b.program; });
    reports.erase(reports.begin(), last.base());

    std::vector<HeldReport>& held = installations_[installation].reports;
    std::vector<HeldReport> merged;
    size_t fresh = 0;
    for (const HeldReport& r : reports) {
        if (!std::binary_search(held.begin(), held.end(), r, ByProgram)) {
            ++fresh;
        }
    }
    // Sized exactly: most installations report once and then rarely change.
    merged.reserve(held.size() + fresh);
    auto old = held.begin();
    for (const HeldReport& r : reports) {
        for (; old != held.end() && old->program < r.program; ++old) {
            merged.push_back(*old);
        }
        if (old != held.end() && old->program == r.program) {
            Count(old->program, old->version, -1);
            ++old;
        }
        Count(r.program, r.version, +1);
        merged.push_back(r);
    }
    merged.insert(merged.end(), old, held.end());
    held = std::move(merged);
}

bool ReportView::Submit(const std::string& installation, ProgramId program, PackedVersion version) {
    auto& submissions = installations_[installation].submissions;
    const std::pair submission(program, version);
    const auto at = std::lower_bound(submissions.begin(), submissions.end(), submission);
    if (at != submissions.end() && *at == submission) {
        return false;
    }
    submissions.insert(at, submission);
    return true;
}

void ReportView::Clear() {
    installations_.clear();
    versions_.clear();
}

void ReportView::Count(ProgramId program, PackedVersion version, int change) {
    if (program >= versions_.size()) {
        versions_.resize(program + 1);
    }
    auto& versions = versions_[program];
    const auto at = std::lower_bound(
        versions.begin(), versions.end(), version,
        [](const VersionCount& count, PackedVersion v) { return count.version < v; });
    if (at == versions.end() || at->version != version) {
        if (change > 0) {
            versions.insert(at, {version, change});
        }
    } else if ((at->installations += change) <= 0) {
        versions.erase(at);
    }
}

} // namespace torvik::server
