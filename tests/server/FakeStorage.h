#pragma once
#include <map>
#include <mutex>
#include <set>

#include "server/ProgramLines.h"
#include "server/Storage.h"

namespace torvik::server::testing {

// Storage in memory, with a switch that makes every write fail, and a data
// version the test can move as another connection's commit would.
class FakeStorage : public Storage {
public:
    bool failWrites = false;
    int64_t dataVersion = 1;
    int saves = 0;

    void ImportCatalogue(const std::vector<CatalogueEntry>& entries) override {
        std::lock_guard lock(mutex_);
        for (const auto& e : entries) {
            catalogue_[KeyOf(e.programName) + "\n" + KeyOf(e.exeFilename)] = e;
        }
    }
    std::vector<CatalogueEntry> LoadCatalogue() const override {
        std::lock_guard lock(mutex_);
        std::vector<CatalogueEntry> out;
        for (const auto& [key, e] : catalogue_) {
            out.push_back(e);
            out.back().hasIcon = e.hasIcon || icons_.contains(key);
        }
        return out;
    }
    bool SaveIcon(const std::string& programName, const std::string& exeFilename,
                  const std::string& png) override {
        std::lock_guard lock(mutex_);
        if (failWrites) {
            throw StorageError("the disk is full");
        }
        return icons_.emplace(KeyOf(programName) + "\n" + KeyOf(exeFilename), png).second;
    }
    std::optional<std::string> LoadIcon(const std::string& programName,
                                        const std::string& exeFilename) const override {
        std::lock_guard lock(mutex_);
        const auto it = icons_.find(KeyOf(programName) + "\n" + KeyOf(exeFilename));
        return it == icons_.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void ForEachReport(const std::function<void(const Report&)>& each) const override {
        std::lock_guard lock(mutex_);
        for (const auto& [key, r] : reports_) {
            each(r);
        }
    }
    void ForEachSubmission(const std::function<void(const Submission&)>& each) const override {
        std::lock_guard lock(mutex_);
        for (const auto& [key, s] : submissions_) {
            each(s);
        }
    }
    void SaveCheck(const std::vector<Report>& reports, const std::vector<DetailsRow>& details,
                   const std::vector<Submission>& submissions) override {
        std::lock_guard lock(mutex_);
        if (failWrites) {
            throw StorageError("disk full");
        }
        ++saves;
        for (const auto& r : reports) {
            reports_[r.installation + "\n" + KeyOf(r.programName) + "\n" + KeyOf(r.exeFilename)] =
                r;
        }
        for (const auto& d : details) {
            this->details.emplace(KeyOf(d.exeFilename) + "\n" + d.versionX, d.details);
        }
        for (const auto& s : submissions) {
            submissions_[s.installation + "\n" + KeyOf(s.programName) + "\n" +
                         KeyOf(s.exeFilename) + "\n" + s.versionX] = s;
        }
    }
    int64_t DataVersion() const override { return dataVersion; }
    void AddAccount(const Account& account) override { accounts_[KeyOf(account.name)] = account; }
    std::optional<Account> FindAccount(const std::string& name) const override {
        const auto it = accounts_.find(KeyOf(name));
        return it == accounts_.end() ? std::nullopt : std::optional<Account>(it->second);
    }

    std::optional<Account> FindAccountOf(const std::string& installation) const override {
        for (const auto& [key, account] : accounts_) {
            if (!installation.empty() && account.installation == installation) {
                return account;
            }
        }
        return std::nullopt;
    }
    AccountRenaming RenameAccountOf(const std::string& installation,
                                    const std::string& previousName,
                                    const std::string& newName) override {
        std::optional<Account> linked = FindAccountOf(installation);
        if (!previousName.empty() && (!linked || KeyOf(linked->name) != KeyOf(previousName))) {
            return AccountRenaming::NotPrevious;
        }
        if (accounts_.contains(KeyOf(newName)) &&
            (!linked || KeyOf(linked->name) != KeyOf(newName))) {
            return AccountRenaming::NameTaken;
        }
        if (failWrites) {
            throw StorageError("writes fail in this test");
        }
        if (!linked) {
            accounts_[KeyOf(newName)] = {newName, false, installation};
            return AccountRenaming::Created;
        }
        accounts_.erase(KeyOf(linked->name));
        linked->name = newName;
        accounts_[KeyOf(newName)] = *linked;
        return AccountRenaming::Renamed;
    }
    // One installation per account is enough for the tests of the other
    // modes; SqliteStorage keeps many.
    std::optional<Credentials> FindCredentials(const std::string& name,
                                               const std::string& installation) const override {
        const auto account = FindAccount(name);
        if (!account) {
            return std::nullopt;
        }
        const auto hash = hashes_.find(KeyOf(name));
        return Credentials{account->name, hash == hashes_.end() ? "" : hash->second,
                           !installation.empty() && account->installation == installation};
    }
    std::optional<std::string> RegisterAccount(const std::string& installation,
                                               const std::string& name,
                                               const std::string& passwordHash) override {
        const auto account = FindCredentials(name, installation);
        if (account && (!account->passwordHash.empty() || !account->linkedHere)) {
            return std::nullopt;
        }
        if (!account) {
            accounts_[KeyOf(name)] = {name, false, installation};
        }
        hashes_[KeyOf(name)] = passwordHash;
        return accounts_[KeyOf(name)].name;
    }
    std::optional<std::string> LinkInstallation(const std::string& installation,
                                                const std::string& name,
                                                const std::string& passwordHash) override {
        const auto account = FindCredentials(name, installation);
        if (!account || account->passwordHash != passwordHash) {
            return std::nullopt;
        }
        accounts_[KeyOf(name)].installation = installation;
        return account->name;
    }
    bool SetPassword(const std::string& installation, const std::string& name,
                     const std::string& passwordHash) override {
        const auto account = FindCredentials(name, installation);
        if (!account || !account->linkedHere) {
            return false;
        }
        hashes_[KeyOf(name)] = passwordHash;
        return true;
    }
    void SaveContribution(const std::optional<Note>& note,
                          const std::optional<UrlSubmission>& urls) override {
        std::lock_guard lock(mutex_);
        if (failWrites) {
            throw StorageError("the disk is full");
        }
        if (note) {
            notes_.push_back(*note);
        }
        if (urls) {
            urls_.push_back({*urls, "pending"});
            urls_.back().first.id = static_cast<int64_t>(urls_.size());
        }
    }
    std::vector<Note> LoadNotes(const std::string& programName, const std::string& exeFilename,
                                size_t limit) const override {
        std::lock_guard lock(mutex_);
        std::vector<Note> out;
        for (auto it = notes_.rbegin(); it != notes_.rend() && out.size() < limit; ++it) {
            if (Same(*it, programName, exeFilename)) {
                out.push_back(*it);
            }
        }
        return out;
    }
    std::vector<std::string> ReportedNames(const std::string& exeFilename,
                                           size_t limit) const override {
        std::lock_guard lock(mutex_);
        std::map<std::string, std::string> names;
        for (const auto& [key, r] : reports_) {
            if (KeyOf(r.exeFilename) == KeyOf(exeFilename)) {
                names.emplace(KeyOf(r.programName), r.programName);
            }
        }
        std::vector<std::string> out;
        for (auto it = names.begin(); it != names.end() && out.size() < limit; ++it) {
            out.push_back(it->second);
        }
        return out;
    }
    std::optional<Submission> HighestSubmission(const std::string& programName,
                                                const std::string& exeFilename,
                                                const std::string& aboveVersionX) const override {
        std::lock_guard lock(mutex_);
        std::optional<Submission> highest;
        for (const auto& [key, s] : submissions_) {
            if (Same(s, programName, exeFilename) && s.versionX > aboveVersionX &&
                !rejected_.contains(key) && (!highest || s.versionX > highest->versionX)) {
                highest = s;
            }
        }
        return highest;
    }
    std::optional<UrlSubmission> NewestUrls(const std::string& programName,
                                            const std::string& exeFilename) const override {
        std::lock_guard lock(mutex_);
        for (auto it = urls_.rbegin(); it != urls_.rend(); ++it) {
            if (it->second == "pending" && Same(it->first, programName, exeFilename)) {
                return it->first;
            }
        }
        return std::nullopt;
    }
    void ApproveUrls(const CatalogueEntry& entry, int64_t urlsId) override {
        if (failWrites) {
            throw StorageError("the disk is full");
        }
        ImportCatalogue({entry});
        std::lock_guard lock(mutex_);
        for (auto& [urls, state] : urls_) {
            if (state == "pending" && urls.id <= urlsId &&
                Same(urls, entry.programName, entry.exeFilename)) {
                state = urls.id == urlsId ? "approved" : "superseded";
            }
        }
    }
    size_t RejectPending(const std::string& programName, const std::string& exeFilename,
                         const std::string& aboveVersionX) override {
        std::lock_guard lock(mutex_);
        if (failWrites) {
            throw StorageError("the disk is full");
        }
        size_t rejected = 0;
        for (const auto& [key, s] : submissions_) {
            if (Same(s, programName, exeFilename) && s.versionX > aboveVersionX) {
                rejected += rejected_.insert(key).second;
            }
        }
        for (auto& [urls, state] : urls_) {
            if (state == "pending" && Same(urls, programName, exeFilename)) {
                state = "rejected";
                ++rejected;
            }
        }
        return rejected;
    }

    std::map<std::string, std::string> details;
    size_t ReportCount() const { return reports_.size(); }

private:
    template <typename Row>
    static bool Same(const Row& row, const std::string& programName,
                     const std::string& exeFilename) {
        return KeyOf(row.programName) == KeyOf(programName) &&
               KeyOf(row.exeFilename) == KeyOf(exeFilename);
    }

    mutable std::mutex mutex_;
    std::vector<Note> notes_;
    std::vector<std::pair<UrlSubmission, std::string>> urls_; // with its state
    std::set<std::string> rejected_;                          // keys of submissions_
    std::map<std::string, CatalogueEntry> catalogue_;
    std::map<std::string, Report> reports_;
    std::map<std::string, Submission> submissions_;
    std::map<std::string, Account> accounts_;
    std::map<std::string, std::string> hashes_; // password hashes by name key
    std::map<std::string, std::string> icons_;
};

} // namespace torvik::server::testing
