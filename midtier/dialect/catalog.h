// What the batch itself declares: tables created in it and the value class of their columns.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dialect {

// The value class that decides what '+' means: concatenation for Text, addition for Number.
enum class SqlType { Unknown, Text, Number, Null };

// SQL Server's exact numeric type of a value where the batch declares it: int & co, or
// decimal(precision, scale). Decides the scale of arithmetic results; None for float, text and
// columns the batch does not declare.
struct ExactType {
  enum Kind { None, Integer, Decimal } kind = None;
  int precision = 0;
  int scale = 0;
};

struct ColumnInfo {
  std::string name;
  SqlType type = SqlType::Unknown;
  // How a stored value is converted, {} standing for it: decimal(p,s) rounds to s places and int
  // drops the fraction, as SQL Server does on INSERT and UPDATE. Empty: stored as it is.
  std::string store;
  ExactType exact;
  // Held as a binary floating-point number (float, real, double precision).
  bool floating = false;
};

struct TableInfo {
  std::vector<ColumnInfo> columns;
  // The column, or nullptr when the table has no such column.
  const ColumnInfo* find(std::string_view column) const;
};

// The SQLite text that stores value in the column (value itself for unknown columns).
[[nodiscard]] std::string storedValue(const ColumnInfo* column, const std::string& value);

// A column of a table that exists in the database: its name and the type it was declared
// with, in the engine's own words ("double precision", "numeric(23,10)", "INTEGER").
struct DeclaredColumn {
  std::string name;
  std::string type;
};
// The columns of an existing table, looked up by its name as the batch writes it; empty when
// the database has no such table.
using TableLookup = std::function<std::vector<DeclaredColumn>(std::string_view table)>;

// The value class and exact type of a column the database declares.
[[nodiscard]] ColumnInfo declaredColumn(const DeclaredColumn& column);

// Tables created earlier in the same batch, and those that existed before it as the lookup
// describes them. Names ignore case, as on SQL Server.
class Catalog {
 public:
  explicit Catalog(TableLookup lookup = {}) : lookup_(std::move(lookup)) {}
  void add(std::string_view table, TableInfo info);
  void drop(std::string_view table);
  const TableInfo* find(std::string_view table) const;
  // A table the batch neither created nor dropped, as the database holds it; nullptr when the
  // database has no such table or there is no lookup. Asked once per table and batch.
  const TableInfo* findExisting(std::string_view table) const;

 private:
  std::map<std::string, TableInfo> tables_;
  std::set<std::string> dropped_;
  TableLookup lookup_;
  mutable std::map<std::string, std::optional<TableInfo>> existing_;
};

}  // namespace dialect
