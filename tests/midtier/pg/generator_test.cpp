// The demo company loaded into PostgreSQL with COPY is the company SQLite gets: same tables,
// same rows, same values, and the keys and helper functions are in place; the staging schema
// the load fills on its two connections is gone.
#include <gtest/gtest.h>

#include "midtier/db/database.h"
#include "midtier/db/schema.h"
#include "midtier/db/statement.h"
#include "midtier/generator/generator.h"
#include "midtier/pg/schema.h"
#include "platform/core/error.h"
#include "support/pg_server.h"

namespace {

// A table's rows as text, in key order: "v1|v2|...\n".
std::string sqliteRows(db::Database& database, const std::string& sql) {
  db::Statement s = database.prepare(sql);
  std::string out;
  while (s.step()) {
    for (int c = 0; c < s.columnCount(); ++c) out += (c ? "|" : "") + (s.isNull(c) ? "NULL" : s.getText(c));
    out += "\n";
  }
  return out;
}

std::string postgresRows(pg::Connection& connection, const std::string& sql) {
  const pg::Result r = connection.query(sql);
  std::string out;
  for (int row = 0; row < r.rows(); ++row) {
    for (int c = 0; c < r.columns(); ++c) out += (c ? "|" : "") + (r.isNull(row, c) ? "NULL" : std::string(r.text(row, c)));
    out += "\n";
  }
  return out;
}

TEST(PgGenerator, CopyLoadsTheCompanySqliteGets) {
  TAV_NEED_POSTGRES(server);
  support::ScratchDatabase scratch(server);
  pg::Connection connection = pg::Connection::open(scratch.url());
  const gen::Options options{300, 7, {}};
  const gen::Summary onServer = gen::generate(connection, options);
  EXPECT_EQ(connection.queryInt("SELECT count(*) FROM pg_namespace WHERE nspname LIKE 'tav\\_load\\_%'"), 0);
  db::Database database = db::Database::memory();
  db::migrate(database);
  const gen::Summary inFile = gen::generate(database, options);

  ASSERT_EQ(onServer.tables.size(), inFile.tables.size());
  for (std::size_t i = 0; i < inFile.tables.size(); ++i) {
    EXPECT_EQ(onServer.tables[i].table, inFile.tables[i].table);
    EXPECT_EQ(onServer.tables[i].rows, inFile.tables[i].rows) << inFile.tables[i].table;
  }
  EXPECT_GT(onServer.totalRows, 3000);
  EXPECT_EQ(onServer.totalRows, inFile.totalRows);
  // Texts (names with tabs or quotes would break COPY's format), dates and quantities.
  const std::string items = "SELECT FItemID, FNumber, FName, FModel FROM t_ICItem ORDER BY FItemID";
  EXPECT_EQ(postgresRows(connection, items), sqliteRows(database, items));
  const std::string tasks =
      "SELECT FInterID, FBillNo, FDate, FBatchNo, CAST(round(FQty * 10000) AS INTEGER), "
      "CAST(round(FQtyFinish * 10000) AS INTEGER), FNote FROM ICMO ORDER BY FInterID";
  EXPECT_EQ(postgresRows(connection, tasks), sqliteRows(database, tasks));

  // Every reference is in force and was checked against the loaded rows.
  EXPECT_EQ(connection.queryInt("SELECT count(*) FROM pg_constraint WHERE contype = 'f' AND convalidated "
                                "AND connamespace = current_schema()::regnamespace"),
            static_cast<int64_t>(pg::companySchema().references.size()));
  EXPECT_THROW(connection.exec("INSERT INTO ICStockBillEntry (FInterID, FEntryID, FItemID, FUnitID, FAuxQty, FQty) "
                               "VALUES (2147483647, 1, 1, 1, 1, 1)"),
               plat::Error);
  EXPECT_EQ(pg::schemaVersion(connection), db::kSchemaVersion);
  EXPECT_THROW(connection.exec("INSERT INTO t_Item SELECT * FROM t_Item LIMIT 1"), plat::Error);  // keys came after the rows
  EXPECT_EQ(connection.queryInt("SELECT tav_charindex('B', 'abc')"), 2);
  EXPECT_THROW(gen::generate(connection, options), plat::Error);  // a company is there already
}

}  // namespace
