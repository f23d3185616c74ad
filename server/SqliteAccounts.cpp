// SqliteStorage: the accounts and the installations they act from.
#include "server/ProgramLines.h"
#include "server/SqliteStorage.h"

namespace torvik::server {
namespace {

// The account an installation is linked to, as a condition on ?1.
constexpr std::string_view kLinkedTo =
    "a.name_key = (SELECT name_key FROM account_links WHERE installation = ?1)";

} // namespace

void SqliteStorage::AddAccount(const Account& account) {
    const std::lock_guard lock(mutex_);
    SqliteTransaction transaction(connection_);
    if (FindAccountWhere("a.name_key = ?1", KeyOf(account.name))) {
        throw StorageError("an account named \"" + account.name + "\" exists already");
    }
    if (!account.installation.empty()) {
        if (const auto linked = FindAccountWhere(kLinkedTo, account.installation)) {
            throw StorageError("the installation is linked to the account \"" + linked->name +
                               "\" already");
        }
    }
    InsertAccount(account);
    transaction.Commit();
}

std::optional<Account> SqliteStorage::FindAccount(const std::string& name) const {
    const std::lock_guard lock(mutex_);
    return FindAccountWhere("a.name_key = ?1", KeyOf(name));
}

std::optional<Account> SqliteStorage::FindAccountOf(const std::string& installation) const {
    const std::lock_guard lock(mutex_);
    return FindAccountWhere(kLinkedTo, installation);
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
    const std::optional<Account> linked = FindAccountWhere(kLinkedTo, installation);
    if (!previousName.empty() && (!linked || KeyOf(linked->name) != KeyOf(previousName))) {
        return AccountRenaming::NotPrevious;
    }
    const std::string key = KeyOf(newName);
    if (FindAccountWhere("a.name_key = ?1", key) && (!linked || KeyOf(linked->name) != key)) {
        return AccountRenaming::NameTaken;
    }
    if (!linked) {
        InsertAccount({.name = newName, .moderator = false, .installation = installation});
        transaction.Commit();
        return AccountRenaming::Created;
    }
    const std::string oldKey = KeyOf(linked->name);
    SqliteStatement update(connection_,
                           "UPDATE accounts SET name_key = ?1, name = ?2 WHERE name_key = ?3");
    update.BindText(1, key);
    update.BindText(2, newName);
    update.BindText(3, oldKey);
    update.Run();
    // Every installation of the account follows it to its new name.
    SqliteStatement links(connection_,
                          "UPDATE account_links SET name_key = ?1 WHERE name_key = ?2");
    links.BindText(1, key);
    links.BindText(2, oldKey);
    links.Run();
    transaction.Commit();
    return AccountRenaming::Renamed;
}

std::optional<Credentials> SqliteStorage::FindCredentials(const std::string& name,
                                                          const std::string& installation) const {
    const std::lock_guard lock(mutex_);
    const std::string key = KeyOf(name);
    const std::optional<Account> account = FindAccountWhere("a.name_key = ?1", key);
    if (!account) {
        return std::nullopt;
    }
    return Credentials{.name = account->name,
                       .passwordHash = PasswordHashOf(key).value_or(""),
                       .linkedHere = IsLinked(installation, key)};
}

std::optional<std::string> SqliteStorage::RegisterAccount(const std::string& installation,
                                                          const std::string& name,
                                                          const std::string& passwordHash) {
    if (installation.empty() || passwordHash.empty()) {
        throw StorageError("an account is registered from an installation, with a password");
    }
    const std::lock_guard lock(mutex_);
    SqliteTransaction transaction(connection_);
    const std::string key = KeyOf(name);
    const std::optional<Account> existing = FindAccountWhere("a.name_key = ?1", key);
    if (!existing) {
        InsertAccount({.name = name, .moderator = false, .installation = installation},
                      passwordHash);
        transaction.Commit();
        return name;
    }
    if (!PasswordHashOf(key).value_or("x").empty() || !IsLinked(installation, key)) {
        return std::nullopt;
    }
    WritePasswordHash(key, passwordHash);
    transaction.Commit();
    return existing->name;
}

std::optional<std::string> SqliteStorage::LinkInstallation(const std::string& installation,
                                                           const std::string& name,
                                                           const std::string& passwordHash) {
    if (installation.empty() || passwordHash.empty()) {
        return std::nullopt;
    }
    const std::lock_guard lock(mutex_);
    SqliteTransaction transaction(connection_);
    const std::string key = KeyOf(name);
    const std::optional<Account> account = FindAccountWhere("a.name_key = ?1", key);
    if (!account || PasswordHashOf(key) != passwordHash) {
        return std::nullopt;
    }
    Link(installation, key);
    transaction.Commit();
    return account->name;
}

bool SqliteStorage::SetPassword(const std::string& installation, const std::string& name,
                                const std::string& passwordHash) {
    if (passwordHash.empty()) {
        throw StorageError("a password hash is never empty");
    }
    const std::lock_guard lock(mutex_);
    SqliteTransaction transaction(connection_);
    const std::string key = KeyOf(name);
    if (installation.empty() || !IsLinked(installation, key)) {
        return false;
    }
    WritePasswordHash(key, passwordHash);
    transaction.Commit();
    return true;
}

std::optional<Account> SqliteStorage::FindAccountWhere(std::string_view condition,
                                                       const std::string& value) const {
    SqliteStatement select(connection_, R"sql(
SELECT a.name, a.moderator,
       coalesce((SELECT installation FROM account_links l WHERE l.name_key = a.name_key
                 ORDER BY l.id DESC LIMIT 1), '')
FROM accounts a WHERE )sql" + std::string(condition));
    select.BindText(1, value);
    if (!select.Step()) {
        return std::nullopt;
    }
    return Account{.name = select.ColumnText(0),
                   .moderator = select.ColumnInt64(1) != 0,
                   .installation = select.ColumnText(2)};
}

void SqliteStorage::InsertAccount(const Account& account, const std::string& passwordHash) {
    SqliteStatement insert(connection_, R"sql(
INSERT INTO accounts (name_key, name, password_hash, moderator) VALUES (?1, ?2, ?3, ?4))sql");
    insert.BindText(1, KeyOf(account.name));
    insert.BindText(2, account.name);
    insert.BindText(3, passwordHash);
    insert.BindInt64(4, account.moderator ? 1 : 0);
    insert.Run();
    if (!account.installation.empty()) {
        Link(account.installation, KeyOf(account.name));
    }
}

void SqliteStorage::Link(const std::string& installation, const std::string& nameKey) {
    // Deleted and inserted rather than updated: the new id makes it the
    // account's newest link.
    SqliteStatement unlink(connection_, "DELETE FROM account_links WHERE installation = ?1");
    unlink.BindText(1, installation);
    unlink.Run();
    SqliteStatement link(connection_,
                         "INSERT INTO account_links (installation, name_key) VALUES (?1, ?2)");
    link.BindText(1, installation);
    link.BindText(2, nameKey);
    link.Run();
}

bool SqliteStorage::IsLinked(const std::string& installation, const std::string& nameKey) const {
    SqliteStatement select(connection_,
                           "SELECT 1 FROM account_links WHERE installation = ?1 AND name_key = ?2");
    select.BindText(1, installation);
    select.BindText(2, nameKey);
    return select.Step();
}

std::optional<std::string> SqliteStorage::PasswordHashOf(const std::string& nameKey) const {
    SqliteStatement select(connection_, "SELECT password_hash FROM accounts WHERE name_key = ?1");
    select.BindText(1, nameKey);
    if (!select.Step()) {
        return std::nullopt;
    }
    return select.ColumnText(0);
}

void SqliteStorage::WritePasswordHash(const std::string& nameKey, const std::string& passwordHash) {
    SqliteStatement update(connection_,
                           "UPDATE accounts SET password_hash = ?1 WHERE name_key = ?2");
    update.BindText(1, passwordHash);
    update.BindText(2, nameKey);
    update.Run();
}

} // namespace torvik::server
