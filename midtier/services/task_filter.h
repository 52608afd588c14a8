// What the production task members of TavMShopRpt.Data (GetRpt400Data, GetRpt410Data,
// GetRpt406Data) share: reading the filter, conditions with bound values, the data-right
// clauses, the ordering text and the total row.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "frame/report/filter_keys.h"
#include "midtier/dbi/session.h"
#include "platform/ado/recordset.h"
#include "platform/lumo/dictionary.h"

namespace midtier::tasks {

inline constexpr std::string_view kSource = "TavMShopRpt.Data";

// How a dialog stored its texts: with every "'" doubled (ready for a SQL literal) or as typed.
enum class Quotes { Doubled, AsTyped };

// The filter's values as the queries bind them.
class FilterValues {
 public:
  FilterValues(const lumo::Dictionary& filter, Quotes quotes) : filter_(filter), quotes_(quotes) {}

  bool has(std::string_view key) const { return filter_.Lookup(key); }
  // The text as typed, trimmed of blanks; "" when absent. Control characters are kept: they
  // are bound, never pasted, so they simply match nothing.
  std::string text(std::string_view key) const;
  // A date value or a date text as "YYYY-MM-DD"; "" when absent or empty. Raises a refusal
  // naming `label` when the value is not a date.
  std::string date(std::string_view key, std::string_view label) const;
  // A list index; `absent` when the key is missing or empty.
  int list(std::string_view key, int absent) const;
  // "bLongNumber": item numbers compared in long form; true when absent.
  bool longNumbers() const;

 private:
  const lumo::Dictionary& filter_;
  Quotes quotes_;
};

using Value = std::variant<std::string, int64_t>;

// Conditions joined by AND, each with the values of its "?" placeholders, in order.
class Conditions {
 public:
  void add(std::string condition) { sql_ += " AND " + std::move(condition); }
  void add(std::string condition, Value value);
  // column >= begin and column <= end, each only when not "".
  void range(const std::string& column, const std::string& begin, const std::string& end);
  // The condition of the choice the filter holds under `key`, on the task table named `alias`,
  // each "?" bound to `today`. An absent key, or a value without a condition, adds nothing.
  void choice(const FilterValues& values, const frame::FilterKey& key, std::string_view alias,
              const std::string& today = {});
  // " AND ..." for each condition, "" when there is none.
  const std::string& sql() const { return sql_; }
  // The values in placeholder order, after the `before` values of the statement's own "?N".
  [[nodiscard]] dbi::Values params(dbi::Values before = {}) const;

 private:
  std::string sql_;
  std::vector<Value> values_;
};

// Checks "DataRightFrom" and "DataRightWhere" before a query. The where clause can only hold
// the builder's conditions " CharIndex('<user>',<alias>.FRightUserID)>0 " joined by " And ",
// about the rights-bearing base tables (customers, suppliers, stocks). A production task
// query joins none of them, so such conditions cannot hide any of its rows and are ignored.
// Anything else, a from clause included, is refused: it is never pasted into a query.
void checkDataRight(const lumo::Dictionary& filter);

// " ORDER BY ..." from the grid's ordering text ("FBatchNo DESC, FNumber"), whose names must
// be among `fields` (compared without regard to case, an alias prefix "t1." allowed), else
// `fallback` when the text is empty. Raises a refusal quoting a term it cannot accept.
std::string orderBy(std::string_view text, std::span<const std::string_view> fields, std::string_view fallback);

// Appends the grand total row: "合计" in `labelField`, FSumSort 101 and the sum of every
// field of `sumFields` over the rows before it; other fields stay Null.
void appendTotalRow(ado::Recordset& rs, std::string_view labelField, std::span<const std::string_view> sumFields);

// Today as "YYYY-MM-DD": the date the overdue and execute-state rules compare with.
std::string today();

}  // namespace midtier::tasks
