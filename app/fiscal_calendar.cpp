// Reading the accounting calendar that period filters are checked against.
#include "app/fiscal_calendar.h"

#include <charconv>
#include <optional>

#include "app/exit_codes.h"
#include "midtier/services/connection.h"
#include "platform/core/variant.h"

namespace app {
namespace {

std::optional<long> wholeNumber(std::string text) {
  text = plat::trim(text);
  long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The setting's value as a whole number; Failure naming the setting when it is none.
long setting(midtier::Connection& c, const char* category, const char* key, long low, long high) {
  auto read = c.query("SELECT FValue FROM t_SystemProfile WHERE FCategory = ?1 AND FKey = ?2",
                      {std::string(category), std::string(key)});
  const std::string name = std::string(category) + "/" + key;
  if (!read->next() || read->kind(0) == dbi::ValueKind::Null)
    throw Failure{kExitDatabase, "the company database has no setting " + name};
  const std::string text(read->text(0));
  const std::optional<long> value = wholeNumber(text);
  if (!value || *value < low || *value > high)
    throw Failure{kExitDatabase, "the company database's setting " + name + " is '" + text + "', not a whole number from " +
                                     std::to_string(low) + " to " + std::to_string(high)};
  return *value;
}

}  // namespace

std::string periodText(const AccountingPeriod& p) { return std::to_string(p.year) + "/" + std::to_string(p.period); }

bool FiscalCalendar::contains(const AccountingPeriod& p) const {
  const auto key = [](const AccountingPeriod& x) { return static_cast<long>(x.year) * 1000 + x.period; };
  return p.period >= 1 && p.period <= periodsPerYear && key(p) >= key(first) && key(p) <= key(current);
}

std::string FiscalCalendar::rangeText() const { return periodText(first) + " to " + periodText(current); }

FiscalCalendar readFiscalCalendar(const std::string& props) {
  midtier::Connection& c = midtier::connect(props);
  FiscalCalendar calendar;
  calendar.periodsPerYear = static_cast<int>(setting(c, "GL", "PeriodCount", 1, 99));
  calendar.current = {static_cast<int>(setting(c, "IC", "CurrentYear", 1, 9999)),
                      static_cast<int>(setting(c, "IC", "CurrentPeriod", 1, calendar.periodsPerYear))};
  {
    auto first = c.query("SELECT FYear, FPeriod FROM t_PeriodDate ORDER BY FYear, FPeriod LIMIT 1");
    if (!first->next())
      throw Failure{kExitDatabase, "the company database has no accounting periods (t_PeriodDate is empty)"};
    calendar.first = {static_cast<int>(first->number(0)), static_cast<int>(first->number(1))};
  }
  auto current = c.query("SELECT 1 FROM t_PeriodDate WHERE FYear = ?1 AND FPeriod = ?2",
                         {int64_t{calendar.current.year}, int64_t{calendar.current.period}});
  if (!current->next())
    throw Failure{kExitDatabase, "the company database's current period " + periodText(calendar.current) +
                                     " (IC/CurrentYear, IC/CurrentPeriod) is not one of its accounting periods"};
  return calendar;
}

}  // namespace app
