#pragma once
#include <map>
#include <mutex>

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

    std::map<std::string, std::string> details;
    size_t ReportCount() const { return reports_.size(); }

private:
    mutable std::mutex mutex_;
    std::map<std::string, CatalogueEntry> catalogue_;
    std::map<std::string, Report> reports_;
    std::map<std::string, Submission> submissions_;
    std::map<std::string, Account> accounts_;
    std::map<std::string, std::string> icons_;
};

} // namespace torvik::server::testing
