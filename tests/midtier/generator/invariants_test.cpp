// Invariants of the generated data, each checked by an independent query or walk.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "midtier/db/statement.h"
#include "midtier/generator/generated.h"

namespace {

using testing_gen::generatedDatabase;

int64_t count(const std::string& sql) { return generatedDatabase().queryInt(sql); }

// Each query counts the rows that break a rule; every count must be 0.
struct Rule {
  const char* name;
  const char* violations;
};

void expectNoViolations(std::initializer_list<Rule> rules) {
  for (const Rule& rule : rules) EXPECT_EQ(count(rule.violations), 0) << rule.name;
}

TEST(GeneratedData, ProductCostBalancesInEveryPeriodAndCarriesOver) {
  expectNoViolations({
      {"opening + in - out = closing",
       "SELECT count(*) FROM cb_ProductPeriodCost WHERE FPeriodStartNum + FCurInNum - FCurOutNum <> FPeriodEndNum "
       "OR abs(FPeriodStartCost + FCurInCost - FCurOutCost - FPeriodEndCost) > 0.0001"},
      {"amounts have two decimals",
       "SELECT count(*) FROM cb_ProductPeriodCost WHERE "
       "abs(FCurInCost * 100 - round(FCurInCost * 100)) > 1e-6 OR abs(FCurOutCost * 100 - round(FCurOutCost * 100)) > 1e-6 "
       "OR abs(FPeriodEndCost * 100 - round(FPeriodEndCost * 100)) > 1e-6"},
      {"no negative work in progress",
       "SELECT count(*) FROM cb_ProductPeriodCost WHERE FPeriodEndNum < 0 OR FPeriodEndCost < 0 OR FCurOutCost < 0"},
      {"closing = opening of the next period",
       "SELECT count(*) FROM cb_ProductPeriodCost c JOIN cb_ProductPeriodCost n ON n.FItemID = c.FItemID "
       "AND n.FBatchNo = c.FBatchNo AND n.FYear * 12 + n.FPeriod = c.FYear * 12 + c.FPeriod + 1 "
       "WHERE n.FPeriodStartNum <> c.FPeriodEndNum OR abs(n.FPeriodStartCost - c.FPeriodEndCost) > 0.0001"},
      {"work in progress is carried into the next period",
       "SELECT count(*) FROM cb_ProductPeriodCost c LEFT JOIN cb_ProductPeriodCost n ON n.FItemID = c.FItemID "
       "AND n.FBatchNo = c.FBatchNo AND n.FYear * 12 + n.FPeriod = c.FYear * 12 + c.FPeriod + 1 "
       "WHERE n.FItemID IS NULL AND c.FPeriodEndNum <> 0 AND NOT (c.FYear = 2026 AND c.FPeriod = 11)"},
      {"a first period opens empty",
       "SELECT count(*) FROM cb_ProductPeriodCost c LEFT JOIN cb_ProductPeriodCost p ON p.FItemID = c.FItemID "
       "AND p.FBatchNo = c.FBatchNo AND p.FYear * 12 + p.FPeriod = c.FYear * 12 + c.FPeriod - 1 "
       "WHERE p.FItemID IS NULL AND (c.FPeriodStartNum <> 0 OR c.FPeriodStartCost <> 0)"},
      {"periods within the closed range",
       "SELECT count(*) FROM cb_ProductPeriodCost WHERE FYear * 100 + FPeriod NOT BETWEEN 202501 AND 202611"},
  });
  // The year end is crossed: 2025/12 closings reappear as 2026/1 openings.
  EXPECT_GT(count("SELECT count(*) FROM cb_ProductPeriodCost c JOIN cb_ProductPeriodCost n ON n.FItemID = c.FItemID "
                  "AND n.FBatchNo = c.FBatchNo AND n.FYear = 2026 AND n.FPeriod = 1 "
                  "WHERE c.FYear = 2025 AND c.FPeriod = 12 AND c.FPeriodEndNum > 0"),
            0);
}

TEST(GeneratedData, CostElementsSumToTheOutputCost) {
  expectNoViolations({
      {"seven elements per row with output, summing to FCurOutCost",
       "SELECT count(*) FROM cb_ProductPeriodCost c LEFT JOIN (SELECT FYear, FPeriod, FItemID, FBatchNo, "
       "sum(FAmount) AS total, count(*) AS n, count(DISTINCT FElementID) AS kinds FROM cb_CostElement "
       "GROUP BY FYear, FPeriod, FItemID, FBatchNo) e USING (FYear, FPeriod, FItemID, FBatchNo) "
       "WHERE (c.FCurOutNum <> 0 AND (e.n IS NOT 7 OR e.kinds IS NOT 7 OR abs(e.total - c.FCurOutCost) > 0.0001)) "
       "OR (c.FCurOutNum = 0 AND e.n IS NOT NULL)"},
      {"every element row belongs to a cost row",
       "SELECT count(*) FROM cb_CostElement e LEFT JOIN cb_ProductPeriodCost c USING (FYear, FPeriod, FItemID, FBatchNo) "
       "WHERE c.FItemID IS NULL"},
      {"no negative element", "SELECT count(*) FROM cb_CostElement WHERE FAmount < 0"},
      {"elements are defined", "SELECT count(*) FROM cb_CostElement WHERE FElementID NOT IN (SELECT FElementID FROM cb_CostElementDef)"},
  });
  EXPECT_EQ(count("SELECT count(*) FROM cb_CostElementDef"), 7);
}

TEST(GeneratedData, CostRowsFollowTheTasksOfEachBatch) {
  expectNoViolations({
      {"every costed product and batch has a task",
       "SELECT count(*) FROM cb_ProductPeriodCost c WHERE NOT EXISTS "
       "(SELECT 1 FROM ICMO m WHERE m.FItemID = c.FItemID AND m.FBatchNo = c.FBatchNo)"},
      {"output over all periods = receipts of the batch's tasks",
       "SELECT count(*) FROM (SELECT FItemID, FBatchNo, sum(FCurOutNum) AS q FROM cb_ProductPeriodCost GROUP BY 1, 2) c "
       "FULL JOIN (SELECT e.FItemID, e.FBatchNo, sum(e.FQty) AS q FROM ICStockBillEntry e JOIN ICStockBill b "
       "ON b.FInterID = e.FInterID WHERE b.FTranType = 2 GROUP BY 1, 2) r USING (FItemID, FBatchNo) "
       "WHERE coalesce(c.q, 0) <> coalesce(r.q, 0)"},
  });
}

TEST(GeneratedData, ReceiptsIssuesAndPlannedMaterialMatchTheirTasks) {
  expectNoViolations({
      {"FStockQty = sum of the task's receipt entries",
       "SELECT count(*) FROM ICMO m LEFT JOIN (SELECT e.FICMOInterID AS id, sum(e.FQty) AS q FROM ICStockBillEntry e "
       "JOIN ICStockBill b ON b.FInterID = e.FInterID WHERE b.FTranType = 2 GROUP BY 1) r ON r.id = m.FInterID "
       "WHERE m.FStockQty <> coalesce(r.q, 0)"},
      {"receipts carry the task's product and batch, dated after its start",
       "SELECT count(*) FROM ICStockBillEntry e JOIN ICStockBill b ON b.FInterID = e.FInterID AND b.FTranType = 2 "
       "JOIN ICMO m ON m.FInterID = e.FICMOInterID "
       "WHERE e.FItemID <> m.FItemID OR e.FBatchNo <> m.FBatchNo OR b.FDate < m.FStartDate OR b.FDate > '2026-11-30'"},
      {"at most three receipts per task",
       "SELECT count(*) FROM (SELECT e.FICMOInterID FROM ICStockBillEntry e JOIN ICStockBill b ON b.FInterID = e.FInterID "
       "WHERE b.FTranType = 2 GROUP BY 1 HAVING count(*) > 3)"},
      {"every issue line points to its task's PPBOM line for the same material",
       "SELECT count(*) FROM ICStockBillEntry e JOIN ICStockBill b ON b.FInterID = e.FInterID AND b.FTranType = 24 "
       "LEFT JOIN PPBOM p ON p.FICMOInterID = e.FICMOInterID AND p.FEntryID = e.FPPBomEntryID "
       "WHERE p.FItemID IS NOT e.FItemID OR p.FUnitID IS NOT e.FUnitID"},
      {"bill numbers by kind",
       "SELECT count(*) FROM ICStockBill WHERE NOT ((FTranType = 2 AND FBillNo GLOB 'CIN[0-9][0-9][0-9][0-9][0-9][0-9]*' "
       "AND FDCStockID > 0) OR (FTranType = 24 AND FBillNo GLOB 'SOUT[0-9][0-9][0-9][0-9][0-9][0-9]*' AND FSCStockID > 0))"},
      {"standard usage = planned quantity x usage per unit, planned issue up to 5% more",
       "SELECT count(*) FROM PPBOM p JOIN ICMO m ON m.FInterID = p.FICMOInterID JOIN t_ICItem i ON i.FItemID = p.FItemID "
       "WHERE abs(p.FStandardQty - round(m.FQty * p.FQtyPer, i.FQtyDecimal)) > 1e-9 OR p.FQtyMust < p.FStandardQty "
       "OR p.FQtyMust > round(p.FStandardQty * 1.05, i.FQtyDecimal) + 1e-9"},
      {"one PPBOM per task", "SELECT count(*) FROM PPBOM WHERE FInterID <> FICMOInterID"},
      {"tasks not started have no issues or receipts",
       "SELECT count(*) FROM ICStockBillEntry e JOIN ICMO m ON m.FInterID = e.FICMOInterID WHERE m.FStartDate IS NULL"},
  });
  // Issues differ from the plan in every way the variance report distinguishes.
  const char* perLine =
      "SELECT p.FQtyMust AS must, coalesce(sum(e.FQty), 0) AS issued, m.FFinishDate AS finish FROM PPBOM p "
      "JOIN ICMO m ON m.FInterID = p.FICMOInterID LEFT JOIN ICStockBillEntry e ON e.FICMOInterID = p.FICMOInterID "
      "AND e.FPPBomEntryID = p.FEntryID WHERE m.FStartDate IS NOT NULL GROUP BY p.FInterID, p.FEntryID";
  const std::string lines = std::string("SELECT count(*) FROM (") + perLine + ") ";
  EXPECT_GT(count(lines + "WHERE abs(issued - must) < 1e-9"), 0) << "as planned";
  EXPECT_GT(count(lines + "WHERE issued > 0 AND issued < must - 1e-9 AND finish IS NOT NULL"), 0) << "short";
  EXPECT_GT(count(lines + "WHERE issued > must + 1e-9"), 0) << "over";
  EXPECT_GT(count(lines + "WHERE issued = 0 AND finish IS NOT NULL"), 0) << "none";
  EXPECT_GT(count(lines + "WHERE issued = 0 AND finish IS NULL"), 0) << "not yet";
  EXPECT_GT(count("SELECT count(*) FROM (SELECT FICMOInterID FROM ICStockBillEntry e JOIN ICStockBill b "
                  "ON b.FInterID = e.FInterID WHERE b.FTranType = 24 GROUP BY 1 HAVING count(DISTINCT e.FInterID) = 2)"),
            0)
      << "issued in two bills";
}

TEST(GeneratedData, TasksCoverEveryStateOfTheReports) {
  expectNoViolations({
      {"bill dates in the demo calendar",
       "SELECT count(*) FROM ICMO WHERE FDate NOT BETWEEN '2025-01-01' AND '2026-11-30' OR FTranType <> 85"},
      {"dates in order",
       "SELECT count(*) FROM ICMO WHERE FPlanCommitDate < FDate OR FPlanFinishDate < FPlanCommitDate "
       "OR FStartDate < FDate OR FFinishDate < FStartDate OR FFinishDate > '2026-11-30' OR FStartDate > '2026-11-30'"},
      {"state is consistent",
       "SELECT count(*) FROM ICMO WHERE (FStatus = 0 AND (FStartDate IS NOT NULL OR FCheckerID <> 0)) "
       "OR (FStatus = 1 AND (FFinishDate IS NOT NULL OR FCheckerID = 0)) OR (FStatus = 3 AND FFinishDate IS NULL) "
       "OR (FClosed = 1 AND FStatus <> 3) OR (FCheckerID = 0) <> (FCheckDate IS NULL) OR FStatus NOT IN (0, 1, 3)"},
      {"finished quantities",
       "SELECT count(*) FROM ICMO WHERE FQtyFinish < 0 OR FStockQty > FQtyFinish OR (FStartDate IS NULL AND FQtyFinish <> 0) "
       "OR (FFinishDate IS NULL AND FQtyFinish >= FQty)"},
      {"sales-order links point to an entry for the same product and quantity",
       "SELECT count(*) FROM ICMO m LEFT JOIN SEOrderEntry e ON e.FInterID = m.FOrderInterID AND e.FEntryID = m.FOrderEntryID "
       "WHERE m.FOrderInterID <> 0 AND (e.FItemID IS NOT m.FItemID OR e.FQty IS NOT m.FQty)"},
      {"bill numbers", "SELECT count(*) FROM ICMO WHERE FBillNo NOT GLOB 'WORK[0-9][0-9][0-9][0-9][0-9][0-9]'"},
      {"products are self-made",
       "SELECT count(*) FROM ICMO m JOIN t_ICItem i ON i.FItemID = m.FItemID WHERE i.FErpClsID <> 2"},
  });
  struct Share {
    const char* state;
    const char* where;
  };
  for (const Share& share : std::initializer_list<Share>{
           {"early", "FFinishDate < FPlanFinishDate"},
           {"on time", "FFinishDate = FPlanFinishDate"},
           {"late", "FFinishDate > FPlanFinishDate"},
           {"overdue and open", "FFinishDate IS NULL AND FPlanFinishDate < '2026-11-30'"},
           {"open, not overdue", "FFinishDate IS NULL AND FPlanFinishDate >= '2026-11-30'"},
           {"not started", "FStartDate IS NULL"},
           {"unchecked", "FCheckerID = 0"},
           {"finished, not closed", "FStatus = 3 AND FClosed = 0"},
           {"closed", "FClosed = 1"},
           {"entered in the base unit", "FAuxQty = FQty"},
           {"entered in a larger unit", "FAuxQty < FQty"},
           {"with an auxiliary property", "FAuxPropID <> 0"},
           {"with a memo", "FNote <> ''"},
       }) {
    EXPECT_GT(count(std::string("SELECT count(*) FROM ICMO WHERE ") + share.where), 0) << share.state;
  }
  const int64_t linked = count("SELECT count(*) FROM ICMO WHERE FOrderInterID <> 0");
  EXPECT_GT(linked, 2000 * 50 / 100);
  EXPECT_LT(linked, 2000 * 70 / 100);
}

TEST(GeneratedData, QuantitiesAgreeWithTheUnitCoefficients) {
  expectNoViolations({
      {"one base unit per group, its default",
       "SELECT count(*) FROM t_UnitGroup g WHERE (SELECT count(*) FROM t_MeasureUnit u WHERE u.FUnitGroupID = g.FUnitGroupID "
       "AND u.FCoefficient = 1) <> 1 OR (SELECT FCoefficient FROM t_MeasureUnit WHERE FMeasureUnitID = g.FDefaultUnitID) <> 1 "
       "OR (SELECT count(*) FROM t_MeasureUnit u WHERE u.FUnitGroupID = g.FUnitGroupID) < 2"},
      {"item units belong to the item's group; the base unit has coefficient 1",
       "SELECT count(*) FROM t_ICItem i JOIN t_MeasureUnit b ON b.FMeasureUnitID = i.FUnitID "
       "JOIN t_MeasureUnit s ON s.FMeasureUnitID = i.FStoreUnitID JOIN t_MeasureUnit p ON p.FMeasureUnitID = i.FProductUnitID "
       "WHERE b.FCoefficient <> 1 OR b.FUnitGroupID <> i.FUnitGroupID OR s.FUnitGroupID <> i.FUnitGroupID "
       "OR p.FUnitGroupID <> i.FUnitGroupID"},
      {"tasks: FQty = FAuxQty x coefficient",
       "SELECT count(*) FROM ICMO m JOIN t_ICItem i ON i.FItemID = m.FItemID JOIN t_MeasureUnit u ON u.FMeasureUnitID = m.FUnitID "
       "WHERE abs(m.FAuxQty * u.FCoefficient - m.FQty) > 1e-9 * m.FQty OR u.FUnitGroupID <> i.FUnitGroupID"},
      {"order entries: FQty = FAuxQty x coefficient, amount = quantity x price",
       "SELECT count(*) FROM SEOrderEntry e JOIN t_MeasureUnit u ON u.FMeasureUnitID = e.FUnitID "
       "WHERE abs(e.FAuxQty * u.FCoefficient - e.FQty) > 1e-9 * e.FQty OR abs(e.FAuxQty * e.FPrice - e.FAmount) > 0.005"},
      {"stock bill entries: FQty = FAuxQty x coefficient, unit of the item's group",
       "SELECT count(*) FROM ICStockBillEntry e JOIN t_ICItem i ON i.FItemID = e.FItemID "
       "JOIN t_MeasureUnit u ON u.FMeasureUnitID = e.FUnitID "
       "WHERE abs(e.FAuxQty * u.FCoefficient - e.FQty) > 1e-9 * e.FQty OR u.FUnitGroupID <> i.FUnitGroupID OR e.FQty <= 0"},
      {"planned material in a unit of the material's group",
       "SELECT count(*) FROM PPBOM p JOIN t_ICItem i ON i.FItemID = p.FItemID JOIN t_MeasureUnit u ON u.FMeasureUnitID = p.FUnitID "
       "WHERE u.FUnitGroupID <> i.FUnitGroupID"},
  });
}

TEST(GeneratedData, ForeignKeysHold) {
  db::Statement check = generatedDatabase().prepare("PRAGMA foreign_key_check");
  EXPECT_FALSE(check.step()) << "first violation in table " << check.getText(0);
}

// Walks the class-4 tree independently of SQL: each detail's number is its parent's
// number plus a four-digit sequence, and each prefix before a '.' is a class node at the
// matching level -- what the item-level statements rely on.
TEST(GeneratedData, ItemNumbersMirrorTheClassTree) {
  struct Row {
    int64_t id, parent;
    std::string number, shortNumber, fullNumber;
    int level, detail;
  };
  std::map<std::string, Row> byNumber;
  std::map<int64_t, std::string> numberById;
  db::Statement rows = generatedDatabase().prepare(
      "SELECT FItemID, FParentID, FNumber, FShortNumber, FFullNumber, FLevel, FDetail FROM t_Item WHERE FItemClassID = 4");
  while (rows.step()) {
    Row row{rows.getInt64(0), rows.getInt64(1), rows.getText(2), rows.getText(3), rows.getText(4),
            static_cast<int>(rows.getInt64(5)), static_cast<int>(rows.getInt64(6))};
    numberById[row.id] = row.number;
    byNumber[row.number] = row;
  }
  std::map<int, int> detailsAtLevel;
  for (const auto& [number, row] : byNumber) {
    std::vector<std::string> segments;
    for (std::size_t start = 0;;) {
      const std::size_t dot = number.find('.', start);
      segments.push_back(number.substr(start, dot - start));
      if (dot == std::string::npos) break;
      start = dot + 1;
    }
    EXPECT_EQ(row.fullNumber, number);
    EXPECT_EQ(row.shortNumber, segments.back()) << number;
    EXPECT_EQ(static_cast<int>(segments.size()), row.level) << number;
    EXPECT_EQ(segments.back().size(), row.detail == 1 ? 4u : 2u) << number;
    const std::string parent = row.level == 1 ? "" : number.substr(0, number.rfind('.'));
    EXPECT_EQ(row.parent == 0 ? "" : numberById[row.parent], parent) << number;
    std::string prefix;
    for (std::size_t l = 0; l + 1 < segments.size(); ++l) {
      prefix += (l > 0 ? "." : "") + segments[l];
      auto ancestor = byNumber.find(prefix);
      ASSERT_NE(ancestor, byNumber.end()) << "missing ancestor " << prefix << " of " << number;
      EXPECT_EQ(ancestor->second.detail, 0) << prefix;
      EXPECT_EQ(ancestor->second.level, static_cast<int>(l) + 1) << prefix;
    }
    if (row.detail == 1) ++detailsAtLevel[row.level];
  }
  // Items under level-2, level-3 and level-4 classes; level-3 classes hold the most.
  EXPECT_GT(detailsAtLevel[3], 0);
  EXPECT_GT(detailsAtLevel[5], 0);
  EXPECT_GT(detailsAtLevel[4], detailsAtLevel[3]);
  EXPECT_GT(detailsAtLevel[4], detailsAtLevel[5]);
  EXPECT_EQ(detailsAtLevel.size(), 3u);
  // The first-level ancestor as the item-level statements compute it: the number up to
  // the first '.', found again as a class node.
  EXPECT_EQ(count("SELECT count(*) FROM t_Item d LEFT JOIN t_Item c ON c.FNumber = substr(d.FNumber, 1, "
                  "instr(d.FFullNumber, '.') - 1) AND c.FItemClassID = 4 AND c.FDetail = 0 "
                  "WHERE d.FItemClassID = 4 AND d.FDetail = 1 AND c.FItemID IS NULL"),
            0);
  expectNoViolations({
      {"details of class 4 and t_ICItem match",
       "SELECT count(*) FROM (SELECT * FROM t_Item WHERE FItemClassID = 4 AND FDetail = 1) t "
       "FULL JOIN t_ICItem i ON i.FItemID = t.FItemID WHERE i.FNumber IS NOT t.FNumber "
       "OR i.FShortNumber IS NOT t.FShortNumber OR i.FName IS NOT t.FName"},
      {"virtual items are never produced",
       "SELECT count(*) FROM t_ICItem WHERE FErpClsID = 4 AND FItemID IN (SELECT FItemID FROM ICMO)"},
  });
  EXPECT_GT(count("SELECT count(*) FROM t_ICItem WHERE FErpClsID = 4"), 0);
}

}  // namespace
