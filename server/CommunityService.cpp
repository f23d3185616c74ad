#include "server/CommunityService.h"

#include <algorithm>
#include <ctime>

#include "server/ProgramLines.h"

namespace torvik::server {
namespace {

// The reported names a search weighs, at most.
constexpr size_t kReportedNamesSearched = 100;

std::string Trimmed(const std::string& text) {
    return std::string(Trim(text));
}

// The value of key in an executable's details: the line after "[key]" (the
// client's form), or the rest of a "key=value" line; letter case of the key
// ignored. Empty when absent.
std::string DetailValue(std::string_view details, std::string_view key) {
    const std::string header = "[" + KeyOf(key) + "]", assignment = KeyOf(key) + "=";
    bool next = false;
    while (!details.empty()) {
        const size_t end = std::min(details.find_first_of("\r\n"), details.size());
        const std::string_view line = Trim(details.substr(0, end));
        details.remove_prefix(std::min(details.size(), end + 1));
        if (line.empty()) {
            continue;
        }
        if (next) {
            return std::string(line);
        }
        const std::string lower = KeyOf(line);
        if (lower == header) {
            next = true;
        } else if (lower.rfind(assignment, 0) == 0) {
            return std::string(Trim(line.substr(assignment.size())));
        }
    }
    return {};
}

// The last folder of a path with or without a trailing backslash.
std::string LastFolder(std::string_view path) {
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) {
        path.remove_suffix(1);
    }
    const size_t slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// Whether a reply can carry the name as the client will use it.
bool Carriable(const std::string& name) {
    const std::string_view trimmed = Trim(name);
    return !trimmed.empty() && trimmed.front() != '[' && !HoldsErrorMarker(name);
}

} // namespace

std::string UtcText(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
    return text;
}

std::string NewerVersionText(const VersionCount& count) {
    return std::to_string(count.installations) +
           (count.installations == 1 ? " user has " : " users have ") +
           FormatVersionText(UnpackVersion(count.version));
}

std::string PopularityText(int installations) {
    return std::to_string(installations) + (installations == 1 ? " user" : " users");
}

std::string NoteHeading(const Note& note) {
    std::string heading = note.alias.empty() ? "anonymous" : note.alias;
    // "yyyy-mm-dd hh:nn" of "yyyy-mm-dd hh:nn:ss".
    heading += ", " + note.postedAt.substr(0, 16);
    if (!note.tags.empty()) {
        heading += ", tags: " + note.tags;
    }
    return heading;
}

CommunityService::CommunityService(Storage& storage, CheckService& checks, Clock clock)
    : storage_(storage), checks_(checks), clock_(std::move(clock)) {}

CommunityService::Details CommunityService::ProgramDetails(const std::string& programName,
                                                           const std::string& exeFilename,
                                                           const std::string& installation) {
    CheckService::ProgramView view = checks_.Program(programName, exeFilename, installation);
    Details details{.programName = programName,
                    .exeFilename = exeFilename,
                    .entry = std::move(view.entry),
                    .notes = storage_.LoadNotes(programName, exeFilename, kNotesShown),
                    .newer = std::move(view.newer),
                    .installations = view.installations};
    if (details.entry) {
        details.programName = details.entry->programName;
        details.exeFilename = details.entry->exeFilename;
    } else if (!details.notes.empty()) {
        details.programName = details.notes.front().programName;
        details.exeFilename = details.notes.front().exeFilename;
    }
    return details;
}

bool CommunityService::Contribute(const Post& post) {
    const std::string when = UtcText(clock_());
    std::optional<Note> note;
    std::optional<UrlSubmission> urls;
    if (const std::string comment = Trimmed(post.comment); !comment.empty()) {
        note = Note{.programName = Trimmed(post.programName),
                    .exeFilename = Trimmed(post.exeFilename),
                    .installation = post.installation,
                    .alias = Trimmed(post.alias),
                    .comment = comment,
                    .tags = Trimmed(post.tags),
                    .postedAt = when};
    }
    const std::string product = Trimmed(post.productUrl), download = Trimmed(post.downloadUrl);
    if (!product.empty() || !download.empty()) {
        urls = UrlSubmission{.programName = Trimmed(post.programName),
                             .exeFilename = Trimmed(post.exeFilename),
                             .installation = post.installation,
                             .productUrl = product,
                             .downloadUrl = download,
                             .submittedAt = when};
    }
    if (!note && !urls) {
        return false;
    }
    storage_.SaveContribution(note, urls);
    return true;
}

std::optional<std::string> CommunityService::FindProgramName(const std::string& exeFilename,
                                                             const std::string& exePath,
                                                             const std::string& details) {
    struct Candidate {
        std::string name;
        int score = 0, installations = 0;
    };
    std::vector<Candidate> candidates;
    const std::string product = KeyOf(DetailValue(details, "ProductName")),
                      description = KeyOf(DetailValue(details, "FileDescription")),
                      folder = KeyOf(LastFolder(exePath));
    for (const CatalogueEntry& entry : checks_.EntriesFor(exeFilename)) {
        const std::string key = KeyOf(entry.programName);
        candidates.push_back(
            {entry.programName,
             (key == product ? 4 : 0) + (key == description ? 2 : 0) + (key == folder ? 1 : 0),
             checks_.Program(entry.programName, exeFilename).installations});
    }
    if (candidates.empty()) {
        for (std::string& name : storage_.ReportedNames(exeFilename, kReportedNamesSearched)) {
            const int installations = checks_.Program(name, exeFilename).installations;
            candidates.push_back({std::move(name), 0, installations});
        }
    }
    std::erase_if(candidates, [](const Candidate& c) { return !Carriable(c.name); });
    // Candidates come in name order, which breaks the last ties.
    std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        return std::tie(a.score, a.installations) > std::tie(b.score, b.installations);
    });
    if (candidates.empty()) {
        return std::nullopt;
    }
    return candidates.front().name;
}

bool CommunityService::IsModerator(const std::string& installation) const {
    if (installation.empty()) {
        return false;
    }
    const std::optional<Account> account = storage_.FindAccountOf(installation);
    return account && account->moderator;
}

std::string CommunityService::LatestX(const CheckService::ProgramView& view) {
    std::array<uint32_t, 4> latest{};
    if (!view.entry || !ParseDottedVersion(view.entry->latestVersion, latest)) {
        return "";
    }
    return FormatVersionX(latest);
}

CommunityService::Moderated CommunityService::ApproveVersion(const std::string& installation,
                                                             const std::string& programName,
                                                             const std::string& exeFilename) {
    if (!IsModerator(installation)) {
        return Moderated::NotModerator;
    }
    const CheckService::ProgramView view = checks_.Program(programName, exeFilename);
    CatalogueEntry entry;
    PackedVersion version = 0;
    if (view.entry) {
        const std::optional<Submission> submitted =
            storage_.HighestSubmission(programName, exeFilename, LatestX(view));
        if (!submitted || !ParseVersionX(submitted->versionX, version)) {
            return Moderated::NothingPending;
        }
        entry = *view.entry;
    } else {
        // Checks record submissions only for programs of the catalogue: a new
        // program's candidates are the versions installations report.
        if (view.newer.empty()) {
            return Moderated::NothingPending;
        }
        version = view.newer.front().version;
        entry.programName = programName;
        entry.exeFilename = exeFilename;
    }
    entry.latestVersion = DottedVersionOf(version);
    storage_.ImportCatalogue({entry});
    checks_.CatalogueChanged(entry);
    return Moderated::Done;
}

CommunityService::Moderated CommunityService::ApproveUrls(const std::string& installation,
                                                          const std::string& programName,
                                                          const std::string& exeFilename) {
    if (!IsModerator(installation)) {
        return Moderated::NotModerator;
    }
    std::optional<CatalogueEntry> entry = checks_.Program(programName, exeFilename).entry;
    if (!entry) {
        return Moderated::NotInCatalogue;
    }
    const std::optional<UrlSubmission> urls = storage_.NewestUrls(programName, exeFilename);
    if (!urls) {
        return Moderated::NothingPending;
    }
    if (!urls->productUrl.empty()) {
        entry->productUrl = urls->productUrl;
    }
    if (!urls->downloadUrl.empty()) {
        entry->downloadUrl = urls->downloadUrl;
    }
    storage_.ApproveUrls(*entry, urls->id);
    checks_.CatalogueChanged(*entry);
    return Moderated::Done;
}

CommunityService::Moderated CommunityService::Reject(const std::string& installation,
                                                     const std::string& programName,
                                                     const std::string& exeFilename) {
    if (!IsModerator(installation)) {
        return Moderated::NotModerator;
    }
    storage_.RejectPending(programName, exeFilename,
                           LatestX(checks_.Program(programName, exeFilename)));
    return Moderated::Done;
}

} // namespace torvik::server
