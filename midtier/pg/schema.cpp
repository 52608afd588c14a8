// Creating the company schema on a PostgreSQL database.
#include "midtier/pg/schema.h"

#include <fmt/format.h>

#include "midtier/db/schema.h"
#include "midtier/pg/connection.h"
#include "midtier/pg/pg_error.h"

namespace pg {

void createTables(Connection& connection) {
  const Schema schema = companySchema();
  for (const std::string& sql : schema.prelude) connection.exec(sql);
  for (const std::string& sql : schema.tables) connection.exec(sql);
  connection.exec(fmt::format("CREATE TABLE {} (FVersion integer NOT NULL); INSERT INTO {} VALUES ({})", kVersionTable,
                              kVersionTable, db::kSchemaVersion));
}

void finishTables(Connection& connection) {
  const Schema schema = companySchema();
  for (const std::string& sql : schema.keys) connection.exec(sql);
  for (const std::string& sql : schema.indexes) connection.exec(sql);
  for (const std::string& sql : schema.references) connection.exec(sql);
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
  std::string analyze = "ANALYZE ";
  for (std::size_t i = 0; i < schema.tableNames.size(); ++i) analyze += (i ? ", " : "") + schema.tableNames[i];
  connection.exec(analyze);
}

void createSchema(Connection& connection) {
  createTables(connection);
  finishTables(connection);
}

int schemaVersion(Connection& connection) {
  if (!connection.tableExists(kVersionTable)) return 0;
  return static_cast<int>(connection.queryInt(fmt::format("SELECT max(FVersion) FROM {}", kVersionTable)));
}

}  // namespace pg
