#include "cost/filter/filter_values.h"

#include "platform/core/variant.h"

namespace cost {

bool FilterEquals(const lumo::Dictionary& filter, std::string_view key, double number) {
  const plat::Variant value = filter.Value(key);
  if (value.isNull()) return false;
  if (value.isEmpty() || (value.isText() && plat::trim(value.text()).empty())) return number == 0;
  return value.toDouble() == number;
}

std::string FilterText(const lumo::Dictionary& filter, std::string_view key) { return filter.Value(key).text(); }

}  // namespace cost
