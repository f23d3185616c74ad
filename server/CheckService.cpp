#include "server/CheckService.h"

#include <algorithm>

#include "server/ReplyText.h"

namespace torvik::server {
namespace {

std::string DetailsKey(const std::string& exeFilename, const std::string& versionX) {
    return KeyOf(exeFilename) + "\n" + versionX;
}

std::string SubmissionKey(const std::string& installation, const std::string& key,
                          const std::string& versionX) {
    return installation + "\n" + key + "\n" + versionX;
}

} // namespace

std::string ProgramKey(const std::string& programName, const std::string& exeFilename) {
    return KeyOf(programName) + "\n" + KeyOf(exeFilename);
}

CheckService::CheckService(Storage& storage) : storage_(storage) {
    std::unique_lock lock(mutex_);
    dataVersion_ = storage_.DataVersion();
    LoadView();
}

void CheckService::LoadView() {
    catalogue_.clear();
    reports_.clear();
    versionCounts_.clear();
    details_.clear();
    submissions_.clear();
    points_.clear();
    for (auto& entry : storage_.LoadCatalogue()) {
        Known known;
        if (!ParseDottedVersion(entry.latestVersion, known.latest)) {
            continue;
        }
        const std::string key = ProgramKey(entry.programName, entry.exeFilename);
        known.latestText = FormatVersionText(known.latest);
        known.latestX = FormatVersionX(known.latest);
        known.productUrlField = ReplyField(entry.productUrl);
        known.commentsField = ReplyField(entry.comments);
        known.entry = std::move(entry);
        catalogue_[key] = std::move(known);
    }
    for (const auto& r : storage_.LoadReports()) {
        const std::string key = ProgramKey(r.programName, r.exeFilename);
        reports_[r.installation][key] = {r.versionX, r.exePath, r.exeDate, r.exeSize};
        ++versionCounts_[key][r.versionX];
    }
    for (const auto& s : storage_.LoadSubmissions()) {
        if (submissions_
                .insert(SubmissionKey(s.installation, ProgramKey(s.programName, s.exeFilename),
                                      s.versionX))
                .second) {
            ++points_[s.installation];
        }
    }
}

void CheckService::ReloadIfChanged() {
    const int64_t version = storage_.DataVersion();
    {
        std::shared_lock lock(mutex_);
        if (version == dataVersion_) {
            return;
        }
    }
    std::unique_lock lock(mutex_);
    if (version != dataVersion_) {
        LoadView();
        dataVersion_ = version;
    }
}

std::vector<CommunityVersion> CheckService::NewerReports(const std::string& key,
                                                         const std::string& versionX,
                                                         const std::string& installation) const {
    std::vector<CommunityVersion> newer;
    const auto counts = versionCounts_.find(key);
    if (counts == versionCounts_.end()) {
        return newer;
    }
    // The asking installation's own earlier report is not another user's.
    std::string own;
    if (const auto mine = reports_.find(installation); mine != reports_.end()) {
        if (const auto report = mine->second.find(key); report != mine->second.end()) {
            own = report->second.versionX;
        }
    }
    for (auto it = counts->second.upper_bound(versionX); it != counts->second.end(); ++it) {
        const int others = it->second - (it->first == own ? 1 : 0);
        if (others > 0) {
            newer.push_back({it->first, others});
        }
    }
    return newer;
}

std::string CheckService::Check(const std::string& installation,
                                const std::vector<ProgramLine>& programs) {
    ReloadIfChanged();
    ReplyText results, community;
    Changes changes;
    int64_t points = 0;
    {
        std::shared_lock lock(mutex_);
        const auto mine = reports_.find(installation);
        std::unordered_set<std::string> submittedNow;
        for (const ProgramLine& p : programs) {
            const std::string key = ProgramKey(p.programName, p.exeFilename);
            const std::string versionX = p.VersionX();
            if (p.HasVersion()) {
                const Stored* stored = nullptr;
                if (mine != reports_.end()) {
                    const auto it = mine->second.find(key);
                    stored = it == mine->second.end() ? nullptr : &it->second;
                }
                if (stored == nullptr || stored->versionX != versionX ||
                    stored->exePath != p.exePath || stored->exeDate != p.exeDate ||
                    stored->exeSize != p.exeSize) {
                    changes.reports.push_back({installation, p.programName, p.exeFilename, versionX,
                                               p.exePath, p.exeDate, p.exeSize});
                }
                if (!p.details.empty() && !details_.count(DetailsKey(p.exeFilename, versionX))) {
                    changes.details.push_back({p.exeFilename, versionX, p.details});
                }
            }
            const auto known = catalogue_.find(key);
            // Names are echoed as sent; one that would read as an error
            // marker gets no line (the client then shows it as unknown).
            if (known == catalogue_.end() || HoldsErrorMarker(p.programName) ||
                HoldsErrorMarker(p.exeFilename)) {
                continue;
            }
            const Known& k = known->second;
            int status = p.version < k.latest ? 1 : p.version == k.latest ? 2 : 3;
            if (status == 3 && p.HasVersion()) {
                const std::string submission = SubmissionKey(installation, key, versionX);
                if (!submissions_.count(submission) && submittedNow.insert(submission).second) {
                    changes.submissions.push_back(
                        {installation, p.programName, p.exeFilename, versionX});
                }
            }
            results.Record({p.programName, p.exeFilename, k.latestText, k.latestX,
                            k.productUrlField, k.commentsField, std::to_string(status),
                            k.entry.hasIcon ? "0" : "1"});
            if (p.HasVersion()) {
                for (const auto& newer : NewerReports(key, versionX, installation)) {
                    community.Record({p.programName, p.exeFilename, newer.versionX,
                                      std::to_string(newer.installations)});
                }
            }
        }
        const auto own = points_.find(installation);
        points = (own == points_.end() ? 0 : own->second) +
                 static_cast<int64_t>(changes.submissions.size());
    }
    if (!changes.Empty()) {
        storage_.SaveCheck(changes.reports, changes.details, changes.submissions);
        Apply(changes);
    }
    ReplyText reply;
    reply.Section("recheck_str");
    reply.Line(kRecheckText);
    reply.Section("results");
    std::string text = reply.Text() + results.Text();
    ReplyText tail;
    tail.Section("community_results");
    text += tail.Text() + community.Text();
    ReplyText total;
    total.Section("total_points");
    total.Line(std::to_string(points));
    return text + total.Text();
}

void CheckService::Apply(const Changes& changes) {
    std::unique_lock lock(mutex_);
    for (const Report& r : changes.reports) {
        const std::string key = ProgramKey(r.programName, r.exeFilename);
        Stored& stored = reports_[r.installation][key];
        auto& counts = versionCounts_[key];
        if (!stored.versionX.empty() && --counts[stored.versionX] <= 0) {
            counts.erase(stored.versionX);
        }
        stored = {r.versionX, r.exePath, r.exeDate, r.exeSize};
        ++counts[r.versionX];
    }
    for (const DetailsRow& d : changes.details) {
        details_.insert(DetailsKey(d.exeFilename, d.versionX));
    }
    for (const Submission& s : changes.submissions) {
        if (submissions_
                .insert(SubmissionKey(s.installation, ProgramKey(s.programName, s.exeFilename),
                                      s.versionX))
                .second) {
            ++points_[s.installation];
        }
    }
}

std::vector<CatalogueEntry> CheckService::Catalogue() {
    ReloadIfChanged();
    std::vector<CatalogueEntry> entries;
    {
        std::shared_lock lock(mutex_);
        for (const auto& [key, known] : catalogue_) {
            entries.push_back(known.entry);
        }
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return KeyOf(a.programName) < KeyOf(b.programName);
    });
    return entries;
}

std::vector<CheckService::Reported> CheckService::NewerThanCatalogue() {
    ReloadIfChanged();
    std::vector<Reported> reported;
    std::shared_lock lock(mutex_);
    for (const auto& [key, known] : catalogue_) {
        const auto counts = versionCounts_.find(key);
        if (counts == versionCounts_.end()) {
            continue;
        }
        for (auto it = counts->second.upper_bound(FormatVersionX(known.latest));
             it != counts->second.end(); ++it) {
            reported.push_back(
                {known.entry.programName, known.entry.exeFilename, it->first, it->second});
        }
    }
    std::sort(reported.begin(), reported.end(), [](const auto& a, const auto& b) {
        return KeyOf(a.programName) < KeyOf(b.programName);
    });
    return reported;
}

} // namespace torvik::server
