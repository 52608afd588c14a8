// Creating the company schema on a PostgreSQL database.
#include "midtier/pg/schema.h"

#include <cctype>
#include <string_view>

#include <fmt/format.h>

#include "midtier/db/schema.h"
#include "midtier/pg/connection.h"
#include "midtier/pg/pg_error.h"
#include "platform/lumo/dictionary.h"

namespace pg {

void createTables(Connection& connection) {
  const Schema schema = companySchema();
  for (const std::string& sql : schema.prelude) connection.exec(sql);
  createTables(connection, schema);
  recordVersion(connection);
}

void finishTables(Connection& connection) {
  const Schema schema = companySchema();
  addKeysAndIndexes(connection, schema);
  addReferences(connection, schema);
  continueNumbering(connection);
  analyzeTables(connection, schema);
}

void createSchema(Connection& connection) {
  createTables(connection);
  finishTables(connection);
}

void createTables(Connection& connection, const Schema& part) {
  for (const std::string& sql : part.tables) connection.exec(sql);
}

void addKeysAndIndexes(Connection& connection, const Schema& part) {
  for (const std::string& sql : part.keys) connection.exec(sql);
  for (const std::string& sql : part.indexes) connection.exec(sql);
}

namespace {

// The column list in the first parentheses after `marker` in `sql`, lower case, or empty.
std::string columnsAfter(const std::string& sql, std::string_view marker) {
  const std::string text = lumo::foldCase(sql);
  const std::size_t at = text.find(marker);
  if (at == std::string::npos) return {};
  const std::size_t open = text.find('(', at);
  const std::size_t close = text.find(')', open);
  if (open == std::string::npos || close == std::string::npos) return {};
  std::string columns;
  for (char c : text.substr(open + 1, close - open - 1))
    if (!std::isspace(static_cast<unsigned char>(c))) columns += c;
  return columns;
}

// Whether the referencing columns of `reference` lead the primary key of its table in `part`:
// then both sides can be read in key order from their primary keys (index-only, as COPY FREEZE
// marked every page all-visible) and checked by a merge join, which costs less than half of
// hashing the referenced table for millions of rows.
bool checkedInKeyOrder(const std::string& reference, const Schema& part) {
  const std::string table = reference.substr(0, reference.find(" ADD "));  // "ALTER TABLE name"
  const std::string columns = columnsAfter(reference, " foreign key");
  for (const std::string& key : part.keys) {
    if (key.substr(0, key.find(" ADD ")) != table) continue;
    const std::string keyColumns = columnsAfter(key, " primary key");
    if (!keyColumns.empty() && (keyColumns == columns || keyColumns.starts_with(columns + ","))) return true;
  }
  return false;
}

}  // namespace

void addReferences(Connection& connection, const Schema& part) {
  for (const std::string& sql : part.references) {
    // The check's join is planned like any query; the hash join it would choose for a large
    // referencing table reads both tables whole and hashes the referenced one.
    if (checkedInKeyOrder(sql, part))
      connection.exec("SET enable_hashjoin = off; " + sql + "; RESET enable_hashjoin");
    else
      connection.exec(sql);
  }
}

void analyzeTables(Connection& connection, const Schema& part) {
  if (part.tableNames.empty()) return;
  std::string analyze = "ANALYZE ";
  for (std::size_t i = 0; i < part.tableNames.size(); ++i) analyze += (i ? ", " : "") + part.tableNames[i];
  connection.exec(analyze);
}

void continueNumbering(Connection& connection) {
  // Rows loaded with their own keys leave the sequence behind them; the next row the
  // program adds without a key takes the number after the largest.
  const Result identities = connection.query(
      "SELECT table_name, column_name FROM information_schema.columns "
      "WHERE table_schema = current_schema() AND is_identity = 'YES'");
  for (int r = 0; r < identities.rows(); ++r) {
    const std::string table(identities.text(r, 0));
    const std::string column(identities.text(r, 1));
    connection.exec(fmt::format("SELECT setval(pg_get_serial_sequence('{0}', '{1}'), coalesce(max({1}), 0) + 1, false) FROM {0}",
                                table, column));
  }
}

ColumnTypes columnTypes(Connection& connection) {
  const Result columns = connection.query(
      "SELECT lower(c.relname), lower(a.attname), format_type(a.atttypid, a.atttypmod) "
      "FROM pg_catalog.pg_class c JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid "
      "WHERE c.relnamespace = current_schema()::regnamespace AND c.relkind = 'r' AND a.attnum > 0 AND NOT a.attisdropped");
  ColumnTypes types;
  for (int r = 0; r < columns.rows(); ++r)
    types[std::string(columns.text(r, 0))][std::string(columns.text(r, 1))] = std::string(columns.text(r, 2));
  return types;
}

void recordVersion(Connection& connection) {
  connection.exec(fmt::format("CREATE TABLE {} (FVersion integer NOT NULL); INSERT INTO {} VALUES ({})", kVersionTable,
                              kVersionTable, db::kSchemaVersion));
}

int schemaVersion(Connection& connection) {
  if (!connection.tableExists(kVersionTable)) return 0;
  return static_cast<int>(connection.queryInt(fmt::format("SELECT max(FVersion) FROM {}", kVersionTable)));
}

}  // namespace pg
