// SqliteStorage: the accounts and the installations they act from.
#include "server/ProgramLines.h"
#include "server/SqliteStorage.h"

namespace torvik::server {

void SqliteStorage::AddAccount(const Account& account) {
    const std::lock_guard lock(mutex_);
    SqliteTransaction transaction(connection_);
    SqliteStatement existing(connection_, "SELECT 1 FROM accounts WHERE name_key = ?1");
    existing.BindText(1, KeyOf(account.name));
    if (existing.Step()) {
        throw StorageError("an account named \"" + account.name + "\" exists already");
    }
    if (!account.installation.empty()) {
        if (const auto linked = FindAccountWhere("installation = ?1", account.installation)) {
            throw StorageError("the installation is linked to the account \"" + linked->name +
                               "\" already");
        }
    }
    InsertAccount(account);
    transaction.Commit();
}

std::optional<Account> SqliteStorage::FindAccount(const std::string& name) const {
    const std::lock_guard lock(mutex_);
    return FindAccountWhere("name_key = ?1", KeyOf(name));
}

std::optional<Account> SqliteStorage::FindAccountOf(const std::string& installation) const {
    const std::lock_guard lock(mutex_);
    return FindAccountWhere("installation = ?1", installation);
}

AccountRenaming SqliteStorage::RenameAccountOf(const std::string& installation,
                                               const std::string& previousName,
                                               const std::string& newName) {
    if (installation.empty()) {
        throw StorageError("an account is renamed through its installation");
    }
    const std::lock_guard lock(mutex_);
    // The checks and the write in one transaction, so that two requests
    // cannot both take a free name.
    SqliteTransaction transaction(connection_);
    const std::optional<Account> linked = FindAccountWhere("installation = ?1", installation);
    if (!previousName.empty() && (!linked || KeyOf(linked->name) != KeyOf(previousName))) {
        return AccountRenaming::NotPrevious;
    }
    const std::string key = KeyOf(newName);
    if (FindAccountWhere("name_key = ?1", key) && (!linked || KeyOf(linked->name) != key)) {
        return AccountRenaming::NameTaken;
    }
    if (!linked) {
        InsertAccount({.name = newName, .moderator = false, .installation = installation});
        transaction.Commit();
        return AccountRenaming::Created;
    }
    SqliteStatement update(connection_,
                           "UPDATE accounts SET name_key = ?1, name = ?2 WHERE installation = ?3");
    update.BindText(1, key);
    update.BindText(2, newName);
    update.BindText(3, installation);
    update.Run();
    transaction.Commit();
    return AccountRenaming::Renamed;
}

std::optional<Account> SqliteStorage::FindAccountWhere(std::string_view condition,
                                                       const std::string& value) const {
    SqliteStatement select(
        connection_, "SELECT name, moderator, coalesce(installation, '') FROM accounts WHERE " +
                         std::string(condition));
    select.BindText(1, value);
    if (!select.Step()) {
        return std::nullopt;
    }
    return Account{.name = select.ColumnText(0),
                   .moderator = select.ColumnInt64(1) != 0,
                   .installation = select.ColumnText(2)};
}

void SqliteStorage::InsertAccount(const Account& account) {
    SqliteStatement insert(connection_, R"sql(
INSERT INTO accounts (name_key, name, moderator, installation)
VALUES (?1, ?2, ?3, nullif(?4, '')))sql");
    insert.BindText(1, KeyOf(account.name));
    insert.BindText(2, account.name);
    insert.BindInt64(3, account.moderator ? 1 : 0);
    insert.BindText(4, account.installation);
    insert.Run();
}

} // namespace torvik::server
