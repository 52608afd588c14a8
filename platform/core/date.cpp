#include "platform/core/date.h"

#include <charconv>
#include <cstdio>

namespace plat {

namespace chr = std::chrono;

Date::Date(int y, unsigned m, unsigned d) : days_(chr::sys_days(chr::year{y} / chr::month{m} / chr::day{d})) {}

Date Date::today() { return Date(chr::floor<chr::days>(chr::system_clock::now())); }

std::optional<Date> Date::parse(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  int parts[3] = {0, 0, 0};
  const char* p = text.data();
  const char* end = p + text.size();
  for (int i = 0; i < 3; ++i) {
    auto [next, ec] = std::from_chars(p, end, parts[i]);
    if (ec != std::errc() || next == p) return std::nullopt;
    const auto digits = next - p;
    if ((i == 0 && digits != 4) || (i > 0 && digits > 2)) return std::nullopt;
    p = next;
    if (i < 2) {
      if (p == end || (*p != '-' && *p != '/')) return std::nullopt;
      ++p;
    }
  }
  if (p != end) return std::nullopt;
  const chr::year_month_day ymd{chr::year{parts[0]}, chr::month{static_cast<unsigned>(parts[1])},
                                chr::day{static_cast<unsigned>(parts[2])}};
  if (!ymd.ok()) return std::nullopt;
  return Date(chr::sys_days(ymd));
}

int Date::year() const { return static_cast<int>(chr::year_month_day(days_).year()); }
unsigned Date::month() const { return static_cast<unsigned>(chr::year_month_day(days_).month()); }
unsigned Date::day() const { return static_cast<unsigned>(chr::year_month_day(days_).day()); }

std::string Date::iso() const {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", year(), month(), day());
  return buf;
}

}  // namespace plat
