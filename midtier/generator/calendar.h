// The fixed demo calendar: days as integers, ISO date texts, accounting periods.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace gen {

using Day = int32_t;  // days since 1970-01-01
inline constexpr Day kNoDay = INT32_MIN;

struct CivilDate {
  int year;
  int month;
  int day;
};

constexpr Day dayFromCivil(int year, int month, int day) {
  // Howard Hinnant's days_from_civil.
  year -= month <= 2;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int yoe = year - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

CivilDate civilFromDay(Day day);
std::string isoDate(Day day);  // "YYYY-MM-DD"

// The demo's calendar: tasks are dated from the first day to "today", the last day of
// the current accounting period 2026/11. Nothing depends on the machine's clock.
inline constexpr Day kFirstDay = dayFromCivil(2025, 1, 1);
inline constexpr Day kToday = dayFromCivil(2026, 11, 30);
inline constexpr int kFirstYear = 2025;
inline constexpr int kLastYear = 2026;
inline constexpr int kCurrentYear = 2026;
inline constexpr int kCurrentPeriod = 11;
inline constexpr int kPeriodsPerYear = 12;

// Periods counted from 2025/1 (index 0); 2026/11 is index 22.
inline int periodIndex(Day day) {
  CivilDate date = civilFromDay(day);
  return (date.year - kFirstYear) * kPeriodsPerYear + date.month - 1;
}
inline constexpr int kCurrentPeriodIndex = (kCurrentYear - kFirstYear) * kPeriodsPerYear + kCurrentPeriod - 1;
inline int periodYear(int index) { return kFirstYear + index / kPeriodsPerYear; }
inline int periodNumber(int index) { return index % kPeriodsPerYear + 1; }

// ISO texts of every day from 2024-01-01 to 2028-12-31, formatted once.
class DateTexts {
 public:
  DateTexts();
  std::string_view operator[](Day day) const;

 private:
  Day first_;
  std::string buffer_;  // 10 characters per day
};

}  // namespace gen
