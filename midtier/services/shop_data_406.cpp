// GetRpt406Data: the material issue variance, one row per task of the filter and material it
// plans or draws: standard usage, planned issue, actual issue and their variance.
#include <array>
#include <string>
#include <string_view>

#include <fmt/format.h>

#include "midtier/services/database_errors.h"
#include "midtier/services/rowset.h"
#include "midtier/services/shop_data.h"
#include "midtier/services/task_filter.h"
#include "production/rpt406/filter_keys.h"

namespace midtier {
namespace {

using tasks::Conditions;
using tasks::FilterValues;

constexpr std::array<std::string_view, 58> kFields{
    "Fdate",          "FMOBillNO",          "FPNumber",          "FPShortNumber",     "FPName",
    "FPModel",        "FPAuxPropName",      "FBatchNo",          "FPlanUnitName",     "FPlanAuxQty",
    "FBSPlanUnitName", "FBSPlanQty",        "FCUPlanUnitName",   "FCUPlanQty",        "FFinishUnitName",
    "FFinishAuxQty",  "FBSFinishUnitName",  "FBSFinishQty",      "FCUFinishUnitName", "FCUFinishQty",
    "FFinishRate",    "FItemNumber",        "FItemShortNumber",  "FItemName",         "FStandardUnitName",
    "FStandardAuxQty", "FBSStandardUnitName", "FBSStandardQty",  "FCUStandardUnitName", "FCUStandardQty",
    "FPlanDUnitName", "FPlanDAuxQty",       "FBSPlanDUnitName",  "FBSPlanDQty",       "FCUPlanDUnitName",
    "FCUPlanDQty",    "FfactUnitName",      "FfactAuxQty",       "FBSfactUnitName",   "FBSfactQty",
    "FCUfactUnitName", "FCUfactQty",        "FSituation",        "FDiffUnitName",     "FDiffAuxQty",
    "FBSDiffUnitName", "FBSDiffQty",        "FCUDiffUnitName",   "FCUDiffQty",        "FDiffRate",
    "FDeptName",      "FEmpName",           "FExp",              "FSumSort",          "FInterID",
    "FMaterialID",    "FDeptID",            "FEmpID"};

// Only material quantities are totalled: a task's own quantities repeat on each of its rows.
constexpr std::array<std::string_view, 8> kTotalled{"FBSStandardQty", "FCUStandardQty", "FBSPlanDQty", "FCUPlanDQty",
                                                    "FBSfactQty",     "FCUfactQty",     "FBSDiffQty",  "FCUDiffQty"};

const FieldTypes& fieldTypes() {
  static const FieldTypes types = [] {
    FieldTypes t;
    for (std::string_view f : kFields) t[std::string(f)] = ado::adVarChar;
    for (std::string_view f : kFields)
      if (f.size() > 3 && f.substr(f.size() - 3) == "Qty") t[std::string(f)] = ado::adDecimal;
    for (const char* f : {"FSumSort", "FInterID", "FMaterialID", "FDeptID", "FEmpID"}) t[f] = ado::adInteger;
    return t;
  }();
  return types;
}

// The dialog's filter: texts as typed, dates as date values, its own list orders.
Conditions taskConditions(const lumo::Dictionary& filter) {
  const FilterValues f(filter, tasks::Quotes::AsTyped);
  Conditions c;
  c.range("m.FDate", f.date("BDate", "起始日期"), f.date("EDate", "截止日期"));
  c.range(f.longNumbers() ? "t1.FNumber" : "t1.FShortNumber", f.text("BItemNumber"), f.text("EItemNumber"));
  c.range("td.FNumber", f.text("BDeptNumber"), f.text("EDeptNumber"));
  c.range("te.FNumber", f.text("BEmpNumber"), f.text("EEmpNumber"));
  c.range("m.FBillNo", f.text("BMOBillNo"), f.text("EMOBillNO"));
  for (const char* list : {"CheckState", "CheckClose"}) c.choice(f, production::kRpt406Keys.at(list), "m");
  return c;
}

// The tasks are picked first (t). Planned material (PPBOM) and issues (stock bills of type 24)
// are each summed per task and material, then merged (v), so a material drawn without being
// planned still shows. The row's entered unit is the planned one, else the issue's.
// Variance = issued - planned issue; its rate is against the planned issue.
std::string query(const SqlForms& f, const Conditions& c, const std::string& orderBy) {
  return "WITH t AS (SELECT m.FInterID, m.FBillNo, m.FDate, m.FAuxPropID, m.FBatchNo, m.FUnitID, m.FAuxQty, m.FQty,"
         " m.FQtyFinish, m.FDeptID, m.FEmpID, m.FNote, t1.FNumber, t1.FShortNumber, t1.FName, t1.FModel,"
         " t1.FUnitID AS FBaseUnitID, t1.FStoreUnitID AS FCommonUnitID, td.FName AS FDeptName, te.FName AS FEmpName"
         " FROM ICMO m JOIN t_ICItem t1 ON t1.FItemID = m.FItemID"
         " LEFT JOIN t_Department td ON td.FItemID = m.FDeptID LEFT JOIN t_Emp te ON te.FItemID = m.FEmpID"
         " WHERE 1 = 1" + c.sql() + "),"
         " lines AS (SELECT p.FICMOInterID AS FTask, p.FItemID AS FItemID, min(p.FUnitID) AS FPlanUnitID,"
         " NULL AS FIssueUnitID, sum(p.FStandardQty) AS FStandard, sum(p.FQtyMust) AS FMust, 0 AS FIssued,"
         " min(p.FEntryID) AS FSeq FROM t JOIN PPBOM p ON p.FICMOInterID = t.FInterID GROUP BY p.FICMOInterID, p.FItemID"
         " UNION ALL SELECT e.FICMOInterID, e.FItemID, NULL, min(e.FUnitID), 0, 0, sum(e.FQty), NULL"
         " FROM t JOIN ICStockBillEntry e ON e.FICMOInterID = t.FInterID JOIN ICStockBill b ON b.FInterID = e.FInterID"
         " WHERE b.FTranType = 24 GROUP BY e.FICMOInterID, e.FItemID),"
         " v AS (SELECT FTask, FItemID, coalesce(max(FPlanUnitID), max(FIssueUnitID)) AS FUnitID,"
         " sum(FStandard) AS FStandard, sum(FMust) AS FMust, sum(FIssued) AS FIssued, coalesce(min(FSeq), 1000000) AS FSeq"
         " FROM lines GROUP BY FTask, FItemID)"
         " SELECT t.FDate AS \"Fdate\", t.FBillNo AS \"FMOBillNO\", t.FNumber AS \"FPNumber\", t.FShortNumber AS \"FPShortNumber\","
         " t.FName AS \"FPName\", t.FModel AS \"FPModel\", coalesce(ta.FName, '') AS \"FPAuxPropName\", t.FBatchNo AS \"FBatchNo\","
         " mu.FName AS \"FPlanUnitName\", t.FAuxQty AS \"FPlanAuxQty\", bu.FName AS \"FBSPlanUnitName\", t.FQty AS \"FBSPlanQty\","
         " cu.FName AS \"FCUPlanUnitName\", t.FQty / cu.FCoefficient AS \"FCUPlanQty\","
         " mu.FName AS \"FFinishUnitName\", t.FQtyFinish / mu.FCoefficient AS \"FFinishAuxQty\","
         " bu.FName AS \"FBSFinishUnitName\", t.FQtyFinish AS \"FBSFinishQty\", cu.FName AS \"FCUFinishUnitName\","
         " t.FQtyFinish / cu.FCoefficient AS \"FCUFinishQty\","
         " CASE WHEN t.FQty > 0 THEN " + f.fixed2("100.0 * t.FQtyFinish / t.FQty") + " ELSE '' END AS \"FFinishRate\","
         " i.FNumber AS \"FItemNumber\", i.FShortNumber AS \"FItemShortNumber\", i.FName AS \"FItemName\","
         " lu.FName AS \"FStandardUnitName\", v.FStandard / lu.FCoefficient AS \"FStandardAuxQty\","
         " ib.FName AS \"FBSStandardUnitName\", v.FStandard AS \"FBSStandardQty\","
         " ic.FName AS \"FCUStandardUnitName\", v.FStandard / ic.FCoefficient AS \"FCUStandardQty\","
         " lu.FName AS \"FPlanDUnitName\", v.FMust / lu.FCoefficient AS \"FPlanDAuxQty\","
         " ib.FName AS \"FBSPlanDUnitName\", v.FMust AS \"FBSPlanDQty\","
         " ic.FName AS \"FCUPlanDUnitName\", v.FMust / ic.FCoefficient AS \"FCUPlanDQty\","
         " lu.FName AS \"FfactUnitName\", v.FIssued / lu.FCoefficient AS \"FfactAuxQty\","
         " ib.FName AS \"FBSfactUnitName\", v.FIssued AS \"FBSfactQty\","
         " ic.FName AS \"FCUfactUnitName\", v.FIssued / ic.FCoefficient AS \"FCUfactQty\","
         // 未领料 nothing issued; 正常 issued as planned; 少领 less; 超领 more (or unplanned).
         " CASE WHEN v.FIssued = 0 THEN '未领料' WHEN abs(v.FIssued - v.FMust) < 1e-9 THEN '正常'"
         " WHEN v.FIssued < v.FMust THEN '少领' ELSE '超领' END AS \"FSituation\","
         " lu.FName AS \"FDiffUnitName\", (v.FIssued - v.FMust) / lu.FCoefficient AS \"FDiffAuxQty\","
         " ib.FName AS \"FBSDiffUnitName\", v.FIssued - v.FMust AS \"FBSDiffQty\","
         " ic.FName AS \"FCUDiffUnitName\", (v.FIssued - v.FMust) / ic.FCoefficient AS \"FCUDiffQty\","
         " CASE WHEN v.FMust > 0 THEN " + f.fixed2("100.0 * (v.FIssued - v.FMust) / v.FMust") + " ELSE '' END AS \"FDiffRate\","
         " coalesce(t.FDeptName, '') AS \"FDeptName\", coalesce(t.FEmpName, '') AS \"FEmpName\", t.FNote AS \"FExp\","
         " 0 AS \"FSumSort\", t.FInterID AS \"FInterID\", v.FItemID AS \"FMaterialID\", t.FDeptID AS \"FDeptID\","
         " t.FEmpID AS \"FEmpID\""
         " FROM v JOIN t ON t.FInterID = v.FTask JOIN t_ICItem i ON i.FItemID = v.FItemID"
         " LEFT JOIN t_AuxItem ta ON ta.FItemID = t.FAuxPropID"
         " LEFT JOIN t_MeasureUnit mu ON mu.FMeasureUnitID = t.FUnitID"
         " LEFT JOIN t_MeasureUnit bu ON bu.FMeasureUnitID = t.FBaseUnitID"
         " LEFT JOIN t_MeasureUnit cu ON cu.FMeasureUnitID = t.FCommonUnitID"
         " LEFT JOIN t_MeasureUnit lu ON lu.FMeasureUnitID = v.FUnitID"
         " LEFT JOIN t_MeasureUnit ib ON ib.FMeasureUnitID = i.FUnitID"
         " LEFT JOIN t_MeasureUnit ic ON ic.FMeasureUnitID = i.FStoreUnitID" +
         orderBy;
}

// The total row's variance rate, against the total planned issue.
void totalDiffRate(ado::Recordset& rs) {
  const size_t total = static_cast<size_t>(rs.RecordCount() - 1);
  const double must = rs.NumberAt(total, static_cast<size_t>(rs.FieldIndex("FBSPlanDQty")));
  const double diff = rs.NumberAt(total, static_cast<size_t>(rs.FieldIndex("FBSDiffQty")));
  if (must > 0) rs.SetText(total, static_cast<size_t>(rs.FieldIndex("FDiffRate")), fmt::format("{:.2f}", 100.0 * diff / must));
}

}  // namespace

ado::RecordsetRef ShopData::GetRpt406Data(const std::string& props, lumo::DictionaryRef& filter) {
  if (!filter) throw refusal(tasks::kSource, "GetRpt406Data 需要过滤条件。");
  tasks::checkDataRight(*filter);
  const Conditions conditions = taskConditions(*filter);
  const std::string order =
      tasks::orderBy(filter->Value("OrderBy").text(), kFields, "\"Fdate\", \"FMOBillNO\", v.FSeq, \"FItemNumber\"");
  const bool withTotal = FilterValues(*filter, tasks::Quotes::AsTyped).list("DisplayType", 0) == 0;
  return withConnection(tasks::kSource, props, [&](Connection& c, const Login&) {
    auto select = c.session().query(query(c.forms(), conditions, order), conditions.params());
    ado::RecordsetRef rows = toRecordset(*select, fieldTypes());
    if (withTotal) {
      tasks::appendTotalRow(*rows, "FMOBillNO", kTotalled);
      totalDiffRate(*rows);
    }
    return rows;
  });
}

}  // namespace midtier
