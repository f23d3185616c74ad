#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "server/ProgramLines.h"
#include "server/Storage.h"

namespace torvik::server {

// A version newer than the asking installation's, and how many other
// installations reported it.
struct CommunityVersion {
    std::string versionX;
    int installations = 0;
};

// The version check: matches an inventory against the catalogue, answers
// in the reply's sections and records what the installation reported.
//
// The catalogue and every installation's last reports are held in memory,
// loaded from the storage and kept in step with what this object writes; a
// change made through another connection (an import, another instance) is
// noticed by the storage's data version and reloads the view. Safe to call
// from several threads.
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

    // For the pages: the catalogue in name order, and the versions newer
    // than the catalogue's that installations reported.
    std::vector<CatalogueEntry> Catalogue();
    struct Reported {
        std::string programName, exeFilename, versionX;
        int installations = 0;
    };
    std::vector<Reported> NewerThanCatalogue();

private:
    struct Known {
        CatalogueEntry entry;
        std::array<uint32_t, 4> latest{};
        // The entry's reply fields, the same in every reply: made once.
        std::string latestText, latestX, productUrlField, commentsField;
    };
    struct Stored {
        std::string versionX, exePath, exeDate;
        int64_t exeSize = 0;
    };
    // The changes one check makes, worked out under the shared lock.
    struct Changes {
        std::vector<Report> reports;
        std::vector<DetailsRow> details;
        std::vector<Submission> submissions;
        bool Empty() const { return reports.empty() && details.empty() && submissions.empty(); }
    };

    void ReloadIfChanged();
    void LoadView();
    void Apply(const Changes& changes);
    std::vector<CommunityVersion> NewerReports(const std::string& key, const std::string& versionX,
                                               const std::string& installation) const;

    Storage& storage_;
    std::shared_mutex mutex_;
    int64_t dataVersion_ = -1;
    std::unordered_map<std::string, Known> catalogue_; // key: name key, "\n", exe key
    // installation -> program key -> its last report
    std::unordered_map<std::string, std::unordered_map<std::string, Stored>> reports_;
    // program key -> versionX -> installations whose last report has it
    std::unordered_map<std::string, std::map<std::string, int>> versionCounts_;
    std::unordered_set<std::string> details_;     // exe key, "\n", versionX
    std::unordered_set<std::string> submissions_; // installation, key, versionX
    std::unordered_map<std::string, int64_t> points_;
};

// The key of a program: its name and executable file name, lower-cased.
std::string ProgramKey(const std::string& programName, const std::string& exeFilename);

} // namespace torvik::server
