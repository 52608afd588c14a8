// The rules a filter must meet before a report runs on it.
#include "app/filter_check.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "app/dialog_input.h"
#include "app/exit_codes.h"
#include "platform/com/registry.h"
#include "platform/core/date.h"
#include "platform/core/variant.h"
#include "platform/grfc/scheme_store.h"

namespace app {
namespace {

std::optional<double> numberOf(const plat::Variant& value) {
  if (value.isNumber()) return value.toDouble();
  if (!value.isText()) return std::nullopt;
  const std::string text = plat::trim(value.text());
  double number = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

bool isDate(const plat::Variant& value) {
  if (value.isDate()) return true;
  if (!value.isText()) return false;
  const std::string text = value.text();
  const auto date = plat::Date::parse(text);
  return text.size() == 10 && date && date->iso() == text;
}

std::string shown(const plat::Variant& value) { return value.isText() ? "'" + value.text() + "'" : value.text(); }

FilterProblem problem(const FilterKey& key, const std::string& what, const std::string& local) {
  return FilterProblem{std::string(key.name), "filter key " + std::string(key.name) + ": " + what, local};
}

std::string localValue(const plat::Variant& value) { return "「" + value.text() + "」"; }

std::string bounds(const FilterKey& key) {
  return key.max > key.min ? " from " + plat::numberText(key.min) + " to " + plat::numberText(key.max) : "";
}

std::string localBounds(const FilterKey& key) {
  return key.max > key.min ? " " + plat::numberText(key.min) + " 到 " + plat::numberText(key.max) + " 之间的" : "";
}

std::string choiceList(const FilterKey& key) {
  std::string list;
  for (const frame::KeyChoice& c : key.choices)
    list += (list.empty() ? "" : ", ") + std::to_string(c.value) + " (" + std::string(c.caption) + ")";
  return list;
}

std::optional<FilterProblem> checkValue(const FilterKey& key, const plat::Variant& value) {
  switch (key.type) {
    case KeyType::Text:
    case KeyType::QuotedText: return std::nullopt;
    case KeyType::DateText:
    case KeyType::DateValue:
      if (isDate(value)) return std::nullopt;
      return problem(key, shown(value) + " is not a date YYYY-MM-DD",
                     fieldLabel(key.name) + localValue(value) + "不是日期，请输入 YYYY-MM-DD。");
    case KeyType::Int16:
    case KeyType::Double:
    case KeyType::WholeDouble: {
      const std::optional<double> number = numberOf(value);
      const bool whole = isWhole(key.type);
      const std::string expected = whole ? "a whole number" : "a number";
      if (!number || !std::isfinite(*number) || (whole && *number != std::floor(*number)) ||
          (key.max > key.min && (*number < key.min || *number > key.max)) ||
          (key.type == KeyType::Int16 && (*number < -32768 || *number > 32767)))
        return problem(key, shown(value) + " is not " + expected + bounds(key),
                       fieldLabel(key.name) + localValue(value) + "不对，请输入" + localBounds(key) +
                           (whole ? "整数。" : "数字。"));
      if (!key.choices.empty() && !key.choice(static_cast<int>(*number)))
        return problem(key, shown(value) + " is not one of " + choiceList(key),
                       fieldLabel(key.name) + localValue(value) + "不是可选的值。");
      return std::nullopt;
    }
  }
  return std::nullopt;
}

struct Held {
  const FilterKey* key;
  double number;
};

std::optional<Held> heldNumber(const ReportInfo& report, const lumo::Dictionary& filter, std::string_view name) {
  const FilterKey* key = report.key(name);
  if (!key || !isNumeric(key->type) || !filter.Lookup(name)) return std::nullopt;
  const std::optional<double> number = numberOf(filter.Value(name));
  if (!number) return std::nullopt;
  return Held{key, *number};
}

std::optional<FilterProblem> checkPeriods(const ReportInfo& report, const lumo::Dictionary& filter,
                                          const std::function<FiscalCalendar()>& calendar) {
  const auto begin = std::pair(heldNumber(report, filter, "BYear"), heldNumber(report, filter, "BPeriod"));
  const auto end = std::pair(heldNumber(report, filter, "EYear"), heldNumber(report, filter, "EPeriod"));
  if (!begin.first && !begin.second && !end.first && !end.second) return std::nullopt;
  const FiscalCalendar known = calendar();
  std::optional<AccountingPeriod> ends[2];
  for (int i = 0; i < 2; ++i) {
    const auto& [year, period] = i == 0 ? begin : end;
    if (!year || !period) continue;
    const AccountingPeriod p{static_cast<int>(year->number), static_cast<int>(period->number)};
    if (!known.contains(p))
      return problem(*year->key, std::string(year->key->name) + "/" + std::string(period->key->name) + " " +
                                     std::to_string(p.year) + "/" + std::to_string(p.period) +
                                     " is not an accounting period that may be reported on (" + known.rangeText() +
                                     ", " + std::to_string(known.periodsPerYear) + " periods a year)",
                     "会计期间 " + std::to_string(p.year) + "/" + std::to_string(p.period) + " 不能查询，请选择 " +
                         periodText(known.first) + " 到 " + periodText(known.current) + " 之间的期间（每年 " +
                         std::to_string(known.periodsPerYear) + " 期）。");
    ends[i] = p;
  }
  const std::optional<AccountingPeriod>& from = ends[0];
  const std::optional<AccountingPeriod>& to = ends[1];
  if (from && to && std::pair(from->year, from->period) > std::pair(to->year, to->period))
    return problem(*begin.first->key, "the first period " + std::to_string(from->year) + "/" + std::to_string(from->period) +
                                          " lies after the last " + std::to_string(to->year) + "/" +
                                          std::to_string(to->period),
                     "起始期间 " + periodText(*from) + " 晚于截止期间 " + periodText(*to) + "。");
  return std::nullopt;
}

}  // namespace

std::optional<FilterProblem> checkFilter(const ReportInfo& report, const lumo::Dictionary& filter,
                                         const std::function<FiscalCalendar()>& calendar) {
  for (const FilterKey& key : report.keys) {
    if (!filter.Lookup(key.name)) continue;
    if (auto found = checkValue(key, filter.Value(key.name))) return found;
  }
  // Numeric ranges B…/E… in order; the period range is compared as year and period together.
  for (const FilterKey& key : report.keys) {
    const std::string name(key.name);
    if (name.size() < 2 || name[0] != 'B' || name == "BYear" || name == "BPeriod") continue;
    const auto first = heldNumber(report, filter, name);
    const auto last = heldNumber(report, filter, "E" + name.substr(1));
    if (first && last && first->number > last->number)
      return problem(*first->key, plat::numberText(first->number) + " lies after " + std::string(last->key->name) + " " +
                                      plat::numberText(last->number),
                     fieldLabel(first->key->name) + " " + plat::numberText(first->number) + " 大于" +
                         fieldLabel(last->key->name) + " " + plat::numberText(last->number) + "。");
  }
  return checkPeriods(report, filter, calendar);
}

void requireValidFilter(const ReportInfo& report, const lumo::Dictionary& filter,
                        const std::function<FiscalCalendar()>& calendar, const std::string& where) {
  if (auto found = checkFilter(report, filter, calendar))
    throw Failure{kExitUsage, (where.empty() ? "" : where + ": ") + found->message};
}

std::string requireScheme(const ReportInfo& info, const std::string& name) {
  auto store = plat::broker().CreateAs<grfc::SchemeStore>(grfc::kSchemeStoreClass);
  const std::vector<std::string> names = store->List(info.dialogNumber);
  for (const std::string& saved : names)
    if (lumo::foldCase(saved) == lumo::foldCase(name)) return saved;
  std::string known;
  for (const std::string& saved : names) known += (known.empty() ? "" : ", ") + saved;
  throw Failure{kExitUsage, "no filter scheme '" + name + "' for " + std::string(info.shortName) +
                                (known.empty() ? " (it has none)" : " (its schemes: " + known + ")")};
}

lumo::DictionaryRef loadScheme(const ReportInfo& report, const std::string& name) {
  auto store = plat::broker().CreateAs<grfc::SchemeStore>(grfc::kSchemeStoreClass);
  try {
    return store->Load(report.dialogNumber, name);
  } catch (const plat::Error& e) {
    if (e.number() == plat::Error::database("", "").number()) throw;
    throw Failure{kExitUsage, "filter scheme '" + name + "' of " + std::string(report.shortName) +
                                  " cannot be read back: " + e.description()};
  }
}

std::string requireValidScheme(const ReportInfo& report, const std::string& name,
                               const std::function<FiscalCalendar()>& calendar) {
  const std::string saved = requireScheme(report, name);
  if (lumo::DictionaryRef stored = loadScheme(report, saved))
    requireValidFilter(report, *stored, calendar, "filter scheme '" + saved + "' of " + std::string(report.shortName));
  return saved;
}

}  // namespace app
