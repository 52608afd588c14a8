// Filters from the command line: "--set KEY=VALUE" pairs checked against the report's keys and
// typed as the report's dialog would store them, over the report's script defaults.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/catalog.h"
#include "platform/core/variant.h"
#include "platform/lumo/dictionary.h"

namespace app {

using TypedValue = std::pair<std::string, plat::Variant>;  // the key as the catalog spells it

// The value of `text` for `key`. Raises app::Failure (kExitUsage) naming the key: a malformed
// or impossible date, a number that is no number or lies outside the key's bounds.
plat::Variant typedValue(const FilterKey& key, std::string_view text);

// Checks every "KEY=VALUE" of `pairs` against `report`. Raises app::Failure (kExitUsage) for a
// pair without "=", a key the report does not know (listing the keys it knows) or a bad value.
std::vector<TypedValue> parseSetPairs(const ReportInfo& report, const std::vector<std::string>& pairs);

struct AccountingPeriod {
  int year = 0;
  int period = 0;
};

// The report's filter with every key at its script default, `values` over them, and the keys
// that follow from others. `current` is asked only when a default needs the current period.
lumo::DictionaryRef scriptFilter(const ReportInfo& report, const std::vector<TypedValue>& values,
                                 const std::function<AccountingPeriod()>& current);

// Stores `values` in `filter` (keeping the filter's own spelling of a key it has already).
void applyValues(lumo::Dictionary& filter, const std::vector<TypedValue>& values);

}  // namespace app
