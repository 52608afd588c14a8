// GetRpt400Data: the production task execution detail, one row per task of the filter with its
// planned, finished and stocked quantities in the entered, the base and the common unit.
#include <array>
#include <string>
#include <string_view>

#include "midtier/services/database_errors.h"
#include "midtier/services/rowset.h"
#include "midtier/services/shop_data.h"
#include "midtier/services/task_filter.h"
#include "production/rpt400/filter_keys.h"

namespace midtier {
namespace {

using tasks::Conditions;
using tasks::FilterValues;

// The fields of a row, in column order; FSumSort 0 marks a task, 101 the total row.
constexpr std::array<std::string_view, 45> kFields{
    "Fdate",           "FMOBillNO",         "FNumber",          "FShortNumber",      "FName",
    "FModel",          "FAuxPropName",      "FBatchNo",         "FPlanUnitName",     "FPlanAuxQty",
    "FBSPlanUnitName", "FBSPlanQty",        "FCUPlanUnitName",  "FCUPlanQty",        "FBeginDate",
    "FFinishUnitName", "FFinishAuxQty",     "FBSFinishUnitName", "FBSFinishQty",     "FCUFinishUnitName",
    "FCUFinishQty",    "FPlanFinishDate",   "FFinishDate",      "FFinishRate",       "FOrderBillNo",
    "FStockBillNo",    "FStockDate",        "FStockUnitName",   "FStockAuxQty",      "FBSStockUnitName",
    "FBSStockQty",     "FCUStockUnitName",  "FCUStockQty",      "FBSUnStockUnitName", "FBSUnStockQty",
    "FCUUnStockUnitName", "FCUUnStockQty",  "FDeptName",        "FEmpName",          "FExp",
    "FSumSort",        "FInterID",          "FItemID",          "FDeptID",           "FEmpID"};

// Quantities of different products and units add up only in the base and the common unit.
constexpr std::array<std::string_view, 8> kTotalled{"FBSPlanQty",  "FCUPlanQty",  "FBSFinishQty",  "FCUFinishQty",
                                                    "FBSStockQty", "FCUStockQty", "FBSUnStockQty", "FCUUnStockQty"};

const FieldTypes& fieldTypes() {
  static const FieldTypes types = [] {
    FieldTypes t;
    for (std::string_view f : kFields) t[std::string(f)] = ado::adVarChar;
    for (const char* f : {"FPlanAuxQty", "FBSPlanQty", "FCUPlanQty", "FFinishAuxQty", "FBSFinishQty", "FCUFinishQty",
                          "FStockAuxQty", "FBSStockQty", "FCUStockQty", "FBSUnStockQty", "FCUUnStockQty"})
      t[f] = ado::adDecimal;
    for (const char* f : {"FSumSort", "FInterID", "FItemID", "FDeptID", "FEmpID"}) t[f] = ado::adInteger;
    return t;
  }();
  return types;
}

// "" (no bound) for a begin or end date at or past the dialog's widest defaults.
std::string openBegin(std::string date) { return date <= "1900-01-01" ? std::string() : date; }
std::string openEnd(std::string date) { return date >= "2100-01-01" ? std::string() : date; }

// The filter of the dialog (texts with doubled quotes, dates as "YYYY-MM-DD") and of the
// summary report's drill-down, whose filter holds only dates, product, salesman and department
// ranges, states, the batch ("BBatchNo" one batch, "BatchNo" = "FBATCHNO" any batch) and
// perhaps "Dept", a department name. A missing key restricts nothing.
Conditions taskConditions(const lumo::Dictionary& filter, const std::string& today) {
  const FilterValues f(filter, tasks::Quotes::Doubled);
  Conditions c;
  c.range("m.FDate", f.date("BDate", "起始日期"), f.date("EDate", "截止日期"));
  // The dialog's widest planned dates (1900-01-01..2100-01-01) restrict nothing on these
  // columns, which always hold a date; left in, they make the planner take the planned-finish
  // index for a range as narrow as the bill dates'.
  c.range("m.FPlanCommitDate", openBegin(f.date("BWorkDate", "开工起始日期")), openEnd(f.date("EWorkDate", "开工截止日期")));
  c.range("m.FPlanFinishDate", openBegin(f.date("BPlanDate", "计划完工起始日期")),
          openEnd(f.date("EPlanDate", "计划完工截止日期")));
  // The dialog removes the actual-finish range while "考虑完工日期" is unchecked.
  if (f.list("chkFinish", 1) != 0)
    c.range("m.FFinishDate", f.date("BFactDate", "实际完工起始日期"), f.date("EFactDate", "实际完工截止日期"));
  c.range(f.longNumbers() ? "t1.FNumber" : "t1.FShortNumber", f.text("BItemNumber"), f.text("EItemNumber"));
  c.range("te.FNumber", f.text("BEmp"), f.text("EEmp"));
  c.range("td.FNumber", f.text("BDept"), f.text("EDept"));
  c.range("m.FBillNo", f.text("BProductBillNo"), f.text("EProductBillNo"));
  c.range("so.FBillNo", f.text("BOrderBillNo"), f.text("EOrderBillNo"));
  // A department row of the summary names its department; "" is the row of tasks without one.
  if (f.has("Dept")) c.add("coalesce(td.FName, '') = ?", filter.Value("Dept").text());
  // One batch, matched exactly: a drill-down row's batch must not take in its longer namesakes.
  if (const std::string batch = f.text("BBatchNo"); !batch.empty()) c.add("m.FBatchNo = ?", batch);
  if (const std::string batch = f.text("BatchNo"); !batch.empty() && lumo::foldCase(batch) != "fbatchno")
    c.add("m.FBatchNo = ?", batch);
  for (const char* list : {"CheckState", "CheckClose", "ExecuteState"})
    c.choice(f, production::kRpt400Keys.at(list), "m", today);
  return c;
}

// The tasks the conditions pick, with the product, department, salesman and sales order the
// conditions may name.
std::string pickedTasks(const Conditions& c) {
  return " FROM ICMO m JOIN t_ICItem t1 ON t1.FItemID = m.FItemID"
         " LEFT JOIN t_Department td ON td.FItemID = m.FDeptID LEFT JOIN t_Emp te ON te.FItemID = m.FEmpID"
         " LEFT JOIN SEOrder so ON so.FInterID = m.FOrderInterID AND m.FOrderInterID <> 0"
         " WHERE 1 = 1" + c.sql();
}

// The tasks (t) and their product receipts summed per task (r) before the unit names join, so
// each receipt line is read once. The receipts pick their tasks by key instead of joining t, so
// that t is read once, in the order of the date index where the order starts with the date,
// rather than stored whole to be joined and sorted. The conditions' values come twice, for r first.
std::string query(const SqlForms& f, const Conditions& c, const std::string& orderBy) {
  return "WITH r AS (SELECT e.FICMOInterID AS FInterID, sum(e.FQty) AS FQty, max(b.FDate) AS FDate,"
         " " + f.distinctList("b.FBillNo") + " AS FBillNo"
         " FROM ICStockBillEntry e JOIN ICStockBill b ON b.FInterID = e.FInterID"
         " WHERE b.FTranType = 2 AND e.FICMOInterID IN (SELECT m.FInterID" + pickedTasks(c) + ")"
         " GROUP BY e.FICMOInterID),"
         " t AS (SELECT m.FInterID, m.FBillNo, m.FDate, m.FItemID, m.FAuxPropID, m.FBatchNo, m.FUnitID, m.FAuxQty,"
         " m.FQty, m.FPlanCommitDate, m.FPlanFinishDate, m.FFinishDate, m.FQtyFinish, m.FDeptID, m.FEmpID, m.FNote,"
         " t1.FNumber, t1.FShortNumber, t1.FName, t1.FModel, t1.FUnitID AS FBaseUnitID,"
         " t1.FStoreUnitID AS FCommonUnitID, so.FBillNo AS FOrderBillNo, td.FName AS FDeptName, te.FName AS FEmpName" +
         pickedTasks(c) + ")"
         " SELECT t.FDate AS \"Fdate\", t.FBillNo AS \"FMOBillNO\", t.FNumber AS \"FNumber\", t.FShortNumber AS \"FShortNumber\","
         " t.FName AS \"FName\", t.FModel AS \"FModel\", coalesce(ta.FName, '') AS \"FAuxPropName\", t.FBatchNo AS \"FBatchNo\","
         " mu.FName AS \"FPlanUnitName\", t.FAuxQty AS \"FPlanAuxQty\", bu.FName AS \"FBSPlanUnitName\", t.FQty AS \"FBSPlanQty\","
         " cu.FName AS \"FCUPlanUnitName\", t.FQty / cu.FCoefficient AS \"FCUPlanQty\", t.FPlanCommitDate AS \"FBeginDate\","
         " mu.FName AS \"FFinishUnitName\", t.FQtyFinish / mu.FCoefficient AS \"FFinishAuxQty\","
         " bu.FName AS \"FBSFinishUnitName\", t.FQtyFinish AS \"FBSFinishQty\", cu.FName AS \"FCUFinishUnitName\","
         " t.FQtyFinish / cu.FCoefficient AS \"FCUFinishQty\", t.FPlanFinishDate AS \"FPlanFinishDate\","
         " t.FFinishDate AS \"FFinishDate\","
         " CASE WHEN t.FQty > 0 THEN " + f.fixed2("100.0 * t.FQtyFinish / t.FQty") + " ELSE '' END AS \"FFinishRate\","
         " coalesce(t.FOrderBillNo, '') AS \"FOrderBillNo\", coalesce(r.FBillNo, '') AS \"FStockBillNo\", r.FDate AS \"FStockDate\","
         " mu.FName AS \"FStockUnitName\", coalesce(r.FQty, 0) / mu.FCoefficient AS \"FStockAuxQty\","
         " bu.FName AS \"FBSStockUnitName\", coalesce(r.FQty, 0) AS \"FBSStockQty\", cu.FName AS \"FCUStockUnitName\","
         " coalesce(r.FQty, 0) / cu.FCoefficient AS \"FCUStockQty\","
         // Not yet in stock: what the plan still expects, never below nothing.
         " bu.FName AS \"FBSUnStockUnitName\", " + f.greatest("t.FQty - coalesce(r.FQty, 0)", "0") + " AS \"FBSUnStockQty\","
         " cu.FName AS \"FCUUnStockUnitName\", " + f.greatest("t.FQty - coalesce(r.FQty, 0)", "0") + " / cu.FCoefficient AS \"FCUUnStockQty\","
         " coalesce(t.FDeptName, '') AS \"FDeptName\", coalesce(t.FEmpName, '') AS \"FEmpName\", t.FNote AS \"FExp\","
         " 0 AS \"FSumSort\", t.FInterID AS \"FInterID\", t.FItemID AS \"FItemID\", t.FDeptID AS \"FDeptID\", t.FEmpID AS \"FEmpID\""
         " FROM t LEFT JOIN r ON r.FInterID = t.FInterID"
         " LEFT JOIN t_AuxItem ta ON ta.FItemID = t.FAuxPropID"
         " LEFT JOIN t_MeasureUnit mu ON mu.FMeasureUnitID = t.FUnitID"
         " LEFT JOIN t_MeasureUnit bu ON bu.FMeasureUnitID = t.FBaseUnitID"
         " LEFT JOIN t_MeasureUnit cu ON cu.FMeasureUnitID = t.FCommonUnitID" +
         orderBy;
}

}  // namespace

ado::RecordsetRef ShopData::GetRpt400Data(const std::string& props, lumo::DictionaryRef& filter) {
  if (!filter) throw refusal(tasks::kSource, "GetRpt400Data 需要过滤条件。");
  tasks::checkDataRight(*filter);
  const Conditions conditions = taskConditions(*filter, tasks::today());
  const std::string order = tasks::orderBy(filter->Value("OrderBy").text(), kFields, "\"Fdate\", \"FMOBillNO\"");
  const bool withTotal = FilterValues(*filter, tasks::Quotes::Doubled).list("DisplayType", 0) == 0;
  return withConnection(tasks::kSource, props, [&](Connection& c, const Login&) {
    auto select = c.session().query(query(c.forms(), conditions, order), conditions.params(conditions.params()));
    ado::RecordsetRef rows = toRecordset(*select, fieldTypes());
    if (withTotal) tasks::appendTotalRow(*rows, "FMOBillNO", kTotalled);
    return rows;
  });
}

}  // namespace midtier
