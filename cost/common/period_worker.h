// The worker both cost reports run: their period range walked period by period, each period's
// rows asked of the data service and copied into the report's record set, with progress.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "cost/filter/period_range.h"
#include "frame/progress/bar.h"
#include "frame/services/services.h"
#include "platform/ado/recordset.h"
#include "platform/lumo/dictionary.h"

namespace cost {

// A product's decimal places, as the data service's GetDecimal gives them.
using DecimalLookup = std::function<void(const plat::Variant& number, int32_t& qty, int32_t& price)>;

struct PeriodSteps {
  // One period's rows from `service` (a new service object per period); year, period and
  // filter come back as the service leaves them.
  std::function<ado::RecordsetRef(svc::ShopRptData& service, plat::Variant& year, plat::Variant& period,
                                  lumo::DictionaryRef& filter)>
      fetch;
  // Copies a period's rows (not empty) into the report's record set; `afterRow` moves the bar.
  std::function<void(ado::Recordset& source, int16_t year, int16_t period, const DecimalLookup& lookupDecimals,
                     int32_t& qtyDecimal, int32_t& priceDecimal, const std::function<void(int32_t)>& afterRow)>
      copy;
};

// What the worker reads and changes of its report.
struct PeriodRun {
  frame::Bar& bar;
  const std::string& props;
  // The filter handed to each call, and the one the call hands back (adopted when set).
  std::function<lumo::DictionaryRef()> filter;
  std::function<void(lumo::DictionaryRef)> adoptFilter;
};

// Walks `range` (WalkPeriods). The decimal places a row looks up stay in force for the rows
// after it, across periods. Raises plat::Error when the service returns no record set.
void RunPeriods(const PeriodRun& run, const PeriodRange& range, int32_t periodCount, const PeriodSteps& steps);

}  // namespace cost
