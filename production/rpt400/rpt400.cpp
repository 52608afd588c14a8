#include "production/rpt400/rpt400.h"

#include <array>

#include "production/rpt400/frm_filter400.h"

namespace production {
namespace {

constexpr std::array<ColumnDef, 39> kColumns{{
    {"日期$", "", "0", "Fdate"},
    {"编号$", "", "1", "FMOBillNO"},
    {"产品代码$", "", "1", "FNumber", "FShortNumber"},
    {"产品名称$", "", "1", "FName"},
    {"规格型号$", "", "1", "FModel"},
    {"辅助属性$", "", "1", "FAuxPropName"},
    {"生产批号$", "", "1", "FBatchNo"},
    {"生产数量+|+|+|+|+|", "单位", "1", "FPlanUnitName"},
    {"", "数量", "2", "FPlanAuxQty"},
    {"", "单位(基本)", "1", "FBSPlanUnitName"},
    {"", "数量(基本)", "2", "FBSPlanQty"},
    {"", "单位(常用)", "1", "FCUPlanUnitName"},
    {"", "数量(常用)", "2", "FCUPlanQty"},
    {"开工日期$", "", "1", "FBeginDate"},
    {"完工数量+|+|+|+|+|", "单位", "1", "FFinishUnitName"},
    {"", "数量", "2", "FFinishAuxQty"},
    {"", "单位(基本)", "1", "FBSFinishUnitName"},
    {"", "数量(基本)", "2", "FBSFinishQty"},
    {"", "单位(常用)", "1", "FCUFinishUnitName"},
    {"", "数量(常用)", "2", "FCUFinishQty"},
    {"计划完工日期$", "", "1", "FPlanFinishDate"},
    {"实际完工日期$", "", "1", "FFinishDate"},
    {"生产进度(%)$", "", "1", "FFinishRate"},
    {"销售订单号$", "", "1", "FOrderBillNo"},
    {"产品入库单号$", "", "1", "FStockBillNo"},
    {"入库日期$", "", "1", "FStockDate"},
    {"入库数量+|+|+|+|+|", "单位", "1", "FStockUnitName"},
    {"", "数量", "2", "FStockAuxQty"},
    {"", "单位(基本)", "1", "FBSStockUnitName"},
    {"", "数量(基本)", "2", "FBSStockQty"},
    {"", "单位(常用)", "1", "FCUStockUnitName"},
    {"", "数量(常用)", "2", "FCUStockQty"},
    {"未入库数量+|+|+|", "单位(基本)", "1", "FBSUnStockUnitName"},
    {"", "数量(基本)", "2", "FBSUnStockQty"},
    {"", "单位(常用)", "1", "FCUUnStockUnitName"},
    {"", "数量(常用)", "2", "FCUUnStockQty"},
    {"部门$", "", "1", "FDeptName"},
    {"业务员$", "", "1", "FEmpName"},
    {"摘要$", "", "1", "FExp"},
}};

constexpr std::array<TitleLine, 5> kTitles{{
    {0, TitleKind::Date, "起始日期：", "BDate"},
    {1, TitleKind::Date, "截止日期：", "EDate"},
    {2, TitleKind::CodeRange, "产品代码范围：", "BItemNumber", "EItemNumber", "所有产品"},
    {3, TitleKind::BillRange, "生产任务单编号范围：", "BProductBillNo", "EProductBillNo", "所有生产任务单",
     "生产任务单编号范围: "},
    {4, TitleKind::BillRange, "销售订单编号范围：", "BOrderBillNo", "EOrderBillNo", "所有销售订单",
     "销售订单编号范围: "},
}};

frame::ReportIdentity identity() {
  return {"400",
          "SysRptLog0043",
          "生产任务执行情况明细表查询",
          {{"Name", "生产任务执行情况明细表"}, {"RptProperty", int16_t{1}}}};
}

}  // namespace

Rpt400::Rpt400() : TableReport(identity(), kColumns, kTitles) {}

std::shared_ptr<frame::FilterDialog> Rpt400::CreateFilterDialog() { return std::make_shared<frmFilter400>(); }

ado::RecordsetRef Rpt400::FetchRows(svc::ShopRptData& service, const std::string& props,
                                    lumo::DictionaryRef& filter) {
  return service.GetRpt400Data(props, filter);
}

}  // namespace production
