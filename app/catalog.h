// The six reports as data: class name, number, name, the number their dialog and schemes go by,
// and the filter keys a script may set, with each key's type and the value used when it is not set.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/lumo/dictionary.h"

namespace app {

enum class KeyType {
  Text,        // stored as typed
  QuotedText,  // stored with every "'" doubled, as the report's dialog stores it
  DateText,    // "YYYY-MM-DD", stored as that text
  DateValue,   // "YYYY-MM-DD", stored as a date
  Int16,       // a whole number within [min, max]
  Double,      // a number within [min, max]
};

// A default that depends on the database: the current accounting year or period.
enum class DefaultFrom { Value, CurrentYear, CurrentPeriod };

struct FilterKey {
  std::string_view name;
  KeyType type;
  std::string_view fallback;  // the default as --set would write it; "" with Text keys; absent when `optional`
  double min = 0, max = 0;    // numeric bounds (Int16, Double)
  DefaultFrom from = DefaultFrom::Value;
  bool optional = false;      // left out of the filter unless set
  std::string_view meaning = {};
};

struct ReportInfo {
  std::string_view shortName;  // "Rpt401"
  int number;                  // 401
  std::string_view name;       // "生产任务执行情况汇总表"
  int dialogNumber;            // the number its dialog initialises the filter grid with (schemes)
  std::span<const FilterKey> keys;
  // Adds keys that follow from others, as the report's dialog adds them on acceptance.
  void (*complete)(lumo::Dictionary& filter) = nullptr;

  std::string className() const { return "TavShopRpt." + std::string(shortName); }
  const FilterKey* key(std::string_view name) const;
};

// The six reports in the order they are listed.
std::span<const ReportInfo> reports();
// By class name ("Rpt401", "TavShopRpt.Rpt401") or number ("401"), without regard to case.
const ReportInfo* findReport(std::string_view nameOrNumber);

}  // namespace app
