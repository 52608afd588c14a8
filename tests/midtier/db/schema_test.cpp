// The schema: migrations from empty and from older files, and the names others query.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <map>
#include <string>
#include <vector>

#include "midtier/db/database.h"
#include "midtier/db/schema.h"
#include "midtier/db/statement.h"
#include "platform/core/error.h"

namespace {

std::vector<std::string> columnsOf(db::Database& database, const std::string& table) {
  std::vector<std::string> columns;
  db::Statement info = database.prepare("SELECT name FROM pragma_table_info(?)");
  info.bind(1, table);
  while (info.step()) columns.push_back(info.getText(0));
  return columns;
}

std::vector<std::string> indexNames(db::Database& database) {
  std::vector<std::string> names;
  db::Statement list = database.prepare(
      "SELECT name FROM sqlite_schema WHERE type = 'index' AND name NOT LIKE 'sqlite_%' ORDER BY name");
  while (list.step()) names.push_back(list.getText(0));
  return names;
}

// The tables and columns the report queries and the dialect layer rely on, by name.
const std::map<std::string, std::vector<std::string>> kExpectedColumns = {
    {"t_Item", {"FItemID", "FItemClassID", "FParentID", "FNumber", "FShortNumber", "FFullNumber", "FName", "FLevel", "FDetail"}},
    {"t_UnitGroup", {"FUnitGroupID", "FNumber", "FName", "FDefaultUnitID"}},
    {"t_MeasureUnit", {"FMeasureUnitID", "FUnitGroupID", "FNumber", "FName", "FCoefficient"}},
    {"t_ICItem", {"FItemID", "FNumber", "FShortNumber", "FName", "FModel", "FErpClsID", "FUnitGroupID", "FUnitID",
                  "FStoreUnitID", "FProductUnitID", "FQtyDecimal", "FPriceDecimal"}},
    {"t_Department", {"FItemID", "FNumber", "FName"}},
    {"t_Emp", {"FItemID", "FNumber", "FName", "FDepartmentID"}},
    {"t_AuxItem", {"FItemID", "FNumber", "FName"}},
    {"t_organization", {"FItemID", "FNumber", "FName", "FRightUserID"}},
    {"t_supplier", {"FItemID", "FNumber", "FName", "FRightUserID"}},
    {"t_stock", {"FItemID", "FNumber", "FName", "FRightUserID"}},
    {"t_User", {"FUserID", "FName"}},
    {"t_DataRight", {"FUserID", "FKind", "FRestricted"}},
    {"SEOrder", {"FInterID", "FBillNo", "FDate", "FCustID", "FDeptID", "FEmpID", "FCheckerID", "FClosed"}},
    {"SEOrderEntry", {"FInterID", "FEntryID", "FItemID", "FUnitID", "FAuxQty", "FQty", "FPrice", "FAmount", "FDate"}},
    {"ICMO", {"FInterID", "FBillNo", "FTranType", "FDate", "FItemID", "FAuxPropID", "FBatchNo", "FUnitID", "FAuxQty", "FQty",
              "FPlanCommitDate", "FPlanFinishDate", "FStartDate", "FFinishDate", "FQtyFinish", "FStockQty", "FDeptID",
              "FEmpID", "FOrderInterID", "FOrderEntryID", "FCheckerID", "FCheckDate", "FStatus", "FClosed", "FNote"}},
    {"ICStockBill", {"FInterID", "FBillNo", "FTranType", "FDate", "FDeptID", "FDCStockID", "FSCStockID", "FCheckerID"}},
    {"ICStockBillEntry", {"FInterID", "FEntryID", "FItemID", "FUnitID", "FAuxQty", "FQty", "FBatchNo", "FICMOInterID",
                          "FPPBomEntryID"}},
    {"PPBOM", {"FInterID", "FEntryID", "FICMOInterID", "FItemID", "FUnitID", "FQtyPer", "FStandardQty", "FQtyMust"}},
    {"t_PeriodDate", {"FYear", "FPeriod", "FPeriodStart", "FPeriodEnd"}},
    {"cb_ProductPeriodCost", {"FYear", "FPeriod", "FItemID", "FBatchNo", "FPeriodStartNum", "FPeriodStartCost", "FCurInNum",
                              "FCurInCost", "FCurOutNum", "FCurOutCost", "FPeriodEndNum", "FPeriodEndCost"}},
    {"cb_CostElementDef", {"FElementID", "FName"}},
    {"cb_CostElement", {"FYear", "FPeriod", "FItemID", "FBatchNo", "FElementID", "FAmount"}},
    {"t_SystemProfile", {"FCategory", "FKey", "FValue"}},
    {"t_Log", {"FID", "FTime", "FUserID", "FLogID", "FType", "FText"}},
    {"t_RptFilterScheme", {"FID", "FRptID", "FUserID", "FName", "FIsDefault", "FContent", "FModifyTime"}},
};

TEST(Schema, MigrationFromEmptyCreatesEveryTableWithItsColumns) {
  db::Database database = db::Database::memory();
  EXPECT_EQ(db::schemaVersion(database), 0);
  db::migrate(database);
  EXPECT_EQ(db::schemaVersion(database), db::kSchemaVersion);
  for (const auto& [table, columns] : kExpectedColumns) EXPECT_EQ(columnsOf(database, table), columns) << table;
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"),
            static_cast<int64_t>(kExpectedColumns.size()));
  for (const db::IndexDefinition& index : db::reportIndexes()) {
    EXPECT_THAT(indexNames(database), ::testing::Contains(std::string(index.name)));
  }
}

TEST(Schema, MigrationIsIdempotentAndUpgradesAnOlderFileKeepingItsRows) {
  db::Database database = db::Database::memory();
  db::migrateTo(database, 1);
  EXPECT_EQ(db::schemaVersion(database), 1);
  EXPECT_THAT(indexNames(database), ::testing::Not(::testing::Contains(std::string("ix_ICMO_FDate"))));
  database.exec("INSERT INTO t_User VALUES (16394, 'administrator')");
  db::migrate(database);
  EXPECT_EQ(db::schemaVersion(database), 3);
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM t_User WHERE FName = 'ADMINISTRATOR'"), 1);
  EXPECT_THAT(indexNames(database), ::testing::Contains(std::string("ix_ICMO_FDate")));
  const std::vector<std::string> before = indexNames(database);
  db::migrate(database);  // nothing left to do
  EXPECT_EQ(indexNames(database), before);
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM t_User"), 1);
}

TEST(Schema, FileFromANewerProgramIsRefused) {
  db::Database database = db::Database::memory();
  database.exec("PRAGMA user_version = 99");
  try {
    db::migrate(database);
    FAIL() << "migrated a newer schema";
  } catch (const plat::Error& error) {
    EXPECT_THAT(error.description(), ::testing::HasSubstr("schema version 99, newer than this program's 3"));
  }
}

TEST(Schema, ReportIndexesCanBeDroppedAndRebuilt) {
  db::Database database = db::Database::memory();
  db::migrate(database);
  const std::vector<std::string> all = indexNames(database);
  db::dropReportIndexes(database);
  EXPECT_EQ(indexNames(database).size(), all.size() - db::reportIndexes().size());
  db::createReportIndexes(database);
  db::createReportIndexes(database);  // tolerates existing ones
  EXPECT_EQ(indexNames(database), all);
}

}  // namespace
