// Typing and checking filter values given on the command line.
#include "app/filter_values.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "app/exit_codes.h"
#include "platform/core/date.h"

namespace app {
namespace {

Failure bad(const FilterKey& key, std::string_view text, std::string_view expected) {
  return Failure{kExitUsage, "bad value for filter key " + std::string(key.name) + ": '" + std::string(text) +
                                 "' (expected " + std::string(expected) + ")"};
}

std::optional<plat::Date> strictDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  auto date = plat::Date::parse(text);
  if (!date || date->iso() != text) return std::nullopt;  // 2024-02-30 reads as no date
  return date;
}

std::optional<double> number(std::string_view text) {
  text = std::string_view(text).substr(0, text.size());
  double value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
  return value;
}

std::string bounds(const FilterKey& key) {
  return key.max > key.min ? " from " + plat::numberText(key.min) + " to " + plat::numberText(key.max) : "";
}

}  // namespace

plat::Variant typedValue(const FilterKey& key, std::string_view text) {
  switch (key.type) {
    case KeyType::Text: return plat::Variant(std::string(text));
    case KeyType::QuotedText: {
      std::string doubled;
      for (char ch : text) {
        doubled += ch;
        if (ch == '\'') doubled += '\'';
      }
      return plat::Variant(doubled);
    }
    case KeyType::DateText:
    case KeyType::DateValue: {
      auto date = strictDate(text);
      if (!date) throw Failure{kExitUsage, "malformed date for filter key " + std::string(key.name) + ": '" +
                                               std::string(text) + "' (expected a date YYYY-MM-DD)"};
      return key.type == KeyType::DateValue ? plat::Variant(*date) : plat::Variant(date->iso());
    }
    case KeyType::Int16: {
      auto value = number(text);
      if (!value || *value != static_cast<double>(static_cast<long>(*value)) ||
          (key.max > key.min && (*value < key.min || *value > key.max)) || *value < -32768 || *value > 32767)
        throw bad(key, text, "a whole number" + bounds(key));
      return plat::Variant(static_cast<int16_t>(*value));
    }
    case KeyType::Double:
    case KeyType::WholeDouble: {
      auto value = number(text);
      const bool whole = key.type == KeyType::WholeDouble;
      if (!value || !std::isfinite(*value) || (whole && *value != std::floor(*value)) ||
          (key.max > key.min && (*value < key.min || *value > key.max)))
        throw bad(key, text, (whole ? "a whole number" : "a number") + bounds(key));
      return plat::Variant(*value);
    }
  }
  return {};
}

std::vector<TypedValue> parseSetPairs(const ReportInfo& report, const std::vector<std::string>& pairs) {
  std::vector<TypedValue> values;
  for (const std::string& pair : pairs) {
    const size_t eq = pair.find('=');
    if (eq == std::string::npos || eq == 0)
      throw Failure{kExitUsage, "--set needs KEY=VALUE, got '" + pair + "'"};
    const std::string name = plat::trim(pair.substr(0, eq));
    const FilterKey* key = report.key(name);
    if (!key) {
      std::string known;
      for (const FilterKey& k : report.keys) known += (known.empty() ? "" : ", ") + std::string(k.name);
      throw Failure{kExitUsage, "unknown filter key '" + name + "' for " + std::string(report.shortName) +
                                    " (its keys: " + known + ")"};
    }
    values.emplace_back(std::string(key->name), typedValue(*key, std::string_view(pair).substr(eq + 1)));
  }
  return values;
}

void applyValues(lumo::Dictionary& filter, const std::vector<TypedValue>& values) {
  for (const auto& [key, value] : values) filter.SetValue(key, value);
}

lumo::DictionaryRef scriptFilter(const ReportInfo& report, const std::vector<TypedValue>& values,
                                 const std::function<AccountingPeriod()>& current) {
  auto filter = lumo::newDictionary();
  std::optional<AccountingPeriod> period;
  for (const FilterKey& key : report.keys) {
    if (key.optional) continue;
    if (key.from == DefaultFrom::Value) {
      filter->SetValue(key.name, typedValue(key, key.fallback));
      continue;
    }
    if (!period) period = current();
    const int value = key.from == DefaultFrom::CurrentYear ? period->year : period->period;
    filter->SetValue(key.name, typedValue(key, std::to_string(value)));
  }
  applyValues(*filter, values);
  if (report.complete) report.complete(*filter);
  filter->SetValue("OK", true);
  return filter;
}

}  // namespace app
