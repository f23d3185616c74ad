#pragma once
#include <cstdint>

#include "server/Sqlite.h"

namespace torvik::server {

// The schema version this code creates and reads (SqliteStorage's tables).
int SchemaVersionOfCode();

// Brings a database's schema up to version target (at most
// SchemaVersionOfCode()), step by step. Throws StorageError, also for a
// database of a newer schema than this code knows.
void MigrateSchema(SqliteConnection& connection, int64_t target);
// The connection, brought up to date.
SqliteConnection MigrateSchema(SqliteConnection connection);

} // namespace torvik::server
