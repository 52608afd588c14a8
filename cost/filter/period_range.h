// The accounting-period range of a cost report filter, the walk over its periods across year
// ends, and the texts that show it (title lines, progress messages).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/lumo/dictionary.h"

namespace cost {

struct PeriodRange {
  int16_t beginYear = 0;
  int16_t beginPeriod = 0;
  int16_t endYear = 0;
  int16_t endPeriod = 0;

  // "BYear", "BPeriod", "EYear", "EPeriod" as 16-bit integers; raises plat::Error when one
  // is not a number or does not fit.
  static PeriodRange Read(const lumo::Dictionary& filter);
};

// Visits the periods of `range` in order, `periodCount` periods a year: the first year from
// beginPeriod, every later year from 1, the last year up to endPeriod (or the period count).
// The end test follows the visit, so (beginYear, beginPeriod) is visited whenever
// beginYear <= endYear, also when beginPeriod > endPeriod in a single year; beginYear >
// endYear visits nothing. `visit(year, period)` takes both by reference and the walk goes on
// from what they hold afterwards. A period at or above the count ends its year, so a first
// period beyond the count is visited once and the walk goes on with the next year.
template <class Visit>
void WalkPeriods(const PeriodRange& range, int32_t periodCount, Visit&& visit) {
  int16_t period = range.beginPeriod;
  for (int16_t year = range.beginYear; year <= range.endYear; ++year) {
    for (;;) {
      visit(year, period);
      if (year == range.endYear && period >= range.endPeriod) return;
      if (period >= periodCount) {
        period = 1;
        break;
      }
      ++period;
    }
    if (year == INT16_MAX) return;
  }
}

// Title lines 0 to 2 of both cost reports: the first and last period and the product range.
std::array<std::string, 3> RangeTitleCaptions(const lumo::Dictionary& filter);

// "正在从服务器读取2024年第3期数据..." and "正在汇总2024年第3期数据...".
std::string ReadingMessage(int year, int period);
std::string SummingMessage(int year, int period);

// The period label of a row: year and period joined by "." ("2024.3").
std::string PeriodLabel(int year, int period);

}  // namespace cost
