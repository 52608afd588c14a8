// Rpt499: identity, statement parts, title, the worker that walks the period range, and the
// drill-down into Rpt498.
#include "cost/rpt499/rpt499.h"

#include "cost/common/period_worker.h"
#include "cost/filter/filter_values.h"
#include "cost/filter/frm_filter498.h"
#include "cost/filter/frm_filter499.h"
#include "cost/filter/period_range.h"
#include "cost/rpt498/rpt498.h"
#include "cost/rpt499/comprehensive_rows.h"
#include "frame/host/context.h"
#include "frame/host/settings.h"
#include "frame/services/class_names.h"
#include "frame/services/services.h"
#include "platform/forms/front_end.h"

namespace cost {
namespace {

using frame::Msg;

frame::ReportIdentity identity() {
  frame::ReportIdentity id;
  id.numberText = "499";
  id.logId = "SysRptLog0045";
  id.logText = "产品成本综合表查询";
  id.properties = {{"Name", "产品成本综合表"},
                   {"FrozenColumn", int16_t{5}},
                   {"RptProperty", int16_t{2}},
                   {"DetailRptID", int16_t{498}}};
  id.hidesBillNavigation = true;
  return id;
}

// The dialog gets no number of the report; whatever it hands back becomes the filter; there
// is no "过滤条件有误" message; errors inside ShowFilter are passed over.
frame::FilterPolicy policy() {
  frame::FilterPolicy p;
  p.handsNumberToDialog = false;
  p.reportsMissingResult = false;
  p.adoptsAnyResult = true;
  p.catchesErrors = true;
  return p;
}

int32_t currencyScale(const std::string& props) {
  return frame::CreateService<svc::ShopRptData>(svc::kShopRptData)->GetCurrencyScale(props);
}

rpt499::Levels levelsOf(const lumo::Dictionary& filter) {
  rpt499::Levels levels;
  if (!FilterEquals(filter, "GroupBy", 1)) return levels;
  const bool byClass = FilterEquals(filter, "SumMode", 1);
  levels.shown = byClass;
  levels.copied = byClass || FilterEquals(filter, "SumMode", 2);
  if (levels.copied) {
    levels.first = filter.Value("BLevel").toInt32();
    levels.last = filter.Value("ELevel").toInt32();
  }
  return levels;
}

}  // namespace

Rpt499::Rpt499() : frame::Report(identity(), policy()) {}

std::shared_ptr<frame::FilterDialog> Rpt499::CreateFilterDialog() { return std::make_shared<frmFilter499>(); }

void Rpt499::OnFilterAccepted() { PrepareStatementParts(parts_, *Filter(), currencyScale(frame::PropsString())); }

lumo::DictionaryRef Rpt499::BuildFragments() {
  const lumo::Dictionary& filter = *Filter();
  if (!FilterEquals(filter, "GroupBy", 1)) return PlainFragments(parts_, filter);
  if (!FilterEquals(filter, "SumMode", 1)) return nullptr;
  SetExtFirter(NumberText());  // the class-level run builds the Property dictionary anew
  return ClassLevelFragments(parts_, filter, frame::LongNumberFlag());
}

void Rpt499::BuildTitle(lumo::Vector& title) {
  const lumo::Dictionary& filter = *Filter();
  const auto captions = RangeTitleCaptions(filter);
  for (int16_t i = 0; i < 3; ++i) AddTitle(title, i, captions[static_cast<size_t>(i)]);
  if (FilterEquals(filter, "GroupBy", 1)) {
    const std::string levels = Msg("汇总依据：") + FilterText("BLevel") + "--" + FilterText("ELevel");
    if (FilterEquals(filter, "SumMode", 1))
      AddTitle(title, 4, levels + Msg("产品类别"));
    else if (FilterEquals(filter, "SumMode", 2))
      AddTitle(title, 4, levels + Msg("部门"));
    else
      AddTitleWithoutCaption(title, 4);
  }
  AddTitleWithoutCaption(title, 5);
  AddTitle(title, 7, "");
}

void Rpt499::OnActive() {
  ProgressBar().SetMsg(Msg("正在连接服务器"));
  SetRs(GetRptList().tryAs<ado::Recordset>());
}

plat::Variant Rpt499::GetRptList() {
  try {
    return RunWorker();
  } catch (const std::exception& e) {
    Fail(e);
    return plat::ObjectRef();
  }
}

ado::RecordsetRef Rpt499::RunWorker() {
  const std::string props = frame::PropsString();
  const int32_t scale = currencyScale(props);
  const int32_t periodCount = frame::GetMaxPeriod();
  if (periodCount == 0) {
    ProgressBar().Unload();
    return nullptr;
  }
  const PeriodRange range = PeriodRange::Read(*Filter());
  const rpt499::Levels levels = levelsOf(*Filter());
  auto header = lumo::newVector();
  for (const rpt499::Column& c : rpt499::Columns(levels))
    AddColumn(*header, c.caption, c.second, c.type, c.name, frame::ColumnFlag::None);
  SetHeader(header);
  lumo::DictionaryRef fragments = BuildFragments();
  ado::RecordsetRef rs = rpt499::NewReportRecordset(scale, levels);

  frame::Bar& bar = ProgressBar();
  PeriodSteps steps;
  steps.fetch = [&](svc::ShopRptData& service, plat::Variant& y, plat::Variant& p, lumo::DictionaryRef& filter) {
    return service.Get499HappenData(props, y, p, fragments, filter);
  };
  steps.copy = [&](ado::Recordset& source, int16_t year, int16_t period, const DecimalLookup& lookupDecimals,
                   int32_t& qtyDecimal, int32_t& priceDecimal, const std::function<void(int32_t)>& afterRow) {
    rpt499::CopyPeriodRows(source, *rs, PeriodLabel(year, period), levels, lookupDecimals, qtyDecimal, priceDecimal,
                           afterRow);
  };
  RunPeriods({bar, props, [this] { return Filter(); }, [this](lumo::DictionaryRef f) { ReplaceFilter(std::move(f)); }},
             range, periodCount, steps);
  bar.Unload();
  SetOk();
  return rs;
}

plat::ObjectRef Rpt499::GetDetailReport(int32_t lRow) {
  try {
    const ado::RecordsetRef& rs = Rs();
    if (!rs) throw plat::Error(91, "TavShopRpt.Rpt499", "Object variable or With block variable not set");
    rs->MoveFirst();
    rs->Move(lRow);
    if (rs->Value("FSumSort").toDouble() > 0) return nullptr;

    const lumo::Dictionary& filter = *Filter();
    auto detail = lumo::newDictionary();
    for (const char* key : {"BYear", "EYear", "BPeriod", "EPeriod"}) detail->SetValue(key, filter.Value(key));
    const plat::Variant number = rs->Value("FNumber");
    detail->SetValue("BItemNumber", number);
    detail->SetValue("EItemNumber", number);
    detail->SetValue("BatchNo", FilterEquals(filter, "GroupByBatchNo", 0) ? rs->Value("FBatchNo") : plat::Variant(kAnyBatch));

    auto report = frame::CreateService<frame::Report>(kRpt498Class);
    report->SetRptID(498);
    report->SetExtFirter("498");
    report->SetFilter(detail);
    report->GetReportData();
    return report;
  } catch (const std::exception& e) {
    forms::MsgBox(frame::Describe(e), forms::vbOKOnly, Msg("Ostrel提示"));
    return nullptr;
  }
}

}  // namespace cost
