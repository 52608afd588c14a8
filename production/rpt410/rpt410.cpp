#include "production/rpt410/rpt410.h"

#include <array>

#include "production/rpt410/frm_filter410.h"

namespace production {
namespace {

constexpr std::array<ColumnDef, 17> kColumns{{
    {"日期$", "", "0", "FDate"},
    {"生产任务单号$", "", "1", "FMOBillNO"},
    {"单据状态$", "", "1", "FClosed"},
    {"物料代码$", "", "1", "FPNumber", "FPShortNumber"},
    {"物料名称$", "", "1", "FPName"},
    {"规格型号$", "", "1", "FPModel"},
    {"生产批号$", "", "1", "FBatchNo"},
    {"单位$", "", "1", "FPAuxUnitName"},
    {"计划完工日期$", "", "7", "FPlanDate"},
    {"计划数量$", "", "2", "FAuxPlanQty"},
    {"完工数量$", "", "2", "FAuxFinishQty"},
    {"未完工数量$", "", "2", "FUnFinishAuxQty"},
    {"完工百分比%$", "", "8", "FFinishRateStr"},
    {"未完工百分比%$", "", "8", "FUnFinishRateStr"},
    {"摘要$", "", "1", "FExp"},
    {"部门$", "", "1", "FDept"},
    {"业务员$", "", "1", "FEmp"},
}};

constexpr std::array<TitleLine, 8> kTitles{{
    {0, TitleKind::Date, "开工起始日期：", "BWorkDate"},
    {1, TitleKind::Date, "开工截止日期：", "EWorkDate"},
    {2, TitleKind::Date, "完工起始日期：", "BFinishDate"},
    {3, TitleKind::Blank},
    {4, TitleKind::Date, "完工截止日期：", "EFinishDate"},
    {5, TitleKind::CodeRange, "部门代码范围：", "BDeptNumber", "EDeptNumber", "所有部门"},
    {6, TitleKind::Blank},
    {7, TitleKind::CodeRange, "业务员代码范围：", "BEmpNumber", "EEmpNumber", "所有业务员"},
}};

frame::ReportIdentity identity() {
  return {"410",
          "SysRptLog0047",
          "生产任务超期预警表查询",
          {{"Name", "生产任务超期预警"}, {"RptProperty", int16_t{1}}, {"FrozenColumn", int16_t{4}}}};
}

}  // namespace

Rpt410::Rpt410() : TableReport(identity(), kColumns, kTitles) {}

void Rpt410::ShowNoFilter() {
  SetOk();
  auto filter = lumo::newDictionary();
  filter->SetValue("BDeptNumber", "");
  filter->SetValue("BEmpNumber", "");
  filter->SetValue("BFinishDate", "1900-01-01");
  filter->SetValue("BItemNumber", "");
  filter->SetValue("BMOBillNo", "");
  filter->SetValue("BWorkDate", "1900-01-01");
  filter->SetValue("CheckClose", int16_t{2});
  filter->SetValue("CheckState", int16_t{0});
  filter->SetValue("EDeptNumber", "");
  filter->SetValue("EEmpNumber", "");
  filter->SetValue("EFinishDate", "2100-01-01");
  filter->SetValue("EItemNumber", "");
  filter->SetValue("EMOBillNO", "");
  filter->SetValue("EWorkDate", "2100-01-01");
  filter->SetValue("OK", true);
  ReplaceFilter(filter);
}

std::shared_ptr<frame::FilterDialog> Rpt410::CreateFilterDialog() { return std::make_shared<frmFilter410>(); }

ado::RecordsetRef Rpt410::FetchRows(svc::ShopRptData& service, const std::string& props,
                                    lumo::DictionaryRef& filter) {
  return service.GetRpt410Data(props, filter);
}

}  // namespace production
