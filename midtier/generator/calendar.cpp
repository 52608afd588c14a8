// Day numbers to civil dates and ISO texts.
#include "midtier/generator/calendar.h"

#include <fmt/format.h>

#include "platform/core/error.h"

namespace gen {

CivilDate civilFromDay(Day day) {
  // Howard Hinnant's civil_from_days.
  const int z = day + 719468;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = z - era * 146097;
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  const int d = doy - (153 * mp + 2) / 5 + 1;
  const int m = mp + (mp < 10 ? 3 : -9);
  return {yoe + era * 400 + (m <= 2), m, d};
}

std::string isoDate(Day day) {
  CivilDate date = civilFromDay(day);
  return fmt::format("{:04}-{:02}-{:02}", date.year, date.month, date.day);
}

DateTexts::DateTexts() : first_(dayFromCivil(2024, 1, 1)) {
  const Day last = dayFromCivil(2028, 12, 31);
  buffer_.reserve(static_cast<std::size_t>(last - first_ + 1) * 10);
  for (Day day = first_; day <= last; ++day) buffer_ += isoDate(day);
}

std::string_view DateTexts::operator[](Day day) const {
  const std::size_t offset = static_cast<std::size_t>(day - first_) * 10;
  if (day < first_ || offset + 10 > buffer_.size())
    throw plat::Error::overflow("gen.calendar", fmt::format("day {} is outside the demo calendar", day));
  return std::string_view(buffer_).substr(offset, 10);
}

}  // namespace gen
