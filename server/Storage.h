#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace torvik::server {

// Texts are UTF-8. A program is keyed by its lower-cased (ASCII letters
// only) program name and executable file name: name_key and exe_key.

// One program of the catalogue, as the maker or an import file gives it.
struct CatalogueEntry {
    std::string programName;
    std::string exeFilename;
    std::string latestVersion; // "1.2.3.4": one to four decimal numbers joined by "."
    std::string productUrl;
    std::string downloadUrl;
    std::string comments;
    bool hasIcon = false;
};

// One program as one installation reported it in its last check.
struct Report {
    std::string installation; // the anonymous user id of the "header" field
    std::string programName;
    std::string exeFilename;
    std::string versionX; // "00001.00002.00003.00004"
    std::string exePath;
    std::string exeDate; // "yyyy-mm-dd hh:nn:ss"
    int64_t exeSize = 0;
};

// The details text of an executable, kept once per executable and version.
struct DetailsRow {
    std::string exeFilename;
    std::string versionX;
    std::string details;
};

// A version newer than the catalogue's that an installation reported: its
// submission.
struct Submission {
    std::string installation;
    std::string programName;
    std::string exeFilename;
    std::string versionX;
};

// An account (user name and password), for the account operations. One
// made by a change of user name (RenameAccountOf) or by `torvik-service
// user` has no password until "set_password" or "register" from an
// installation linked to it gives it one, and no login may
// succeed for it until then: its name is public (it signs notes), so
// anyone could act as it otherwise.
struct Account {
    std::string name;
    bool moderator = false;
    // The anonymous user id of an installation the account acts from: read,
    // the one linked last (empty when none is); added, the one to link.
    // An installation is linked to one account at most, an account to any
    // number of installations (a reinstall keeps the account).
    std::string installation{};
};

// What a password check of an account needs.
struct Credentials {
    std::string name;         // as stored
    std::string passwordHash; // "" while the account has no password
    bool linkedHere = false;  // linked to the installation asked about
    bool operator==(const Credentials&) const = default;
};

// What RenameAccountOf did.
enum class AccountRenaming {
    Renamed,
    Created,
    // The previous name given is not the linked account's, or no account
    // is linked.
    NotPrevious,
    // Another account has the new name.
    NameTaken,
};

// A note a user posted about a program.
struct Note {
    std::string programName;
    std::string exeFilename;
    std::string installation;
    std::string alias; // as typed; empty when the user gave none
    std::string comment;
    std::string tags;
    std::string postedAt; // "yyyy-mm-dd hh:nn:ss", UTC
};

// A product and download URL a user proposed for a program (either may be
// empty), waiting for a moderator.
struct UrlSubmission {
    int64_t id = 0; // given by the storage
    std::string programName;
    std::string exeFilename;
    std::string installation;
    std::string productUrl;
    std::string downloadUrl;
    std::string submittedAt; // "yyyy-mm-dd hh:nn:ss", UTC
};

// The service's data. Every write is one transaction: all or nothing, and a
// failed write (a full disk, a constraint) leaves the data as it was and
// throws StorageError. Implementations are safe to call from several threads.
class Storage {
public:
    virtual ~Storage() = default;

    // Adds the entries to the catalogue, replacing those with the same keys.
    virtual void ImportCatalogue(const std::vector<CatalogueEntry>& entries) = 0;
    virtual std::vector<CatalogueEntry> LoadCatalogue() const = 0;

    // Every report and submission, to build the service's in-memory view:
    // one row at a time, so that loading never holds them all as texts.
    virtual void ForEachReport(const std::function<void(const Report&)>& each) const = 0;
    virtual void ForEachSubmission(const std::function<void(const Submission&)>& each) const = 0;
    // The same, as lists.
    std::vector<Report> LoadReports() const {
        std::vector<Report> reports;
        ForEachReport([&](const Report& r) { reports.push_back(r); });
        return reports;
    }
    std::vector<Submission> LoadSubmissions() const {
        std::vector<Submission> submissions;
        ForEachSubmission([&](const Submission& s) { submissions.push_back(s); });
        return submissions;
    }

    // The outcome of one check of one installation, in one transaction:
    // reports that are new or changed replace the installation's rows for
    // the same program; details are added unless the executable and version
    // already have some; submissions are added unless already there.
    virtual void SaveCheck(const std::vector<Report>& changedReports,
                           const std::vector<DetailsRow>& details,
                           const std::vector<Submission>& submissions) = 0;

    // Changes whenever the data was changed by another connection (another
    // process importing a catalogue, another service instance), so that an
    // in-memory view knows to reload.
    virtual int64_t DataVersion() const = 0;

    // Keeps a program's uploaded icon (PNG bytes) unless one was uploaded
    // for it before: the first stays. Whether it was kept. The catalogue
    // entry of the program reads hasIcon true from then on, also after an
    // import that says false.
    virtual bool SaveIcon(const std::string& programName, const std::string& exeFilename,
                          const std::string& png) = 0;
    // The uploaded icon of a program; nothing when none was uploaded.
    virtual std::optional<std::string> LoadIcon(const std::string& programName,
                                                const std::string& exeFilename) const = 0;

    // Throws StorageError when an account of that name (letter case
    // ignored) exists.
    virtual void AddAccount(const Account& account) = 0;
    virtual std::optional<Account> FindAccount(const std::string& name) const = 0;
    // The account linked to an installation; nothing when none is.
    virtual std::optional<Account> FindAccountOf(const std::string& installation) const = 0;
    // In one transaction: the account linked to installation (not empty)
    // takes newName, spelt as given; it may differ from the account's name
    // in letter case only, or be no other account's name (letter case
    // ignored). previousName, unless empty, must be the linked account's
    // name (letter case ignored). With none linked and previousName empty,
    // an account of that name is made, linked to installation and without a
    // password. Nothing changes unless Renamed or Created.
    virtual AccountRenaming RenameAccountOf(const std::string& installation,
                                            const std::string& previousName,
                                            const std::string& newName) = 0;
    // The account of that name (letter case ignored), and whether
    // installation is linked to it.
    virtual std::optional<Credentials> FindCredentials(const std::string& name,
                                                       const std::string& installation) const = 0;
    // In one transaction: with no account of that name, makes one with
    // passwordHash (not empty) and links installation to it; an account of
    // that name without a password that installation is linked to gets
    // passwordHash. The account's stored name when either happened, nothing
    // otherwise (nothing changes then).
    virtual std::optional<std::string> RegisterAccount(const std::string& installation,
                                                       const std::string& name,
                                                       const std::string& passwordHash) = 0;
    // In one transaction: when the account of that name still has
    // passwordHash (not empty; the one just verified, so that a password
    // changed meanwhile wins), links installation to it, unlinking it from
    // any other. The account's stored name when linked.
    virtual std::optional<std::string> LinkInstallation(const std::string& installation,
                                                        const std::string& name,
                                                        const std::string& passwordHash) = 0;
    // In one transaction: the account of that name, when installation is
    // linked to it, gets passwordHash (not empty). Whether it did.
    virtual bool SetPassword(const std::string& installation, const std::string& name,
                             const std::string& passwordHash) = 0;

    // A user's post, in one transaction: the note, the URL submission or
    // both (nothing for an absent one).
    virtual void SaveContribution(const std::optional<Note>& note,
                                  const std::optional<UrlSubmission>& urls) = 0;
    // A program's notes, newest first, at most limit of them.
    virtual std::vector<Note> LoadNotes(const std::string& programName,
                                        const std::string& exeFilename, size_t limit) const = 0;
    // The program names installations reported with an executable file
    // name (letter case ignored), the most reported first (then in key
    // order), at most limit of them, each in its first reported spelling.
    virtual std::vector<std::string> ReportedNames(const std::string& exeFilename,
                                                   size_t limit) const = 0;

    // Moderation. A version submission is pending while it is not rejected
    // and its version is above the catalogue's; a URL submission while no
    // moderator decided on it.
    // The highest pending version submission of a program whose padded
    // version is above aboveVersionX ("" for a program the catalogue lacks).
    virtual std::optional<Submission> HighestSubmission(const std::string& programName,
                                                        const std::string& exeFilename,
                                                        const std::string& aboveVersionX) const = 0;
    // The newest pending URL submission of a program.
    virtual std::optional<UrlSubmission> NewestUrls(const std::string& programName,
                                                    const std::string& exeFilename) const = 0;
    // In one transaction: entry replaces the catalogue's entry of its
    // program (as ImportCatalogue), the URL submission urlsId is approved and
    // the program's older pending ones are superseded.
    virtual void ApproveUrls(const CatalogueEntry& entry, int64_t urlsId) = 0;
    // In one transaction: the program's version submissions above
    // aboveVersionX and its pending URL submissions are rejected. How many.
    virtual size_t RejectPending(const std::string& programName, const std::string& exeFilename,
                                 const std::string& aboveVersionX) = 0;
};

class StorageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace torvik::server
