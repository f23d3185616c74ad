#pragma once
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "server/CheckService.h"
#include "server/Storage.h"

namespace torvik::server {

// The community around one program: its details (notes, links, newer
// versions, popularity), users' notes and proposed URLs, the search for a
// program the user added by hand, and the moderators' decisions. Reads the
// catalogue and the reports through the check's in-memory view and keeps
// that view in step with the catalogue changes it makes. Safe to call from
// several threads.
class CommunityService {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;
    // Notes shown per program, the newest.
    static constexpr size_t kNotesShown = 50;

    CommunityService(Storage& storage, CheckService& checks,
                     Clock clock = std::chrono::system_clock::now);

    struct Details {
        // The catalogue's spelling, else the newest note's, else as asked.
        std::string programName, exeFilename;
        std::optional<CatalogueEntry> entry;
        std::vector<Note> notes;         // newest first
        std::vector<VersionCount> newer; // see CheckService::Program
        int installations = 0;
        // Whether the service knows anything of the program.
        bool Known() const { return entry || !notes.empty() || installations > 0; }
    };
    // The details of a program, as the installation asking sees them (its
    // own report is not among the newer versions). Throws StorageError.
    Details ProgramDetails(const std::string& programName, const std::string& exeFilename,
                           const std::string& installation = "");

    // One post of a user. Texts are kept trimmed; the note is stored when the
    // comment is not blank, the URL submission when a URL is not blank.
    struct Post {
        std::string installation, alias, programName, exeFilename, comment, tags, productUrl,
            downloadUrl;
    };
    // False when there was nothing to store. Throws StorageError (nothing
    // is stored then).
    bool Contribute(const Post& post);

    // The name the service knows for an executable file name (letter case
    // ignored): of the catalogue's programs with that file name the best
    // match of the executable's details (ProductName equal to the program's
    // name scores 4, FileDescription 2, the last folder of exePath 1; ties go
    // to the most reported, then to name order); failing that, the name
    // installations reported most with that file name. Names a reply cannot
    // carry (error markers, a leading "[") are passed over. Nothing when no
    // name fits.
    std::optional<std::string> FindProgramName(const std::string& exeFilename,
                                               const std::string& exePath,
                                               const std::string& details);

    // Moderation by the account linked to installation, which must be a
    // moderator's. Throws StorageError (nothing is changed then).
    enum class Moderated { Done, NotModerator, NothingPending, NotInCatalogue };
    // The highest pending version submission becomes the catalogue's
    // latest version. A program the catalogue lacks (checks record no
    // submissions for it) is added with the highest version installations
    // reported.
    Moderated ApproveVersion(const std::string& installation, const std::string& programName,
                             const std::string& exeFilename);
    // The newest pending URL submission's URLs (those not blank) become the
    // catalogue entry's; older pending ones are superseded.
    Moderated ApproveUrls(const std::string& installation, const std::string& programName,
                          const std::string& exeFilename);
    // Takes the program's pending submissions offline: version submissions
    // above the catalogue's version and URL submissions are rejected, so
    // that no approval takes them. Done also when none was pending.
    Moderated Reject(const std::string& installation, const std::string& programName,
                     const std::string& exeFilename);

private:
    bool IsModerator(const std::string& installation) const;
    // The catalogue's latest version of a view's entry, padded; "" without
    // one.
    static std::string LatestX(const CheckService::ProgramView& view);

    Storage& storage_;
    CheckService& checks_;
    Clock clock_;
};

// "yyyy-mm-dd hh:nn:ss" of a time, UTC.
std::string UtcText(std::chrono::system_clock::time_point time);
// A newer version's line: "2 users have 2.0.0 build:0", "1 user has ...".
std::string NewerVersionText(const VersionCount& count);
// "3 users", "1 user".
std::string PopularityText(int installations);
// A note's heading: alias ("anonymous" when empty), ", ", the date to the
// minute, and ", tags: " and the tags when there are some.
std::string NoteHeading(const Note& note);

} // namespace torvik::server
