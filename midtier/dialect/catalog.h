// What the batch itself declares: tables created in it and the value class of their columns.
#pragma once

#include <map>
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
};

struct TableInfo {
  std::vector<ColumnInfo> columns;
  // The column, or nullptr when the table has no such column.
  const ColumnInfo* find(std::string_view column) const;
};

// The SQLite text that stores value in the column (value itself for unknown columns).
[[nodiscard]] std::string storedValue(const ColumnInfo* column, const std::string& value);

// Tables created earlier in the same batch. Names ignore case, as on SQL Server.
class Catalog {
 public:
  void add(std::string_view table, TableInfo info);
  void drop(std::string_view table);
  const TableInfo* find(std::string_view table) const;

 private:
  std::map<std::string, TableInfo> tables_;
};

}  // namespace dialect
