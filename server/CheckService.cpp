#include "server/CheckService.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <utility>

namespace torvik::server {
namespace {

constexpr std::string_view kStatusText[] = {"", "1", "2", "3"};
// About what one program's line of a reply takes, so that the reply is
// sized once.
constexpr size_t kReplyBytesPerProgram = 160;

// The details key of an executable and version, written over key.
void MakeDetailsKey(std::string& key, std::string_view exeFilename, PackedVersion version) {
    key.clear();
    AppendKeyOf(key, exeFilename);
    key += '\n';
    AppendVersionX(key, version);
}

std::string_view Decimal(std::array<char, 24>& buffer, int64_t n) {
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), n).ptr;
    return {buffer.data(), static_cast<size_t>(end - buffer.data())};
}

// The pages and the search list programs in name order.
void SortByName(std::vector<CatalogueEntry>& entries) {
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return KeyOf(a.programName) < KeyOf(b.programName);
    });
}

} // namespace

CheckService::CheckService(Storage& storage) : storage_(storage) {
    std::unique_lock lock(mutex_);
    dataVersion_ = storage_.DataVersion();
    LoadView();
}

void CheckService::LoadView() {
    ++generation_;
    ids_ = {};
    catalogue_.clear();
    view_.Clear();
    details_.clear();
    for (auto& entry : storage_.LoadCatalogue()) {
        PutEntry(std::move(entry));
    }
    // Rows come one installation after another: each installation's reports
    // go into the view at once.
    std::string installation;
    std::vector<HeldReport> reports;
    const auto flush = [&] {
        if (!reports.empty()) {
            view_.Put(installation, std::move(reports));
            reports.clear();
        }
    };
    storage_.ForEachReport([&](const Report& r) {
        PackedVersion version = 0;
        // Only this service writes reports; a row it cannot have written
        // is left out, and the installation's next check writes it anew.
        if (!ParseVersionX(r.versionX, version)) {
            return;
        }
        if (r.installation != installation) {
            flush();
            installation = r.installation;
        }
        reports.push_back({ids_.Intern(ProgramKey(r.programName, r.exeFilename)), version,
                           ReportFingerprint(r.exePath, r.exeDate, r.exeSize)});
    });
    flush();
    storage_.ForEachSubmission([&](const Submission& s) {
        PackedVersion version = 0;
        if (ParseVersionX(s.versionX, version)) {
            view_.Submit(s.installation, ids_.Intern(ProgramKey(s.programName, s.exeFilename)),
                         version);
        }
    });
}

void CheckService::PutEntry(CatalogueEntry entry) {
    std::array<uint32_t, 4> latest{};
    if (!ParseDottedVersion(entry.latestVersion, latest)) {
        return;
    }
    Known known;
    known.latest = PackVersion(latest);
    known.latestText = FormatVersionText(latest);
    known.latestX = FormatVersionX(latest);
    known.productUrlField = ReplyField(entry.productUrl);
    known.commentsField = ReplyField(entry.comments);
    known.echoable = !HoldsErrorMarker(entry.programName) && !HoldsErrorMarker(entry.exeFilename);
    const ProgramId id = ids_.Intern(ProgramKey(entry.programName, entry.exeFilename));
    known.entry = std::move(entry);
    catalogue_[id] = std::move(known);
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

void CheckService::AppendNewer(ReplyText& community, const ProgramLine& p, ProgramId program,
                               PackedVersion version, const HeldReport* own) const {
    const auto versions = view_.Versions(program);
    std::string versionX;
    std::array<char, 24> digits{};
    for (auto it = std::upper_bound(
             versions.begin(), versions.end(), version,
             [](PackedVersion v, const VersionCount&count) { return v < count.version; });
         it != versions.end(); ++it) {
        // The asking installation's own earlier report is not another user's.
        const int others = it->installations - (own != nullptr && own->version == it->version);
        if (others > 0) {
            versionX.clear();
            AppendVersionX(versionX, it->version);
            community.Record({p.programName, p.exeFilename, versionX, Decimal(digits, others)});
        }
    }
}

std::string CheckService::Check(const std::string& installation,
                                const std::vector<ProgramLine>& programs) {
    ReloadIfChanged();
    ReplyText reply, community;
    reply.Reserve(kReplyBytesPerProgram * (programs.size() + 1));
    reply.Section("recheck_str");
    reply.Line(kRecheckText);
    reply.Section("results");
    Changes changes;
    size_t points = 0;
    {
        std::shared_lock lock(mutex_);
        changes.generation = generation_;
        const ReportView::Installation* mine = view_.Find(installation);
        std::string key, detailsKey;
        std::set<std::pair<ProgramId, PackedVersion>> submittedNow;
        for (const ProgramLine& p : programs) {
            MakeProgramKey(key, p.programName, p.exeFilename);
            const std::optional<ProgramId> id = ids_.Find(key);
            const PackedVersion version = PackVersion(p.version);
            const HeldReport* own = id && mine != nullptr ? mine->Find(*id) : nullptr;
            if (p.HasVersion()) {
                const uint64_t fingerprint = ReportFingerprint(p.exePath, p.exeDate, p.exeSize);
                if (own == nullptr || own->version != version || own->fingerprint != fingerprint) {
                    changes.reports.push_back({installation, std::string(p.programName),
                                               std::string(p.exeFilename), VersionXOf(version),
                                               std::string(p.exePath), std::string(p.exeDate),
                                               p.exeSize});
                    changes.reportIds.push_back(id);
                    changes.held.push_back({0, version, fingerprint});
                }
                if (!p.details.empty()) {
                    MakeDetailsKey(detailsKey, p.exeFilename, version);
                    if (!details_.contains(detailsKey)) {
                        changes.details.push_back({std::string(p.exeFilename), VersionXOf(version),
                                                   std::string(p.details)});
                    }
                }
            }
            const auto known = id ? catalogue_.find(*id) : catalogue_.end();
            // Names are echoed as sent; one that would read as an error
            // marker, or as a section header (a line that begins with "["
            // ends the program's reading of the section, and every result
            // after it would be lost), gets no line: the client then shows
            // it as unknown.
            if (known == catalogue_.end() || !known->second.echoable ||
                p.programName.starts_with('[')) {
                continue;
            }
            const Known& k = known->second;
            const int status = version < k.latest ? 1 : version == k.latest ? 2 : 3;
            if (status == 3 && p.HasVersion() &&
                (mine == nullptr || !mine->Submitted(*id, version)) &&
                submittedNow.emplace(*id, version).second) {
                changes.submissions.push_back({installation, std::string(p.programName),
                                               std::string(p.exeFilename), VersionXOf(version)});
                changes.submissionIds.push_back(id);
                changes.submitted.push_back(version);
            }
            reply.Record({p.programName, p.exeFilename, k.latestText, k.latestX, k.productUrlField,
                          k.commentsField, kStatusText[status], k.entry.hasIcon ? "0" : "1"});
            if (p.HasVersion()) {
                AppendNewer(community, p, *id, version, own);
            }
        }
        points = (mine == nullptr ? 0 : mine->submissions.size()) + changes.submissions.size();
    }
    if (!changes.Empty()) {
        storage_.SaveCheck(changes.reports, changes.details, changes.submissions);
        Apply(installation, changes);
    }
    reply.Section("community_results");
    reply.Append(community);
    reply.Section("total_points");
    std::array<char, 24> digits{};
    reply.Line(Decimal(digits, static_cast<int64_t>(points)));
    return std::move(reply).Take();
}

ProgramId CheckService::IdFor(std::optional<ProgramId> id, uint64_t generation,
                              std::string_view programName, std::string_view exeFilename) {
    // A reload between the check and its write renumbered the programs.
    return id && generation == generation_ ? *id
                                           : ids_.Intern(ProgramKey(programName, exeFilename));
}

void CheckService::Apply(const std::string& installation, const Changes& changes) {
    std::unique_lock lock(mutex_);
    std::vector<HeldReport> held = changes.held;
    for (size_t i = 0; i < held.size(); ++i) {
        const Report& r = changes.reports[i];
        held[i].program =
            IdFor(changes.reportIds[i], changes.generation, r.programName, r.exeFilename);
    }
    view_.Put(installation, std::move(held));
    std::string key;
    for (const DetailsRow& d : changes.details) {
        key = KeyOf(d.exeFilename) + "\n" + d.versionX;
        details_.insert(key);
    }
    for (size_t i = 0; i < changes.submissions.size(); ++i) {
        const Submission& s = changes.submissions[i];
        view_.Submit(
            installation,
            IdFor(changes.submissionIds[i], changes.generation, s.programName, s.exeFilename),
            changes.submitted[i]);
    }
}

CheckService::IconOutcome CheckService::SaveIcon(const std::string& programName,
                                                 const std::string& exeFilename,
                                                 const std::string& png) {
    ReloadIfChanged();
    const std::string key = ProgramKey(programName, exeFilename);
    {
        std::shared_lock lock(mutex_);
        const std::optional<ProgramId> id = ids_.Find(key);
        const auto known = id ? catalogue_.find(*id) : catalogue_.end();
        if (known == catalogue_.end()) {
            return IconOutcome::NotInCatalogue;
        }
        if (known->second.entry.hasIcon) {
            return IconOutcome::HadOne;
        }
    }
    const bool kept = storage_.SaveIcon(programName, exeFilename, png);
    // Our own write does not move the data version: the view learns of it
    // here. (A reload meanwhile read it from the storage already.)
    std::unique_lock lock(mutex_);
    if (const std::optional<ProgramId> id = ids_.Find(key)) {
        if (const auto known = catalogue_.find(*id); known != catalogue_.end()) {
            known->second.entry.hasIcon = true;
        }
    }
    return kept ? IconOutcome::Kept : IconOutcome::HadOne;
}

std::vector<CatalogueEntry> CheckService::Catalogue() {
    ReloadIfChanged();
    std::vector<CatalogueEntry> entries;
    {
        std::shared_lock lock(mutex_);
        for (const auto& [id, known] : catalogue_) {
            entries.push_back(known.entry);
        }
    }
    SortByName(entries);
    return entries;
}

std::vector<CheckService::Reported> CheckService::NewerThanCatalogue() {
    ReloadIfChanged();
    std::vector<Reported> reported;
    std::shared_lock lock(mutex_);
    for (const auto& [id, known] : catalogue_) {
        for (const VersionCount& count : view_.Versions(id)) {
            if (count.version > known.latest) {
                reported.push_back({known.entry.programName, known.entry.exeFilename,
                                    VersionXOf(count.version), count.installations});
            }
        }
    }
    std::sort(reported.begin(), reported.end(), [](const auto& a, const auto& b) {
        return KeyOf(a.programName) < KeyOf(b.programName);
    });
    return reported;
}

CheckService::ProgramView CheckService::Program(const std::string& programName,
                                                const std::string& exeFilename,
                                                const std::string& except) {
    ReloadIfChanged();
    ProgramView program;
    std::shared_lock lock(mutex_);
    const std::optional<ProgramId> id = ids_.Find(ProgramKey(programName, exeFilename));
    if (!id) {
        return program;
    }
    PackedVersion above = 0;
    bool all = true;
    if (const auto known = catalogue_.find(*id); known != catalogue_.end()) {
        program.entry = known->second.entry;
        above = known->second.latest;
        all = false;
    }
    const ReportView::Installation* excepted = except.empty() ? nullptr : view_.Find(except);
    const HeldReport* own = excepted == nullptr ? nullptr : excepted->Find(*id);
    for (const VersionCount& count : view_.Versions(*id)) {
        program.installations += count.installations;
        const int others = count.installations - (own != nullptr && own->version == count.version);
        if ((all || count.version > above) && others > 0) {
            program.newer.insert(program.newer.begin(), {count.version, others});
        }
    }
    return program;
}

std::vector<CatalogueEntry> CheckService::EntriesFor(const std::string& exeFilename) {
    ReloadIfChanged();
    const std::string exeKey = KeyOf(exeFilename);
    std::vector<CatalogueEntry> entries;
    {
        std::shared_lock lock(mutex_);
        for (const auto& [id, known] : catalogue_) {
            if (KeyOf(known.entry.exeFilename) == exeKey) {
                entries.push_back(known.entry);
            }
        }
    }
    SortByName(entries);
    return entries;
}

void CheckService::CatalogueChanged(const CatalogueEntry& entry) {
    std::unique_lock lock(mutex_);
    PutEntry(entry);
}

} // namespace torvik::server
