// The report catalog: the six reports with their filter-key tables.
#include "app/catalog.h"

#include <array>

#include "cost/filter/filter_keys.h"
#include "platform/core/variant.h"
#include "production/rpt400/filter_keys.h"
#include "production/rpt401/filter_keys.h"
#include "production/rpt406/filter_keys.h"
#include "production/rpt410/filter_keys.h"

namespace app {
namespace {

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
    {"Rpt400", 400, "生产任务执行情况明细表", 400, production::kRpt400Keys.keys, nullptr},
    {"Rpt401", 401, "生产任务执行情况汇总表", 401, production::kRpt401Keys.keys, completeRpt401},
    {"Rpt410", 410, "生产任务超期预警", 410, production::kRpt410Keys.keys, nullptr},
    {"Rpt406", 406, "生产任务领料差异分析表", 400, production::kRpt406Keys.keys, nullptr},
    {"Rpt499", 499, "产品成本综合表", 499, cost::kRpt499Keys.keys, nullptr},
    {"Rpt498", 498, "产品成本明细表", 498, cost::kRpt498Keys.keys, nullptr},
}};

}  // namespace

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
