// Rpt498: identity, title, and the worker that walks the period range.
#include "cost/rpt498/rpt498.h"

#include "cost/common/period_worker.h"
#include "cost/filter/frm_filter498.h"
#include "cost/filter/period_range.h"
#include "cost/rpt498/detail_rows.h"
#include "frame/host/context.h"
#include "frame/host/settings.h"
#include "frame/services/class_names.h"
#include "frame/services/services.h"

namespace cost {
namespace {

using frame::Msg;

frame::ReportIdentity identity() {
  frame::ReportIdentity id;
  id.numberText = "498";
  id.logId = "SysRptLog0046";
  id.logText = "产品成本明细表查询";
  id.properties = {{"Name", "产品成本明细表"}, {"RptProperty", int16_t{1}}, {"FrozenColumn", int16_t{5}}};
  id.hidesBillNavigation = true;
  return id;
}

// The dialog gets no number of the report; whatever it hands back becomes the filter; there
// is no "过滤条件有误" message, and an error inside ShowFilter goes back to the host.
frame::FilterPolicy policy() {
  frame::FilterPolicy p;
  p.handsNumberToDialog = false;
  p.reportsMissingResult = false;
  p.adoptsAnyResult = true;
  p.catchesErrors = false;
  return p;
}

uint8_t amountScale(int32_t scale) {
  if (scale < 0 || scale > 255)
    throw plat::Error::overflow(svc::kShopRptData, "Overflow: currency scale " + std::to_string(scale));
  return static_cast<uint8_t>(scale);
}

}  // namespace

Rpt498::Rpt498() : frame::Report(identity(), policy()) {}

std::shared_ptr<frame::FilterDialog> Rpt498::CreateFilterDialog() { return std::make_shared<frmFilter498>(); }

void Rpt498::BuildTitle(lumo::Vector& title) {
  const auto captions = RangeTitleCaptions(*Filter());
  for (int16_t i = 0; i < 3; ++i) AddTitle(title, i, captions[static_cast<size_t>(i)]);
}

void Rpt498::OnActive() {
  ProgressBar().SetMsg(Msg("正在连接服务器"));
  SetRs(GetRptList().tryAs<ado::Recordset>());
}

plat::Variant Rpt498::GetRptList() {
  try {
    return RunWorker();
  } catch (const std::exception& e) {
    Fail(e);
    return plat::ObjectRef();
  }
}

ado::RecordsetRef Rpt498::RunWorker() {
  const std::string props = frame::PropsString();
  const uint8_t scale = amountScale(frame::CreateService<svc::ShopRptData>(svc::kShopRptData)->GetCurrencyScale(props));
  const int32_t periodCount = frame::GetMaxPeriod();
  const PeriodRange range = PeriodRange::Read(*Filter());
  if (periodCount == 0) {
    ProgressBar().Unload();
    return nullptr;
  }
  auto header = lumo::newVector();
  for (const rpt498::Column& c : rpt498::Columns())
    AddColumn(*header, c.caption, c.second, c.type, c.name, frame::ColumnFlag::None);
  SetHeader(header);
  ado::RecordsetRef rs = rpt498::NewReportRecordset(scale);

  frame::Bar& bar = ProgressBar();
  rpt498::Sums grand;
  plat::ObjectRef state;  // the service's own, handed back unchanged on every call
  PeriodSteps steps;
  steps.fetch = [&](svc::ShopRptData& service, plat::Variant& y, plat::Variant& p, lumo::DictionaryRef& filter) {
    return service.Get498HappenData(props, y, p, state, filter);
  };
  steps.copy = [&](ado::Recordset& source, int16_t year, int16_t period, const DecimalLookup& lookupDecimals,
                   int32_t& qtyDecimal, int32_t& priceDecimal, const std::function<void(int32_t)>& afterRow) {
    const rpt498::Sums sums = rpt498::CopyPeriodRows(source, *rs, PeriodLabel(year, period), lookupDecimals,
                                                     qtyDecimal, priceDecimal, afterRow);
    rpt498::AddTotalRow(*rs, Msg("小计"), "107", sums);
    grand.add(sums);
  };
  RunPeriods({bar, props, [this] { return Filter(); }, [this](lumo::DictionaryRef f) { ReplaceFilter(std::move(f)); }},
             range, periodCount, steps);
  rpt498::AddTotalRow(*rs, Msg("合计"), "101", grand);
  bar.Unload();
  SetOk();
  return rs;
}

}  // namespace cost
