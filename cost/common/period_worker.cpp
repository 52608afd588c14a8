// RunPeriods: the period loop the cost reports share.
#include "cost/common/period_worker.h"

#include "frame/host/context.h"
#include "frame/services/class_names.h"

namespace cost {

void RunPeriods(const PeriodRun& run, const PeriodRange& range, int32_t periodCount, const PeriodSteps& steps) {
  frame::Bar& bar = run.bar;
  int32_t qtyDecimal = 0, priceDecimal = 0;
  // Each lookup goes to a service object of its own, as each period's call does.
  const DecimalLookup lookupDecimals = [&](const plat::Variant& number, int32_t& qty, int32_t& price) {
    frame::CreateService<svc::ShopRptData>(svc::kShopRptData)->GetDecimal(run.props, number, qty, price);
  };
  WalkPeriods(range, periodCount, [&](int16_t& year, int16_t& period) {
    bar.HideProgBar();
    bar.SetMsg(ReadingMessage(year, period));
    plat::Variant y = year, p = period;
    lumo::DictionaryRef filter = run.filter();
    ado::RecordsetRef source =
        steps.fetch(*frame::CreateService<svc::ShopRptData>(svc::kShopRptData), y, p, filter);
    if (filter) run.adoptFilter(filter);
    year = y.toInt16();
    period = p.toInt16();
    if (!source) throw plat::Error::typeMismatch(svc::kShopRptData, "The report data service returned no record set");
    const long count = source->RecordCount();
    if (count != 0) {
      bar.SetMsg(SummingMessage(year, period));
      bar.ShowProgBar();
      bar.SetBarMaxValue(static_cast<int32_t>(count));
      bar.SetBarMinValue(0);
      steps.copy(*source, year, period, lookupDecimals, qtyDecimal, priceDecimal,
                 [&](int32_t copied) { bar.SetBarValue(copied); });
    }
    bar.SetBarValueWithMax();
  });
}

}  // namespace cost
