// Filter values read with the host runtime's loose comparisons.
#include "production/rpt401/filter_values.h"

#include <cmath>

#include "platform/core/date.h"

namespace production::rpt401 {

double NumberOf(const plat::Variant& value) {
  if (value.isNumber()) return value.toDouble();
  if (value.isEmpty() || value.isNull() || value.isObject()) return 0;
  return plat::val(value.text());
}

int IntOf(const plat::Variant& value) {
  const double number = NumberOf(value);
  if (!std::isfinite(number) || number > 1e9 || number < -1e9) return 0;
  return static_cast<int>(std::lround(number));
}

double NumberOf(const lumo::Dictionary& filter, std::string_view key) { return NumberOf(filter.Value(key)); }

int IntOf(const lumo::Dictionary& filter, std::string_view key) { return IntOf(filter.Value(key)); }

std::string TextOf(const lumo::Dictionary& filter, std::string_view key) {
  const plat::Variant value = filter.Value(key);
  return value.isObject() ? std::string() : value.text();
}

std::string DateTextOf(const lumo::Dictionary& filter, std::string_view key) {
  const plat::Variant value = filter.Value(key);
  if (value.isDate()) return value.toDate().iso();
  const std::string text = TextOf(filter, key);
  if (auto date = plat::Date::parse(text)) return date->iso();
  return text;
}

}  // namespace production::rpt401
