// The company's accounting periods, as far as filters may ask for them: the periods per year and
// the range from the first accounting period to the current one.
#pragma once

#include <string>

#include "app/filter_values.h"

namespace app {

struct FiscalCalendar {
  int periodsPerYear = 12;
  AccountingPeriod first;    // the earliest period of the accounting calendar
  AccountingPeriod current;  // the current period; later ones hold no data yet

  bool contains(const AccountingPeriod& p) const;
  // "2024/1 to 2026/11"
  std::string rangeText() const;
};

// Reads the calendar of the database `props` is logged in to: the setting GL/PeriodCount, the
// current period IC/CurrentYear and IC/CurrentPeriod, and the accounting periods t_PeriodDate
// holds. Raises app::Failure (kExitDatabase) when the setting is missing, zero or not a number,
// when there are no accounting periods, or when the current period is not one of them.
FiscalCalendar readFiscalCalendar(const std::string& props);

// "2026/3".
std::string periodText(const AccountingPeriod& p);

}  // namespace app
