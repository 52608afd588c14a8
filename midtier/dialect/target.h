// A target engine of the dialect layer, as a description: its column types and functions, and
// the SQL Server features it has natively. The emitters read it where the engines differ.
#pragma once

#include <string>
#include <string_view>

namespace dialect {

enum class TargetKind { SQLite, PostgreSQL };

struct Target {
  TargetKind kind;
  // Column types of the work tables by type family; text compares without regard to case.
  std::string_view textColumn, integerColumn, floatColumn;
  // decimal(p,s) is kept exactly, rounded to s places on store: the column type is
  // `exactDecimal`(p,s) and no rounding is written. Otherwise a decimal is a float column and
  // stores and casts round through tav_round.
  std::string_view exactDecimal;
  // Storing a fraction into an integer column rounds (SQL Server cuts it), so it is cut first.
  bool roundsIntegers;
  // GROUP BY ROLLUP (...) and GROUPING(); otherwise rollups are expanded level by level.
  bool nativeRollup;
  // The schema of the connection's temporary tables, for DROP TABLE.
  std::string_view tempSchema;
  // The hidden column that identifies a row of a table (UPDATE ... FROM joins on it).
  std::string_view rowId;
  // Unquoted names fold to lower case, so quoted names are written in lower case too.
  bool foldsNames;
  // NULL sorts first in ascending order (SQL Server's order); otherwise NULLS FIRST/LAST is written.
  bool nullsSortFirst;
  // LIKE compares without regard to case on the work tables' text; otherwise ILIKE under the
  // default collation (a case-insensitive collation supports no pattern match).
  bool caselessLike;
  // A collation clause for ordering text without regard to case ("" when the columns do it).
  std::string_view caselessOrder;
  // A table without ORDER BY reads back in the order its rows were inserted, also after
  // updates, as SQL Server's and SQLite's work tables do. Otherwise the work tables get a
  // hidden column numbering their rows (kSequenceColumn), which "*" leaves out and a read of
  // one work table orders by.
  bool keepsInsertOrder;
  // How a text key of a rollup is sorted ({0} the key) so that groups stream in the order
  // SQLite's NOCASE puts them (ASCII case folded, then code points), where the columns'
  // collation sorts otherwise (ICU puts 电 before 泵); "" when caselessOrder does it.
  std::string_view textOrder;
  // SUM ({0} the argument) of exact decimals and of floating-point values, added exactly as the
  // decimals they stand for, where the engine has a faster form than the general tav_sum.
  std::string_view decimalSum, floatSum;
};

inline constexpr const char* kSequenceColumn = "tav_seq";

[[nodiscard]] const Target& sqliteTarget();
[[nodiscard]] const Target& postgresTarget();

// The same function of SQL Server on this target: the pattern ({0}, {1}, {*}) when the target
// writes it differently from SQLite, else empty.
[[nodiscard]] std::string_view functionPattern(const Target& target, std::string_view sqlServerName);

// Statements that create the helper functions translated statements call on PostgreSQL
// (tav_charindex, tav_add, tav_round, and tav_sum, which keeps integers integers and adds
// doubles exactly as the decimals they print as, as SQLite's does); idempotent.
[[nodiscard]] std::string postgresFunctions();

}  // namespace dialect
