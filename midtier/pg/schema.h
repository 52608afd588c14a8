// The company database schema on PostgreSQL, written from the schema that the migration steps
// make on SQLite, so both engines always hold the same tables, keys and indexes.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace pg {

class Connection;

// Text columns compare under this collation: case-insensitive, accent-sensitive ICU,
// non-deterministic. PostgreSQL does not run LIKE under a non-deterministic collation;
// a case-insensitive LIKE is written `expr COLLATE "default" ILIKE pattern`.
inline constexpr const char* kCaseInsensitive = "tav_ci";

// The schema as statements in the order a bulk load wants them: tables first, keys, indexes
// and references once the rows are in (loading into them is several times slower).
struct Schema {
  std::vector<std::string> prelude;     // the collation
  std::vector<std::string> tableNames;  // in schema order
  std::vector<std::string> tables;      // CREATE TABLE, columns with types, NOT NULL and DEFAULT
  std::vector<std::string> keys;        // ALTER TABLE ... ADD PRIMARY KEY / UNIQUE
  std::vector<std::string> indexes;     // CREATE [UNIQUE] INDEX
  std::vector<std::string> references;  // ALTER TABLE ... ADD FOREIGN KEY
};

// Translates the schema the SQLite migration steps make: INTEGER -> integer (a single-column
// integer primary key numbers new rows by itself, as SQLite's does), REAL -> double precision,
// TEXT COLLATE NOCASE -> text under the case-insensitive collation, other TEXT -> binary text;
// decimal(p,s) stays as it is. Throws plat::Error on a statement it cannot place.
[[nodiscard]] Schema companySchema();

// The table that records the schema version on the server (PostgreSQL has no user_version).
inline constexpr const char* kVersionTable = "tav_schema";

// Creates the collation and the tables, and records the schema version (inside the caller's
// transaction when there is one). Throws pg::Error.
void createTables(Connection& connection);
// Adds keys, indexes and references to the filled tables, moves the sequences of the
// self-numbering keys past the rows loaded, and updates the planner's statistics.
void finishTables(Connection& connection);

// The same in steps, for a load that makes its tables on several connections. The statements
// of `schema` that concern `tables` (names compare without case): their CREATE TABLE, keys and
// indexes, and the references they make; the prelude is left out.
[[nodiscard]] Schema schemaPart(const Schema& schema, const std::vector<std::string>& tables);
void createTables(Connection& connection, const Schema& part);
void addKeysAndIndexes(Connection& connection, const Schema& part);
void addReferences(Connection& connection, const Schema& part);
void analyzeTables(Connection& connection, const Schema& part);
// Moves the sequences of the current schema's self-numbering keys past the rows loaded.
void continueNumbering(Connection& connection);
// Creates the version table with the current schema version.
void recordVersion(Connection& connection);
// Both, for an empty database that is filled row by row afterwards.
void createSchema(Connection& connection);

// The type of every column of the current schema's tables as the connection sees them (those
// its open transaction made too): table -> column -> type as format_type() names it, table and
// column names in lower case.
using ColumnTypes = std::map<std::string, std::map<std::string, std::string>>;
[[nodiscard]] ColumnTypes columnTypes(Connection& connection);

// The schema version of the database: 0 when it has no company schema.
[[nodiscard]] int schemaVersion(Connection& connection);

}  // namespace pg
