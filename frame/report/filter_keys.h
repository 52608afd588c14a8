// The filter keys of a report as data: what its dialog writes, what its data service reads and
// what a script may set, with each key's type, default, allowed values and their meanings.
// Each report has one such table; the dialog, the service and the command line all read it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace frame {

enum class KeyType {
  Text,        // stored as typed
  QuotedText,  // stored with every "'" doubled, as the report's dialog stores it
  DateText,    // "YYYY-MM-DD", stored as that text
  DateValue,   // "YYYY-MM-DD", stored as a date
  Int16,       // a whole number within [min, max]
  Double,      // a number within [min, max]
  WholeDouble, // a whole number within [min, max], stored as a Double (the level boxes)
};

inline constexpr bool isNumeric(KeyType type) {
  return type == KeyType::Int16 || type == KeyType::Double || type == KeyType::WholeDouble;
}
inline constexpr bool isWhole(KeyType type) { return type == KeyType::Int16 || type == KeyType::WholeDouble; }

// A default that depends on the database: the current accounting year or period.
enum class DefaultFrom { Value, CurrentYear, CurrentPeriod };

// One allowed value of a list or check-box key, with the dialog's caption for it and the
// condition it puts on the production tasks: SQL over the task table, whose alias is written
// "$" (each service names its own), every "?" bound to today's date. "" restricts nothing.
struct KeyChoice {
  int16_t value;
  std::string_view caption;
  std::string_view condition = {};
};

struct FilterKey {
  std::string_view name;
  KeyType type;
  std::string_view fallback;  // the default as a script would write it; "" for text keys
  std::string_view meaning;
  std::span<const KeyChoice> choices = {};  // when not empty, the values the key may hold
  double min = 0, max = 0;                  // numeric bounds (Int16, Double) when max > min
  DefaultFrom from = DefaultFrom::Value;
  bool optional = false;  // left out of a script's filter unless set

  // The choice holding `value`; nullptr when there is none.
  const KeyChoice* choice(int value) const;
  // The list index of `fallback` among the choices (0 when it is none of them).
  int defaultIndex() const;
};

// One report's keys, in the order a script's filter holds them.
struct FilterKeys {
  int report;
  std::span<const FilterKey> keys;

  // By name, without regard to case; nullptr when the report has no such key.
  const FilterKey* find(std::string_view name) const;
  // As find; raises plat::Error when the report has no such key (a table out of step with
  // the code reading it).
  const FilterKey& at(std::string_view name) const;
};

}  // namespace frame
