#include "production/rpt406/rpt406.h"

#include <array>

#include "production/rpt406/frm_filter406.h"

namespace production {
namespace {

// A group of six under one caption: entered unit and quantity, base, common.
#define TAV_QTY_GROUP(caption, unit, qty, bsUnit, bsQty, cuUnit, cuQty) \
  {caption, "单位", "1", unit}, {"", "数量", "2", qty}, {"", "单位(基本)", "1", bsUnit},  \
      {"", "数量(基本)", "2", bsQty}, {"", "单位(常用)", "1", cuUnit}, {"", "数量(常用)", "2", cuQty}

constexpr std::array<ColumnDef, 51> kColumns{{
    {"日期$", "", "0", "Fdate"},
    {"任务单编号$", "", "1", "FMOBillNO"},
    {"产品代码$", "", "1", "FPNumber", "FPShortNumber"},
    {"产品名称$", "", "1", "FPName"},
    {"规格型号$", "", "1", "FPModel"},
    {"辅助属性$", "", "1", "FPAuxPropName"},
    {"生产批号$", "", "1", "FBatchNo"},
    TAV_QTY_GROUP("生产数量+|+|+|+|+|", "FPlanUnitName", "FPlanAuxQty", "FBSPlanUnitName", "FBSPlanQty",
                  "FCUPlanUnitName", "FCUPlanQty"),
    TAV_QTY_GROUP("完工数量+|+|+|+|+|", "FFinishUnitName", "FFinishAuxQty", "FBSFinishUnitName", "FBSFinishQty",
                  "FCUFinishUnitName", "FCUFinishQty"),
    {"生产进度（%）$", "", "1", "FFinishRate"},
    {"物料代码$", "", "1", "FItemNumber", "FItemShortNumber"},
    {"物料名称$", "", "1", "FItemName"},
    TAV_QTY_GROUP("标准用量+|+|+|+|+|", "FStandardUnitName", "FStandardAuxQty", "FBSStandardUnitName",
                  "FBSStandardQty", "FCUStandardUnitName", "FCUStandardQty"),
    TAV_QTY_GROUP("计划领料+|+|+|+|+|", "FPlanDUnitName", "FPlanDAuxQty", "FBSPlanDUnitName", "FBSPlanDQty",
                  "FCUPlanDUnitName", "FCUPlanDQty"),
    TAV_QTY_GROUP("实际领料+|+|+|+|+|", "FfactUnitName", "FfactAuxQty", "FBSfactUnitName", "FBSfactQty",
                  "FCUfactUnitName", "FCUfactQty"),
    {"领料情况$", "", "1", "FSituation"},
    TAV_QTY_GROUP("领料差异数量+|+|+|+|+|", "FDiffUnitName", "FDiffAuxQty", "FBSDiffUnitName", "FBSDiffQty",
                  "FCUDiffUnitName", "FCUDiffQty"),
    {"领料差异率(%)$", "", "1", "FDiffRate"},
    {"部门$", "", "1", "FDeptName"},
    {"业务员$", "", "1", "FEmpName"},
    {"摘要$", "", "1", "FExp"},
}};

#undef TAV_QTY_GROUP

constexpr std::array<TitleLine, 4> kTitles{{
    {0, TitleKind::Date, "起始日期：", "BDate"},
    {1, TitleKind::Date, "截止日期：", "EDate"},
    {2, TitleKind::CodeRange, "产品代码范围：", "BItemNumber", "EItemNumber", "所有产品"},
    {3, TitleKind::BillRange, "生产任务单编号范围：", "BMOBillNO", "EMOBillNO", "所有生产任务单",
     "生产任务单编号范围: "},
}};

frame::ReportIdentity identity() {
  return {"400",
          "SysRptLog0044",
          "生产任务领料差异分析表查询",
          {{"Name", "生产任务领料差异分析表"}, {"RptProperty", int16_t{1}}}};
}

}  // namespace

Rpt406::Rpt406() : TableReport(identity(), kColumns, kTitles) {}

std::shared_ptr<frame::FilterDialog> Rpt406::CreateFilterDialog() { return std::make_shared<frmFilter406>(); }

ado::RecordsetRef Rpt406::FetchRows(svc::ShopRptData& service, const std::string& props,
                                    lumo::DictionaryRef& filter) {
  return service.GetRpt406Data(props, filter);
}

}  // namespace production
