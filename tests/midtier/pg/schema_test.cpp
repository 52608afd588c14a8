// The company schema on PostgreSQL: the same tables and columns as on SQLite, keys that hold,
// text that compares without regard to case, and keys that number new rows after a load.
#include "midtier/pg/schema.h"

#include <gtest/gtest.h>

#include "midtier/db/database.h"
#include "midtier/db/schema.h"
#include "midtier/db/statement.h"
#include "midtier/pg/connection.h"
#include "midtier/pg/pg_error.h"
#include "support/pg_server.h"

namespace {

// "table.column" of every column, tables in schema order, columns in table order, lower case.
std::vector<std::string> sqliteColumns() {
  db::Database sqlite = db::Database::memory();
  db::migrate(sqlite);
  std::vector<std::string> names;
  db::Statement tables = sqlite.prepare(
      "SELECT m.name, p.name FROM sqlite_schema m, pragma_table_info(m.name) p "
      "WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite%' ORDER BY m.rowid, p.cid");
  while (tables.step()) {
    std::string name = tables.getText(0) + "." + tables.getText(1);
    for (char& ch : name) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    names.push_back(name);
  }
  return names;
}

TEST(PgSchema, HoldsTheSameTablesAndColumnsAsTheEmbeddedSchema) {
  TAV_NEED_POSTGRES(server);
  support::ScratchDatabase scratch(server);
  pg::Connection c = pg::Connection::open(scratch.url());
  EXPECT_EQ(pg::schemaVersion(c), 0);
  pg::createSchema(c);
  EXPECT_EQ(pg::schemaVersion(c), db::kSchemaVersion);
  const pg::Result columns = c.query(
      "SELECT c.table_name || '.' || c.column_name FROM information_schema.columns c "
      "JOIN pg_class t ON t.relname = c.table_name AND t.relnamespace = current_schema()::regnamespace "
      "WHERE c.table_schema = current_schema() AND c.table_name <> $1 ORDER BY t.oid, c.ordinal_position",
      pg::Params(pg::kVersionTable));
  std::vector<std::string> names;
  for (int r = 0; r < columns.rows(); ++r) names.emplace_back(columns.text(r, 0));
  EXPECT_EQ(names, sqliteColumns());
  // Every index of the embedded schema exists under its own name.
  for (const db::IndexDefinition& index : db::reportIndexes())
    EXPECT_EQ(c.queryInt("SELECT count(*) FROM pg_indexes WHERE indexname = lower($1)", pg::Params(index.name)), 1)
        << index.name;
}

TEST(PgSchema, TextComparesWithoutRegardToCaseAndKeysHold) {
  TAV_NEED_POSTGRES(server);
  support::ScratchDatabase scratch(server);
  pg::Connection c = pg::Connection::open(scratch.url());
  pg::createSchema(c);
  c.exec("INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FShortNumber, FFullNumber, FName) VALUES "
         "(1, 4, 'AB.01', '01', 'AB.01', 'Bolt'), (2, 4, 'ab.02', '02', 'ab.02', '半成品')");
  EXPECT_EQ(c.queryInt("SELECT FItemID FROM t_Item WHERE FNumber = 'ab.01'"), 1);
  EXPECT_EQ(c.queryInt("SELECT count(*) FROM t_Item WHERE FNumber IN ('AB.02', 'ab.01')"), 2);
  // Grouping folds case too, as it does on the embedded engine.
  EXPECT_EQ(c.queryInt("SELECT count(DISTINCT upper(FNumber)) - count(DISTINCT FNumber) FROM t_Item"), 0);
  // The unique key on (class, number) is case-insensitive: 'ab.01' is the same number as 'AB.01'.
  try {
    c.exec("INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FShortNumber, FFullNumber, FName) "
           "VALUES (3, 4, 'ab.01', '01', 'ab.01', 'Nut')");
    FAIL() << "a number differing only in case was taken as new";
  } catch (const pg::Error& e) {
    EXPECT_EQ(e.sqlState(), "23505");
  }
  // Dates stand in for datetime and stay binary, as on the embedded engine.
  EXPECT_EQ(c.query("SELECT collation_name FROM information_schema.columns WHERE table_name = 'icmo' "
                    "AND column_name = 'fdate'").text(0, 0),
            "");
  EXPECT_EQ(c.queryInt("SELECT count(*) FROM information_schema.columns WHERE table_name = 'icmo' "
                       "AND column_name = 'fbillno' AND collation_name = $1",
                       pg::Params(pg::kCaseInsensitive)),
            1);
  // LIKE runs case-insensitively under the deterministic collation.
  EXPECT_EQ(c.queryInt("SELECT count(*) FROM t_Item WHERE FNumber COLLATE \"default\" ILIKE 'AB.%'"), 2);
  // References hold: an ICItem needs its Item.
  EXPECT_THROW(c.exec("INSERT INTO t_ICItem (FItemID, FNumber, FShortNumber, FName, FErpClsID, FUnitGroupID, FUnitID, "
                      "FStoreUnitID, FProductUnitID) VALUES (99, 'x', 'x', 'x', 1, 1, 1, 1, 1)"),
               pg::Error);
}

TEST(PgSchema, KeysNumberNewRowsAfterRowsLoadedWithTheirOwn) {
  TAV_NEED_POSTGRES(server);
  support::ScratchDatabase scratch(server);
  pg::Connection c = pg::Connection::open(scratch.url());
  pg::createTables(c);
  EXPECT_EQ(c.copyIn("COPY t_Log (FID, FTime, FLogID) FROM STDIN", "7\t2026-01-01 10:00:00\tA\n41\t2026-01-01 10:00:01\tB\n"), 2);
  pg::finishTables(c);
  EXPECT_EQ(c.queryInt("INSERT INTO t_Log (FTime, FLogID) VALUES ('2026-01-02 08:00:00', 'C') RETURNING FID"), 42);
  EXPECT_EQ(c.queryInt("INSERT INTO t_RptFilterScheme (FRptID, FUserID, FName, FModifyTime) "
                       "VALUES (401, 16394, 'x', '2026-01-02 08:00:00') RETURNING FID"),
            1);
  // Keys added after the load hold like declared ones.
  EXPECT_THROW(c.exec("INSERT INTO t_Log (FID, FTime, FLogID) VALUES (7, '2026-01-03 00:00:00', 'D')"), pg::Error);
}

}  // namespace
