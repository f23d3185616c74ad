#pragma once
#include <cstdint>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "server/PackedVersion.h"
#include "server/ProgramIds.h"
#include "server/ProgramLines.h"
#include "server/ReplyText.h"
#include "server/ReportView.h"
#include "server/Storage.h"

namespace torvik::server {

// The version check: matches an inventory against the catalogue, answers
// in the reply's sections and records what the installation reported.
//
// The catalogue and what checks need of every installation's last reports
// are held in memory (ReportView: numbers, not texts), loaded from the
// storage and kept in step with what this object writes; a change made
// through another connection (an import, another instance) is noticed by
// the storage's data version and reloads the view. Safe to call from
// several threads.
class CheckService {
public:
    // The text shown for programs the service does not know.
    static constexpr const char* kRecheckText = "Not in the database yet";

    explicit CheckService(Storage& storage);

    // The reply to one check of installation (sections "recheck_str",
    // "results", "community_results", "total_points"). What is new or
    // changed is recorded first; throws StorageError when it cannot be
    // (nothing is recorded then, and no reply given).
    std::string Check(const std::string& installation, const std::vector<ProgramLine>& programs);

    // An uploaded icon (valid PNG bytes) for a program of the catalogue,
    // kept unless the program has an icon already; from then on checks
    // stop asking for it. Throws StorageError when it cannot be written.
    enum class IconOutcome { Kept, HadOne, NotInCatalogue };
    IconOutcome SaveIcon(const std::string& programName, const std::string& exeFilename,
                         const std::string& png);

    // For the pages: the catalogue in name order, and the versions newer
    // than the catalogue's that installations reported.
    std::vector<CatalogueEntry> Catalogue();
    struct Reported {
        std::string programName, exeFilename, versionX;
        int installations = 0;
    };
    std::vector<Reported> NewerThanCatalogue();

    // What the view knows of one program: its catalogue entry, the
    // versions installations last reported above the catalogue's (every
    // version for a program the catalogue lacks), highest first, without
    // the report of the installation except (it is no other user), and how
    // many installations reported the program.
    struct ProgramView {
        std::optional<CatalogueEntry> entry;
        std::vector<VersionCount> newer;
        int installations = 0;
    };
    ProgramView Program(const std::string& programName, const std::string& exeFilename,
                        const std::string& except = "");
    // The catalogue's entries for an executable file name (letter case
    // ignored), in key order.
    std::vector<CatalogueEntry> EntriesFor(const std::string& exeFilename);
    // An entry this process wrote to the catalogue: checks answer with it
    // from now on. (The storage's data version does not move for our own
    // writes.)
    void CatalogueChanged(const CatalogueEntry& entry);

private:
    struct Known {
        CatalogueEntry entry;
        PackedVersion latest = 0;
        // The entry's reply fields, the same in every reply: made once.
        std::string latestText, latestX, productUrlField, commentsField;
        // Whether its names may be echoed: they match the asking line's
        // names but for ASCII letter case, which error markers ignore.
        bool echoable = true;
    };
    // The changes one check makes, worked out under the shared lock: rows
    // for the storage, and what the view takes of them once written.
    struct Changes {
        std::vector<Report> reports;
        std::vector<DetailsRow> details;
        std::vector<Submission> submissions;
        // Beside reports and submissions: their programs' ids when the view
        // knew them (as of generation), their packed versions and the
        // reports' fingerprints.
        std::vector<std::optional<ProgramId>> reportIds, submissionIds;
        std::vector<HeldReport> held;
        std::vector<PackedVersion> submitted;
        uint64_t generation = 0;
        bool Empty() const { return reports.empty() && details.empty() && submissions.empty(); }
    };

    void ReloadIfChanged();
    void LoadView();
    // Puts an entry with a readable version into the view; the caller
    // holds the unique lock.
    void PutEntry(CatalogueEntry entry);
    void Apply(const std::string& installation, const Changes& changes);
    ProgramId IdFor(std::optional<ProgramId> id, uint64_t generation, std::string_view programName,
                    std::string_view exeFilename);
    // Appends the community lines of one program: the versions above the
    // asking one that other installations last reported.
    void AppendNewer(ReplyText& community, const ProgramLine& p, ProgramId program,
                     PackedVersion version, const HeldReport* own) const;

    Storage& storage_;
    std::shared_mutex mutex_;
    int64_t dataVersion_ = -1;
    uint64_t generation_ = 0; // counts the reloads: ids of an older view are void
    ProgramIds ids_;
    std::unordered_map<ProgramId, Known> catalogue_;
    ReportView view_;
    std::unordered_set<std::string> details_; // exe key, "\n", versionX
};

} // namespace torvik::server
