// SQLite rows into record sets: field types from hints, declarations or the first value seen.
#include <gtest/gtest.h>

#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "midtier/dbi/sqlite_session.h"
#include "midtier/services/rowset.h"
#include "platform/forms/scripted_front_end.h"

namespace {

TEST(MidtierRowset, FieldTypesAndValuesOfEveryKindOfColumn) {
  auto database = db::Database::memory();
  database.exec(
      "CREATE TABLE t (FNumber TEXT, FQty REAL, FCount INTEGER, FDate TEXT);"
      "INSERT INTO t VALUES ('01.001', 2.5, 3, '2024-01-31'), ('01.002', NULL, NULL, NULL),"
      "                     ('01.003', 4, 7, '2024-02-01');");
  auto stmt = database.prepare(
      "SELECT FNumber, FQty, FCount, FDate, FDate AS FDay, "
      "CASE WHEN FCount = 7 THEN FCount * 1.5 END AS FLate, NULL AS FNothing, "
      "CASE WHEN FCount = 7 THEN 'x' END AS FLateText, FCount || '' AS FCountText "
      "FROM t ORDER BY FNumber");
  dbi::StatementRows rows(stmt);
  auto rs = midtier::toRecordset(rows, {{"fday", ado::adDate}});

  const std::vector<std::pair<std::string, int>> fields = {
      {"FNumber", ado::adVarChar}, {"FQty", ado::adDecimal},   {"FCount", ado::adInteger},
      {"FDate", ado::adVarChar},   {"FDay", ado::adDate},      {"FLate", ado::adDouble},
      {"FNothing", ado::adVarChar}, {"FLateText", ado::adVarChar}, {"FCountText", ado::adVarChar}};
  ASSERT_EQ(rs->FieldCount(), static_cast<long>(fields.size()));
  for (size_t i = 0; i < fields.size(); ++i) {
    EXPECT_EQ(rs->FieldAt(i).name, fields[i].first);
    EXPECT_EQ(rs->FieldAt(i).type, fields[i].second) << fields[i].first;
  }
  ASSERT_EQ(rs->RecordCount(), 3);
  EXPECT_EQ(rs->AbsolutePosition(), 1);
  EXPECT_EQ(rs->Value("FQty").toDouble(), 2.5);
  EXPECT_EQ(rs->Value("FDate"), plat::Variant("2024-01-31"));  // text dates stay text
  EXPECT_EQ(rs->Value("FDay").toDate(), plat::Date(2024, 1, 31));
  EXPECT_TRUE(rs->Value("FLate").isNull());  // held back until the third row decided the type
  EXPECT_EQ(rs->Value("FCountText"), plat::Variant("3"));
  rs->MoveNext();
  for (const char* name : {"FQty", "FCount", "FDay", "FLate", "FNothing"}) EXPECT_TRUE(rs->Value(name).isNull()) << name;
  rs->MoveNext();
  EXPECT_EQ(rs->Value("FLate").toDouble(), 10.5);
  EXPECT_EQ(rs->Value("FLateText"), plat::Variant("x"));
  EXPECT_EQ(rs->Value("FDay").toDate(), plat::Date(2024, 2, 1));
}

TEST(MidtierRowset, NoRowsStillGivesTheFields) {
  auto database = db::Database::memory();
  database.exec("CREATE TABLE t (FBillNo TEXT)");
  auto stmt = database.prepare("SELECT FBillNo, 1 + 1 AS FExpr FROM t");
  dbi::StatementRows rows(stmt);
  auto rs = midtier::toRecordset(rows);
  EXPECT_EQ(rs->RecordCount(), 0);
  EXPECT_TRUE(rs->Eof());
  ASSERT_EQ(rs->FieldCount(), 2);
  EXPECT_EQ(rs->FieldAt(1).type, ado::adVarChar);
}

// A long read tells the front end how far it has come, so a host can show a row count.
TEST(MidtierRowset, ALongReadReportsItsRowCountAsItGoes) {
  struct Counting : forms::ScriptedFrontEnd {
    std::vector<long> seen;
    void rowsRead(long rows) override { seen.push_back(rows); }
  };
  auto counting = std::make_shared<Counting>();
  forms::FrontEndScope scope(counting);
  auto database = db::Database::memory();
  auto stmt = database.prepare(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 45000) SELECT i FROM n");
  dbi::StatementRows rows(stmt);
  EXPECT_EQ(midtier::toRecordset(rows)->RecordCount(), 45000);
  EXPECT_EQ(counting->seen, (std::vector<long>{20000, 40000}));
}

}  // namespace
