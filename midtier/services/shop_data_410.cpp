// GetRpt410Data: the production task overdue warning, the overdue tasks of the filter with
// their planned, finished and unfinished quantities in the entered unit.
#include <array>
#include <string>
#include <string_view>

#include "midtier/services/database_errors.h"
#include "midtier/services/rowset.h"
#include "midtier/services/shop_data.h"
#include "midtier/services/task_filter.h"
#include "production/rpt410/filter_keys.h"

namespace midtier {
namespace {

using tasks::Conditions;
using tasks::FilterValues;

constexpr std::array<std::string_view, 21> kFields{
    "FDate",         "FMOBillNO",     "FClosed",        "FPNumber",        "FPShortNumber",   "FPName",
    "FPModel",       "FBatchNo",      "FPAuxUnitName",  "FPlanDate",       "FAuxPlanQty",     "FAuxFinishQty",
    "FUnFinishAuxQty", "FFinishRateStr", "FUnFinishRateStr", "FExp",         "FDept",           "FEmp",
    "FOverdueDays",  "FInterID",      "FItemID"};

const FieldTypes& fieldTypes() {
  static const FieldTypes types = [] {
    FieldTypes t;
    for (std::string_view f : kFields) t[std::string(f)] = ado::adVarChar;
    for (const char* f : {"FAuxPlanQty", "FAuxFinishQty", "FUnFinishAuxQty"}) t[f] = ado::adDecimal;
    for (const char* f : {"FOverdueDays", "FInterID", "FItemID"}) t[f] = ado::adInteger;
    return t;
  }();
  return types;
}

// The dialog's filter: texts as typed, dates as date values (or "YYYY-MM-DD" texts from
// ShowNoFilter), its own list orders.
Conditions taskConditions(const lumo::Dictionary& filter) {
  const FilterValues f(filter, tasks::Quotes::AsTyped);
  Conditions c;
  c.range("m.FPlanCommitDate", f.date("BWorkDate", "开工起始日期"), f.date("EWorkDate", "开工截止日期"));
  c.range("m.FPlanFinishDate", f.date("BFinishDate", "完工起始日期"), f.date("EFinishDate", "完工截止日期"));
  c.range(f.longNumbers() ? "t1.FNumber" : "t1.FShortNumber", f.text("BItemNumber"), f.text("EItemNumber"));
  c.range("td.FNumber", f.text("BDeptNumber"), f.text("EDeptNumber"));
  c.range("te.FNumber", f.text("BEmpNumber"), f.text("EEmpNumber"));
  c.range("m.FBillNo", f.text("BMOBillNo"), f.text("EMOBillNO"));
  for (const char* list : {"CheckState", "CheckClose"}) c.choice(f, production::kRpt410Keys.at(list), "m");
  return c;
}

// The overdue rule: a task is overdue when it has no actual finish date, its finished
// quantity is below its planned quantity, and its planned finish date lies before today
// (?1). The finish-date range only narrows the planned finish dates looked at, so a range
// ending in the future still lists only what is overdue today. The closed state is the
// filter's choice ("未关闭" by default).
std::string query(const SqlForms& f, const Conditions& c, const std::string& orderBy) {
  return "SELECT m.FDate AS \"FDate\", m.FBillNo AS \"FMOBillNO\","
         " CASE WHEN m.FClosed <> 0 THEN '已关闭' ELSE '未关闭' END AS \"FClosed\","
         " t1.FNumber AS \"FPNumber\", t1.FShortNumber AS \"FPShortNumber\", t1.FName AS \"FPName\", t1.FModel AS \"FPModel\","
         " m.FBatchNo AS \"FBatchNo\", mu.FName AS \"FPAuxUnitName\", m.FPlanFinishDate AS \"FPlanDate\","
         " m.FAuxQty AS \"FAuxPlanQty\", m.FQtyFinish / mu.FCoefficient AS \"FAuxFinishQty\","
         " (m.FQty - m.FQtyFinish) / mu.FCoefficient AS \"FUnFinishAuxQty\","
         " " + f.fixed2("100.0 * m.FQtyFinish / m.FQty") + " || '%' AS \"FFinishRateStr\","
         " " + f.fixed2("100.0 - 100.0 * m.FQtyFinish / m.FQty") + " || '%' AS \"FUnFinishRateStr\","
         " m.FNote AS \"FExp\", coalesce(td.FName, '') AS \"FDept\", coalesce(te.FName, '') AS \"FEmp\","
         " " + f.daysBetween("?1", "m.FPlanFinishDate") + " AS \"FOverdueDays\","
         " m.FInterID AS \"FInterID\", m.FItemID AS \"FItemID\""
         " FROM ICMO m JOIN t_ICItem t1 ON t1.FItemID = m.FItemID"
         " LEFT JOIN t_MeasureUnit mu ON mu.FMeasureUnitID = m.FUnitID"
         " LEFT JOIN t_Department td ON td.FItemID = m.FDeptID LEFT JOIN t_Emp te ON te.FItemID = m.FEmpID"
         " WHERE m.FFinishDate IS NULL AND m.FQtyFinish < m.FQty AND m.FPlanFinishDate < ?1" +
         c.sql() + orderBy;
}

}  // namespace

ado::RecordsetRef ShopData::GetRpt410Data(const std::string& props, lumo::DictionaryRef& filter) {
  if (!filter) throw refusal(tasks::kSource, "GetRpt410Data 需要过滤条件。");
  tasks::checkDataRight(*filter);
  const Conditions conditions = taskConditions(*filter);
  const std::string order = tasks::orderBy(filter->Value("OrderBy").text(), kFields, "\"FPlanDate\", \"FMOBillNO\"");
  return withConnection(tasks::kSource, props, [&](Connection& c, const Login&) {
    auto select = c.session().query(query(c.forms(), conditions, order), conditions.params({tasks::today()}));
    return toRecordset(*select, fieldTypes());
  });
}

}  // namespace midtier
