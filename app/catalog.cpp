// The report catalog: each report's filter keys, typed, with their script defaults.
#include "app/catalog.h"

#include <array>

#include "platform/core/variant.h"

namespace app {
namespace {

using K = KeyType;
constexpr std::string_view kFirstDay = "1900-01-01";
constexpr std::string_view kLastDay = "2100-01-01";

constexpr FilterKey kRpt400Keys[] = {
    {"BDate", K::DateText, kFirstDay, 0, 0, DefaultFrom::Value, false, "task date from"},
    {"EDate", K::DateText, kLastDay, 0, 0, DefaultFrom::Value, false, "task date to"},
    {"BWorkDate", K::DateText, kFirstDay, 0, 0, DefaultFrom::Value, false, "work start date from"},
    {"EWorkDate", K::DateText, kLastDay, 0, 0, DefaultFrom::Value, false, "work start date to"},
    {"BPlanDate", K::DateText, kFirstDay, 0, 0, DefaultFrom::Value, false, "planned finish date from"},
    {"EPlanDate", K::DateText, kLastDay, 0, 0, DefaultFrom::Value, false, "planned finish date to"},
    {"BFactDate", K::DateText, "", 0, 0, DefaultFrom::Value, true, "actual finish date from (with chkFinish=1)"},
    {"EFactDate", K::DateText, "", 0, 0, DefaultFrom::Value, true, "actual finish date to (with chkFinish=1)"},
    {"BItemNumber", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "product code from"},
    {"EItemNumber", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "product code to"},
    {"BOrderBillNo", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "sales order number from"},
    {"EOrderBillNo", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "sales order number to"},
    {"BEmp", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "salesman code from"},
    {"EEmp", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "salesman code to"},
    {"BDept", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "department code from"},
    {"EDept", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "department code to"},
    {"BProductBillNo", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "production task number from"},
    {"EProductBillNo", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "production task number to"},
    {"BBatchNo", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "production batch number"},
    {"DisplayType", K::Int16, "0", 0, 1, DefaultFrom::Value, false, "0 all rows, 1 detail rows only"},
    {"CheckState", K::Int16, "0", 0, 2, DefaultFrom::Value, false, "0 audited, 1 not audited, 2 all"},
    {"CheckClose", K::Int16, "2", 0, 2, DefaultFrom::Value, false, "0 closed, 1 open, 2 all"},
    {"ExecuteState", K::Int16, "0", 0, 3, DefaultFrom::Value, false, "0 all, 1 on time, 2 early, 3 late"},
    {"chkFinish", K::Int16, "0", 0, 1, DefaultFrom::Value, false, "1: use the actual finish date range"},
    {"OrderBy", K::Text, "", 0, 0, DefaultFrom::Value, false, "ordering text"},
};

constexpr FilterKey kRpt401Keys[] = {
    {"BDate", K::DateText, kFirstDay, 0, 0, DefaultFrom::Value, false, "task date from"},
    {"EDate", K::DateText, kLastDay, 0, 0, DefaultFrom::Value, false, "task date to"},
    {"BItemNumber", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "product code from"},
    {"EItemNumber", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "product code to"},
    {"BEmp", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "salesman code from"},
    {"EEmp", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "salesman code to"},
    {"BDept", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "department code from"},
    {"EDept", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "department code to"},
    {"BBatchNo", K::QuotedText, "", 0, 0, DefaultFrom::Value, false, "batch number (contained)"},
    {"GroupBy", K::Int16, "0", 0, 1, DefaultFrom::Value, false, "1: graded summary"},
    {"SumMode", K::Int16, "1", 0, 2, DefaultFrom::Value, false, "summary basis: 1 product class, 2 department"},
    {"BLevel", K::Double, "1", 1, 9, DefaultFrom::Value, false, "first product-class level"},
    {"ELevel", K::Double, "5", 1, 9, DefaultFrom::Value, false, "last product-class level"},
    {"OnlyShowSum", K::Int16, "0", 0, 1, DefaultFrom::Value, false, "1: only subtotal and total rows"},
    {"GroupByBatchNo", K::Int16, "0", 0, 1, DefaultFrom::Value, false, "1: one row per product"},
    {"GroupByListIndex", K::Int16, "0", -1, 1, DefaultFrom::Value, false, "summary basis list index"},
    {"CheckState", K::Int16, "2", 0, 2, DefaultFrom::Value, false, "0 audited, 1 not audited, 2 all"},
    {"CheckClose", K::Int16, "2", 0, 2, DefaultFrom::Value, false, "0 closed, 1 open, 2 all"},
    {"Mode", K::Int16, "0", 0, 1, DefaultFrom::Value, false, "0 product code range, 1 product class"},
    {"ItemClassNumber", K::Text, "", 0, 0, DefaultFrom::Value, true, "product class number (Mode=1)"},
};

constexpr FilterKey kRpt410Keys[] = {
    {"BWorkDate", K::DateValue, kFirstDay, 0, 0, DefaultFrom::Value, false, "work start date from"},
    {"EWorkDate", K::DateValue, kLastDay, 0, 0, DefaultFrom::Value, false, "work start date to"},
    {"BFinishDate", K::DateValue, kFirstDay, 0, 0, DefaultFrom::Value, false, "planned finish date from"},
    {"EFinishDate", K::DateValue, kLastDay, 0, 0, DefaultFrom::Value, false, "planned finish date to"},
    {"BItemNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "material code from"},
    {"EItemNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "material code to"},
    {"BDeptNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "department code from"},
    {"EDeptNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "department code to"},
    {"BEmpNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "salesman code from"},
    {"EEmpNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "salesman code to"},
    {"BMOBillNo", K::Text, "", 0, 0, DefaultFrom::Value, false, "production task number from"},
    {"EMOBillNO", K::Text, "", 0, 0, DefaultFrom::Value, false, "production task number to"},
    {"CheckState", K::Int16, "0", 0, 2, DefaultFrom::Value, false, "0 all, 1 audited, 2 not audited"},
    {"CheckClose", K::Int16, "2", 0, 2, DefaultFrom::Value, false, "0 all, 1 closed, 2 open"},
};

constexpr FilterKey kRpt406Keys[] = {
    {"BDate", K::DateValue, kFirstDay, 0, 0, DefaultFrom::Value, false, "task date from"},
    {"EDate", K::DateValue, kLastDay, 0, 0, DefaultFrom::Value, false, "task date to"},
    {"BItemNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "product code from"},
    {"EItemNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "product code to"},
    {"BDeptNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "department code from"},
    {"EDeptNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "department code to"},
    {"BEmpNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "salesman code from"},
    {"EEmpNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "salesman code to"},
    {"BMOBillNo", K::Text, "", 0, 0, DefaultFrom::Value, false, "production task number from"},
    {"EMOBillNO", K::Text, "", 0, 0, DefaultFrom::Value, false, "production task number to"},
    {"DisplayType", K::Int16, "0", 0, 1, DefaultFrom::Value, false, "0 all rows, 1 detail rows only"},
    {"CheckState", K::Int16, "0", 0, 2, DefaultFrom::Value, false, "0 audited, 1 not audited, 2 all"},
    {"CheckClose", K::Int16, "2", 0, 2, DefaultFrom::Value, false, "0 closed, 1 open, 2 all"},
};

constexpr FilterKey kRpt499Keys[] = {
    {"BYear", K::Int16, "", 1970, 9999, DefaultFrom::CurrentYear, false, "first year"},
    {"BPeriod", K::Int16, "1", 1, 12, DefaultFrom::Value, false, "first period"},
    {"EYear", K::Int16, "", 1970, 9999, DefaultFrom::CurrentYear, false, "last year"},
    {"EPeriod", K::Int16, "", 1, 12, DefaultFrom::CurrentPeriod, false, "last period"},
    {"BItemNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "product code from"},
    {"EItemNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "product code to"},
    {"GroupBy", K::Int16, "0", 0, 1, DefaultFrom::Value, false, "1: roll up by product-class levels"},
    {"SumMode", K::Int16, "1", 0, 2, DefaultFrom::Value, false, "1 product class"},
    {"BLevel", K::Int16, "1", 1, 5, DefaultFrom::Value, false, "first product-class level"},
    {"ELevel", K::Int16, "3", 1, 5, DefaultFrom::Value, false, "last product-class level"},
    {"OnlyShowSum", K::Int16, "0", 0, 1, DefaultFrom::Value, false, "1: only subtotal and total rows"},
    {"GroupByBatchNo", K::Int16, "0", 0, 1, DefaultFrom::Value, false, "1: batches merged per product"},
};

constexpr FilterKey kRpt498Keys[] = {
    {"BYear", K::Int16, "", 1970, 9999, DefaultFrom::CurrentYear, false, "first year"},
    {"BPeriod", K::Int16, "1", 1, 12, DefaultFrom::Value, false, "first period"},
    {"EYear", K::Int16, "", 1970, 9999, DefaultFrom::CurrentYear, false, "last year"},
    {"EPeriod", K::Int16, "", 1, 12, DefaultFrom::CurrentPeriod, false, "last period"},
    {"BItemNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "product code from"},
    {"EItemNumber", K::Text, "", 0, 0, DefaultFrom::Value, false, "product code to"},
    {"BatchNo", K::Text, "FBATCHNO", 0, 0, DefaultFrom::Value, false, "batch number; FBATCHNO: any batch"},
};

// The summary dialog adds the grouping column's description when a basis is chosen.
void completeRpt401(lumo::Dictionary& filter) {
  const int mode = static_cast<int>(plat::val(filter.Value("SumMode").text()));
  if (mode == 0 || filter.Lookup("SumField")) return;
  auto field = lumo::newDictionary();
  field->SetValue("FPropID", int16_t{0});
  field->SetValue("FSQLColumnName", mode == 2 ? "FDeptID" : "FName");
  field->SetValue("FSrcTable", "");
  field->SetValue("FSrcField", "");
  field->SetValue("FDisplayField", "");
  if (mode == 2) field->SetValue("FItemClassID", int16_t{0});
  filter.SetValue("SumField", field);
}

constexpr std::array<ReportInfo, 6> kReports = {{
    {"Rpt400", 400, "生产任务执行情况明细表", 400, kRpt400Keys, nullptr},
    {"Rpt401", 401, "生产任务执行情况汇总表", 401, kRpt401Keys, completeRpt401},
    {"Rpt410", 410, "生产任务超期预警", 410, kRpt410Keys, nullptr},
    {"Rpt406", 406, "生产任务领料差异分析表", 400, kRpt406Keys, nullptr},
    {"Rpt499", 499, "产品成本综合表", 499, kRpt499Keys, nullptr},
    {"Rpt498", 498, "产品成本明细表", 498, kRpt498Keys, nullptr},
}};

}  // namespace

const FilterKey* ReportInfo::key(std::string_view name) const {
  const std::string folded = lumo::foldCase(name);
  for (const FilterKey& k : keys)
    if (lumo::foldCase(k.name) == folded) return &k;
  return nullptr;
}

std::span<const ReportInfo> reports() { return kReports; }

const ReportInfo* findReport(std::string_view nameOrNumber) {
  std::string folded = lumo::foldCase(plat::trim(nameOrNumber));
  constexpr std::string_view kPrefix = "tavshoprpt.";
  if (folded.starts_with(kPrefix)) folded.erase(0, kPrefix.size());
  for (const ReportInfo& r : kReports)
    if (folded == lumo::foldCase(r.shortName) || folded == std::to_string(r.number)) return &r;
  return nullptr;
}

}  // namespace app
