// Text in the company database compares without regard to case, in base and work tables alike,
// so that joins between them keep that meaning and still search the base tables' indexes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "midtier/db/database.h"
#include "midtier/db/schema.h"
#include "midtier/db/statement.h"
#include "midtier/dialect/dialect.h"
#include "midtier/dialect/report_batches.h"
#include "midtier/dialect/test_db.h"
#include "platform/core/error.h"

namespace dialect::testing {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::Each;
using ::testing::HasSubstr;
using ::testing::Not;

// A company with item and department numbers in mixed case: class nodes "0A", "0A.B1",
// "0A.B1.C1"; products spelled in other cases below them; departments "D01" and "d02".
db::Database mixedCaseCompany() {
  db::Database database = db::Database::memory();
  db::migrate(database);
  database.exec(
      "INSERT INTO t_Item (FItemID, FItemClassID, FParentID, FNumber, FShortNumber, FFullNumber, FName, FLevel, FDetail) "
      "VALUES (1, 4, 0, '0A', '0A', '0A', '甲类', 1, 0), (2, 4, 1, '0A.B1', 'B1', '0A.B1', '乙组', 2, 0), "
      "(3, 4, 2, '0A.B1.C1', 'C1', '0A.B1.C1', '丙系', 3, 0), "
      "(10, 4, 3, '0a.b1.c1.0001', '0001', '0a.b1.c1.0001', '螺栓', 4, 1), "
      "(11, 4, 2, '0A.b1.0002', '0002', '0A.b1.0002', '垫圈', 3, 1), "
      "(20, 2, 0, 'D01', 'D01', 'D01', '一车间', 1, 1), (21, 2, 0, 'd02', 'd02', 'd02', '二车间', 1, 1);"
      "INSERT INTO t_UnitGroup VALUES (1, 'G', '个', 1); INSERT INTO t_MeasureUnit VALUES (1, 1, 'PCS', '个', 1);"
      "INSERT INTO t_ICItem (FItemID, FNumber, FShortNumber, FName, FErpClsID, FUnitGroupID, FUnitID, FStoreUnitID, "
      "FProductUnitID) VALUES (10, '0a.b1.c1.0001', '0001', '螺栓', 2, 1, 1, 1, 1), "
      "(11, '0A.b1.0002', '0002', '垫圈', 2, 1, 1, 1, 1);"
      "INSERT INTO t_Department VALUES (20, 'D01', '一车间'), (21, 'd02', '二车间');"
      "CREATE TEMP TABLE [#T401] (FInterID INTEGER PRIMARY KEY, FItemID INTEGER, FDeptID INTEGER, FEmpID INTEGER, "
      "FBatchNo TEXT COLLATE NOCASE, FBaseQty REAL, FStockQty REAL, FFinishBQty REAL, FFinishSQty REAL);"
      "INSERT INTO temp.[#T401] VALUES (1, 10, 20, 0, 'b1', 3, 3, 1, 1), (2, 10, 21, 0, 'B1', 2, 2, 2, 2), "
      "(3, 11, 21, 0, '', 5, 5, 0, 0)");
  return database;
}

std::vector<Row> rowsOf(sqlite3* db, const std::string& batch) {
  std::vector<Row> rows;
  execute(db, batch, [&rows](sqlite3_stmt* stmt) {
    Row row;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) row.push_back(cellText(stmt, i));
    rows.push_back(std::move(row));
  });
  return rows;
}

std::string withoutMarker(std::string batch) {
  const std::string marker = "##ITEMFILTER##";
  for (std::size_t at; (at = batch.find(marker)) != std::string::npos;) batch.erase(at, marker.size());
  return batch;
}

TEST(Collation, NumbersMatchWhateverTheirCaseInBaseAndWorkTables) {
  db::Database database = mixedCaseCompany();
  sqlite3* db = database.handle();

  // The class names of products whose numbers are spelled in another case than their classes'.
  const std::string levels = withoutMarker(itemLevelStatements("", "", 1, 3)) +
                             "\r\nSELECT FNumber, FName1, FName2, FName3 FROM #ItemLevel ORDER BY FItemID";
  const std::vector<Row> names = rowsOf(db, levels);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(rowText(names[0]), "0a.b1.c1.0001 | 甲类 | 乙组 | 丙系");
  EXPECT_EQ(rowText(names[1]), "0A.b1.0002 | 甲类 | 乙组 | NULL");

  // Base table on either side of the comparison, and ranges over base-table numbers.
  const std::vector<Row> departments = rowsOf(
      db,
      "CREATE TABLE #D (FNumber varchar(20), FName varchar(20))\r\nINSERT INTO #D VALUES ('d01', ''), ('D02', '')\r\n"
      "UPDATE d SET FName = t.FName FROM #D d JOIN t_Department t ON t.FNumber = d.FNumber\r\n"
      "SELECT d.FNumber, d.FName, (SELECT count(*) FROM t_Department t WHERE d.FNumber = t.FNumber) FROM #D d "
      "ORDER BY d.FNumber\r\n"
      "SELECT count(*) FROM t_Department WHERE FNumber BETWEEN 'd01' AND 'D02'");
  ASSERT_EQ(departments.size(), 3u);
  EXPECT_EQ(rowText(departments[0]), "d01 | 一车间 | 1");
  EXPECT_EQ(rowText(departments[1]), "D02 | 二车间 | 1");
  EXPECT_EQ(rowText(departments[2]), "2");

  // Batches spelled in two cases group together, as SQL Server's usual collation groups them.
  const std::vector<Row> batches =
      rowsOf(db, "SELECT count(DISTINCT FBatchNo), sum(FBaseQty) FROM #T401 WHERE FItemID = 10 GROUP BY FBatchNo");
  ASSERT_EQ(batches.size(), 1u);
  EXPECT_EQ(rowText(batches[0]), "1 | 5.0");

  // A duplicate number differing only in case is refused by the unique key.
  EXPECT_THROW(database.exec("INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FShortNumber, FFullNumber, FName) "
                             "VALUES (99, 4, '0a', '0a', '0a', 'x')"),
               plat::Error);
}

// EXPLAIN QUERY PLAN details of every UPDATE the batch translates to, run statement by statement
// so that each update is planned over the work tables its batch has filled so far.
std::vector<std::vector<std::string>> updatePlans(db::Database& database, const std::string& batch) {
  std::vector<std::vector<std::string>> plans;
  for (const Statement& statement : translate(batch)) {
    if (statement.sql.find("UPDATE") != std::string::npos) {
      std::vector<std::string> details;
      db::Statement plan = database.prepare("EXPLAIN QUERY PLAN " + statement.sql);
      while (plan.step()) details.push_back(plan.getText(3));
      plans.push_back(std::move(details));
    }
    if (!statement.returnsRows) database.exec(statement.sql);
  }
  return plans;
}

TEST(Collation, LevelNameAndDepartmentUpdatesSearchTheBaseTablesIndexes) {
  db::Database database = mixedCaseCompany();
  registerFunctions(database.handle());

  Options401 level{Grouping401::ClassLevel, 0, 0, 1, 3, "", "", ""};
  std::vector<std::vector<std::string>> plans = updatePlans(database, batch401(level));
  ASSERT_FALSE(plans.empty());
  // The first update fills the level names: one index search of t_Item per level.
  for (const char* alias : {"t1", "t2", "t3"}) {
    EXPECT_THAT(plans[0], Contains(HasSubstr(std::string("SEARCH ") + alias +
                                             " USING INDEX ux_t_Item_Class_Number (FItemClassID=? AND FNumber=?)")))
        << alias;
    EXPECT_THAT(plans[0], Each(Not(HasSubstr(std::string("SCAN ") + alias))));
  }

  Options401 department{Grouping401::Department, 0, 0, 1, 5, "", "", ""};
  plans = updatePlans(database, batch401(department));
  ASSERT_EQ(plans.size(), 2u);
  // Each department is read once to compute its key; the rows of #DATA then search that key.
  for (const std::vector<std::string>& plan : plans) {
    EXPECT_THAT(plan, Contains(AllOf(HasSubstr("SEARCH t_DepartMent"), HasSubstr("INDEX"))));
    EXPECT_THAT(plan, Contains(HasSubstr("SCAN #DATA")));
  }
}

}  // namespace
}  // namespace dialect::testing
