// Applies the schema's migration steps in order, tracked by PRAGMA user_version.
#include "midtier/db/schema.h"

#include <string>

#include <fmt/format.h>

#include "midtier/db/database.h"
#include "midtier/db/schema_sql.h"
#include "midtier/db/transaction.h"
#include "platform/core/error.h"

namespace db {

namespace {

std::string joinedReportIndexes() {
  std::string sql;
  for (const IndexDefinition& index : schema::reportIndexesV2()) {
    sql += index.sql;
    sql += ";\n";
  }
  return sql;
}

}  // namespace

std::span<const Migration> migrations() {
  static const std::string indexSql = joinedReportIndexes();
  static const Migration kMigrations[] = {
      {1, "tables and keys", schema::kTablesV1},
      {2, "report indexes", indexSql},
      {3, "text compares without regard to case", "", schema::makeTextCaseless},
  };
  return kMigrations;
}

std::span<const IndexDefinition> reportIndexes() { return schema::reportIndexesV2(); }

int schemaVersion(Database& database) {
  return static_cast<int>(database.queryInt("PRAGMA user_version"));
}

void migrateTo(Database& database, int version) {
  if (version < 0 || version > kSchemaVersion) {
    throw plat::Error::invalidCall(
        "db.migrate", fmt::format("unknown schema version {} (this program knows 0 to {})", version,
                                  kSchemaVersion));
  }
  int current = schemaVersion(database);
  if (current > kSchemaVersion) {
    throw plat::Error::database(
        "db.migrate",
        fmt::format("database {} has schema version {}, newer than this program's {}; "
                    "use a newer program",
                    database.path(), current, kSchemaVersion));
  }
  for (const Migration& step : migrations()) {
    if (step.version <= current || step.version > version) continue;
    Transaction transaction(database);
    database.exec(step.sql);
    if (step.apply) step.apply(database);
    database.exec(fmt::format("PRAGMA user_version = {}", step.version));
    transaction.commit();
  }
}

void migrate(Database& database) { migrateTo(database, kSchemaVersion); }

void dropReportIndexes(Database& database) {
  for (const IndexDefinition& index : reportIndexes())
    database.exec(fmt::format("DROP INDEX IF EXISTS {}", index.name));
}

void createReportIndexes(Database& database) {
  for (const IndexDefinition& index : reportIndexes()) {
    std::string sql(index.sql);
    // Tolerate indexes that already exist, so the call can repair a partial set.
    sql.replace(sql.find("INDEX ") + 6, 0, "IF NOT EXISTS ");
    database.exec(sql);
  }
}

}  // namespace db
