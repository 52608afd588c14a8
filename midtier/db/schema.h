// The company database schema: ordered migrations tracked in PRAGMA user_version.
#pragma once

#include <span>
#include <string_view>

namespace db {

class Database;

// One step of the schema's history. Steps are applied in order, each in its own
// transaction together with the new user_version, and never change once released:
// a later change to the schema is a new step.
struct Migration {
  int version;               // user_version after this step
  std::string_view purpose;  // one line for logs and tools
  std::string_view sql;      // statements separated by ';'
  void (*apply)(Database&) = nullptr;  // run after sql, for a step that SQL text alone cannot say
};

// Version 1: every table with its keys. Version 2: the indexes the reports filter and join on.
// Version 3: names, numbers and codes compare without regard to case, as on SQL Server.
inline constexpr int kSchemaVersion = 3;

[[nodiscard]] std::span<const Migration> migrations();

// The user_version of the file (0 for a file without our schema).
[[nodiscard]] int schemaVersion(Database& database);

// Brings the database up to kSchemaVersion; a current database is left untouched.
// A file from a newer program (higher version) is refused with a plat::Error.
void migrate(Database& database);
// Brings the database up to `version` (<= kSchemaVersion); used to test upgrades.
void migrateTo(Database& database, int version);

// The report indexes (the version-2 step) by name, so that a bulk load can drop them
// and build them once afterwards, which is several times faster than loading into them.
struct IndexDefinition {
  std::string_view name;
  std::string_view sql;  // CREATE INDEX statement
};
[[nodiscard]] std::span<const IndexDefinition> reportIndexes();
void dropReportIndexes(Database& database);
void createReportIndexes(Database& database);

}  // namespace db
