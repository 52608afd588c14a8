// Rpt401: identity, filter hooks, the worker and the drill-down into Rpt400.
#include "production/rpt401/rpt401.h"

#include "frame/host/context.h"
#include "frame/host/settings.h"
#include "frame/services/class_names.h"
#include "frame/services/services.h"
#include "frame/sql/data_right.h"
#include "production/common/production_rights.h"
#include "production/rpt401/filter_values.h"
#include "production/rpt401/frm_filter401.h"

namespace production {

using rpt401::IntOf;

namespace {

frame::ReportIdentity identity() {
  frame::ReportIdentity id;
  id.numberText = "401";
  id.logId = "SysRptLog0042";
  id.logText = "生产任务执行情况汇总表查询";
  id.properties = {{"Name", "生产任务执行情况汇总表"}, {"RptProperty", int16_t{2}}, {"DetailRptID", int16_t{400}}};
  return id;
}

}  // namespace

Rpt401::Rpt401() : frame::Report(identity()), longNumber_(frame::LongNumberFlag()) {}

std::shared_ptr<frame::FilterDialog> Rpt401::CreateFilterDialog() { return std::make_shared<frmFilter401>(); }

void Rpt401::OnFilterAccepted() { rpt401::PrepareStatementParts(*Filter(), parts_); }

void Rpt401::BeforeRefresh() { itemRange_ = rpt401::ItemRangeCondition(*Filter(), longNumber_); }

lumo::DictionaryRef Rpt401::BuildFragments() const {
  const lumo::Dictionary& filter = *Filter();
  if (IntOf(filter, "GroupBy") == 1) {
    if (IntOf(filter, "SumMode") == 1) return rpt401::BuildLevelStatement(4, filter, parts_);
    return rpt401::BuildDeptStatement(filter, parts_, itemRange_);
  }
  return rpt401::BuildPlainStatement(filter, parts_, itemRange_);
}

// A failure ends here rather than in GetReportData's trap, so that the progress window,
// which is up while the worker runs, is unloaded as well.
plat::Variant Rpt401::GetRptList() {
  try {
    RunWorker();
  } catch (const std::exception& e) {
    Fail(e);
  }
  return {};
}

void Rpt401::RunWorker() {
  auto header = lumo::newVector();
  SetHeader(header);
  int16_t function = 1006, subFunction = 3, right = 4;
  frame::GeneralLedger().AccessCheck(function, subFunction, right);

  lumo::DictionaryRef fragments = BuildFragments();

  std::string rightFrom, rightWhere;
  frame::BuildDataRight(*ProductionRightTables(), *ProductionRightRules(), rightFrom, rightWhere);
  Filter()->SetValue("DataRightFrom", rightFrom);
  Filter()->SetValue("DataRightWhere", rightWhere);

  AddColumns(*header);

  auto service = frame::CreateService<svc::ShopRptData>(svc::kShopRptData);
  ProgressBar().SetBarValue(0);
  ProgressBar().HideProgBar();
  ProgressBar().SetMsg(frame::Msg("正在从服务器读取数据,请稍候......"));
  Filter()->SetValue("bLongNumber", longNumber_);
  lumo::DictionaryRef filter = Filter();
  ado::RecordsetRef rows = service->GetRpt401Data(frame::PropsString(), fragments, filter);
  service.reset();
  if (filter) ReplaceFilter(filter);
  if (!rows) throw plat::Error::typeMismatch(svc::kShopRptData, "The report data service returned no record set");

  SetRs(rows);
  SetOk();
  ProgressBar().Unload();
}

void Rpt401::AddColumns(lumo::Vector& header) const {
  const lumo::Dictionary& filter = *Filter();
  auto add = [&](const std::string& caption, const std::string& second, const char* type, const std::string& field) {
    AddColumn(header, caption, second, type, field, frame::ColumnFlag::ForceHide);
  };
  const bool graded = IntOf(filter, "GroupBy") == 1;
  const int sumMode = IntOf(filter, "SumMode");
  if (graded && sumMode == 2) {
    add("部门代码$", "", "1", "FPropNumber");
    add("部门名称$", "", "1", "FPropName");
  }
  if (graded && sumMode == 1) {
    for (int level = IntOf(filter, "BLevel"); level <= IntOf(filter, "ELevel"); ++level)
      add(std::to_string(level) + "级产品类别$", "", "1", "FName" + std::to_string(level));
  }
  add("产品代码$", "", "1", longNumber_ ? "FItemNumber" : "FShortNumber");
  add("产品名称$", "", "1", "FItemName");
  add("规格型号$", "", "1", "FModel");
  add("生产批号$", "", "1", "FBatchNo");
  struct Group {
    const char* caption;
    const char* baseUnit;
    const char* baseQty;
    const char* stockUnit;
    const char* stockQty;
  };
  static constexpr Group kGroups[] = {
      {"生产任务数量+|+|+|", "FBaseUnitName", "FBaseQty", "FStockUnitName", "FStockQty"},
      {"完工数量+|+|+|", "FFinishBUnitName", "FFinishBQty", "FFinishSUnitName", "FFinishSQty"},
      {"未完工数量+|+|+|", "FUnFinishBUnitName", "FUnFinishBQty", "FUnFinishSUnitName", "FUnFinishSQty"},
  };
  for (const Group& group : kGroups) {
    add(group.caption, "单位（基本）", "1", group.baseUnit);
    add("", "数量(基本)", "2", group.baseQty);
    add("", "单位(常用)", "1", group.stockUnit);
    add("", "数量(常用)", "2", group.stockQty);
  }
}

void Rpt401::BuildTitle(lumo::Vector& title) {
  const lumo::Dictionary& filter = *Filter();
  using frame::Msg;
  AddTitle(title, 0, Msg("起始日期：") + rpt401::DateTextOf(filter, "BDate"));
  AddTitle(title, 1, Msg("截止日期：") + rpt401::DateTextOf(filter, "EDate"));
  const std::string begin = rpt401::TextOf(filter, "BItemNumber");
  const std::string end = rpt401::TextOf(filter, "EItemNumber");
  AddTitle(title, 2,
           Msg("产品代码范围：") + (begin.empty() && end.empty() ? Msg("所有产品") : begin + "  --  " + end));

  // line 4 exists only for a graded run; the lines after it keep their indexes either way
  if (IntOf(filter, "GroupBy") == 1) {
    const int sumMode = IntOf(filter, "SumMode");
    const std::string levels =
        Msg("汇总依据：") + filter.Value("BLevel").text() + "--" + filter.Value("ELevel").text();
    if (sumMode == 1)
      AddTitle(title, 4, levels + Msg("产品类别"));
    else if (sumMode == 2)
      AddTitle(title, 4, levels + Msg("部门"));
    else
      AddTitleWithoutCaption(title, 4);
  }
  AddTitleWithoutCaption(title, 5);
  AddTitle(title, 7, "");
}

plat::ObjectRef Rpt401::GetDetailReport(int32_t lRow) {
  try {
    const ado::RecordsetRef& rs = Rs();
    if (!rs || lRow < 0 || lRow >= rs->RecordCount()) return nullptr;
    rs->MoveFirst();
    rs->Move(lRow);
    if (plat::val(rs->Value("FSumSort").text()) > 0) return nullptr;

    const lumo::Dictionary& filter = *Filter();
    auto detail = lumo::newDictionary();
    detail->SetValue("BDate", filter.Value("BDate"));
    detail->SetValue("EDate", filter.Value("EDate"));
    const plat::Variant number = rs->Value(longNumber_ ? "FItemNumber" : "FItemShortNumber");
    detail->SetValue("BItemNumber", number);
    detail->SetValue("EItemNumber", number);
    for (const char* key : {"BEmp", "EEmp", "BDept", "EDept"}) detail->SetValue(key, filter.Value(key));
    if (filter.Lookup("SumMode")) {
      const int sumMode = IntOf(filter, "SumMode");
      if (IntOf(filter, "GroupBy") == 1 && sumMode == 2) {
        detail->SetValue("Dept", rs->Value("FPropName"));
      } else if (sumMode == 1) {
        detail->SetValue("BItemNumber", rs->Value("FItemNumber"));
        detail->SetValue("EItemNumber", rs->Value("FItemNumber"));
      }
    }
    detail->SetValue("CheckState", filter.Value("CheckState"));
    detail->SetValue("CheckClose", filter.Value("CheckClose"));
    if (IntOf(filter, "GroupByBatchNo") == 0)
      detail->SetValue("BBatchNo", rs->Value("FBatchNo"));
    else
      detail->SetValue("BatchNo", "FBATCHNO");

    auto report = frame::CreateService<frame::Report>(kRpt400Class);
    report->SetRptID(400);
    report->SetExtFirter("400");
    report->SetFilter(detail);
    report->GetReportData();
    return report;
  } catch (const std::exception&) {
    return nullptr;  // a drill-down that cannot be made offers nothing
  }
}

}  // namespace production
