// The six reports as data: class name, number, name, the number their dialog and schemes go by,
// and the report's filter-key table (what a script may set, each key's type and default).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/report/filter_keys.h"
#include "platform/lumo/dictionary.h"

namespace app {

// The filter keys come from each report's own table.
using frame::DefaultFrom;
using frame::FilterKey;
using frame::KeyType;

struct ReportInfo {
  std::string_view shortName;  // "Rpt401"
  int number;                  // 401
  std::string_view name;       // "生产任务执行情况汇总表"
  int dialogNumber;            // the number its dialog initialises the filter grid with (schemes)
  std::span<const FilterKey> keys;  // the report's filter-key table
  // Adds keys that follow from others, as the report's dialog adds them on acceptance.
  void (*complete)(lumo::Dictionary& filter) = nullptr;

  std::string className() const { return "TavShopRpt." + std::string(shortName); }
  const FilterKey* key(std::string_view name) const { return frame::FilterKeys{number, keys}.find(name); }
};

// The six reports in the order they are listed.
std::span<const ReportInfo> reports();
// By class name ("Rpt401", "TavShopRpt.Rpt401") or number ("401"), without regard to case.
const ReportInfo* findReport(std::string_view nameOrNumber);

}  // namespace app
