// The few pieces of SQL that SQLite and PostgreSQL write differently, chosen in one place so
// that the services' statements are otherwise the same text on both engines.
#pragma once

#include <string>
#include <string_view>

#include "midtier/dbi/session.h"

namespace midtier {

// Each form returns SQL text around the expressions it is given; parameters are written ?N.
class SqlForms {
 public:
  explicit SqlForms(dbi::Engine engine) : engine_(engine) {}

  // The local time as 'YYYY-MM-DD HH:MM:SS' text, as the logs and schemes store it.
  [[nodiscard]] std::string now() const;
  // The larger of two numbers.
  [[nodiscard]] std::string greatest(std::string_view a, std::string_view b) const;
  // The whole days from the date text `earlier` to the date text `later`.
  [[nodiscard]] std::string daysBetween(std::string_view later, std::string_view earlier) const;
  // The exact decimal sum of a REAL column or a rounded decimal, as tav_sum adds them. On the
  // server the built-in sum of the values cast to numeric (no cast for a numeric), which is what
  // tav_sum does row by row in SQL.
  [[nodiscard]] std::string exactSum(std::string_view real) const;
  // A number as text with two decimals ("12.50").
  [[nodiscard]] std::string fixed2(std::string_view number) const;
  // `text` LIKE `pattern` ESCAPE '\', ASCII case ignored (SQLite's LIKE; on the server a
  // case-insensitive collation runs no pattern match, so ILIKE under the default one).
  [[nodiscard]] std::string like(std::string_view text, std::string_view pattern) const;
  // The distinct texts of a group joined by ",", in order.
  [[nodiscard]] std::string distinctList(std::string_view text) const;
  // The integers of a JSON array text as the rows of a subquery (column "value").
  [[nodiscard]] std::string jsonIntegers(std::string_view array) const;
  // A collation clause: texts equal without regard to case, or only byte for byte.
  [[nodiscard]] std::string_view caseless() const;
  [[nodiscard]] std::string_view binary() const;
  // An ORDER BY term that sorts text as SQLite's NOCASE does (ASCII case folded, then bytes).
  [[nodiscard]] std::string caselessOrder(std::string_view text) const;
  // GROUP BY `key` for a select list that also shows `dependent`, a column the key determines:
  // SQLite takes it as it is and keeps the key's index order (no sort); the server wants it
  // grouped too.
  [[nodiscard]] std::string groupByDetermining(std::string_view key, std::string_view dependent) const;
  // A query whose one row says 1 when the connection has the work table `name`, else 0.
  [[nodiscard]] std::string workTableExists(std::string_view name) const;
  // Creates index `index` on `column` of the work table `name`.
  [[nodiscard]] std::string workIndex(std::string_view index, std::string_view name, std::string_view column) const;
  // Whether the text ?N-style `needle` occurs in `text`, case counted.
  [[nodiscard]] std::string contains(std::string_view text, std::string_view needle) const;
  // A statement that holds, until the transaction ends, a lock named by the two integers ?1, ?2
  // (e.g. a report and a user) that other transactions wait for; "" where a write transaction
  // already excludes the others (SQLite).
  [[nodiscard]] std::string exclusiveLock() const;
  // A statement that makes the rest of the transaction group by sorting rather than hashing;
  // "" where the engine chooses well. The server never analyses work tables, so it guesses a
  // few hundred groups where there are tens of thousands, and hashes keys of the case-insensitive
  // collation (a sort key each) into a table that spills to disk: three times the sort's time.
  [[nodiscard]] std::string groupBySorting() const;
  // The name of the connection's temporary work table `name` ("#T401"), qualified, as the
  // dialect layer writes it for the engine.
  [[nodiscard]] std::string workTable(std::string_view name) const;

 private:
  dbi::Engine engine_;
  [[nodiscard]] bool server() const { return engine_ == dbi::Engine::PostgreSQL; }
};

}  // namespace midtier
