// The rows of one statement, read forward, whichever engine ran it.
#pragma once

#include <string>
#include <string_view>

namespace dbi {

// What a column's declared type says about its values; Unknown for an expression whose
// engine declares nothing (SQLite) - its values then tell.
enum class ColumnKind { Unknown, Text, Integer, Decimal };

// What one value is.
enum class ValueKind { Null, Number, Text };

// Columns are 0-based. REQUIRES for the value readers: next() returned true.
class Rows {
 public:
  virtual ~Rows() = default;
  [[nodiscard]] virtual int columnCount() const = 0;
  [[nodiscard]] virtual std::string columnName(int column) const = 0;
  [[nodiscard]] virtual ColumnKind declared(int column) const = 0;
  // Advances to the next row: false once there is none.
  virtual bool next() = 0;
  [[nodiscard]] virtual ValueKind kind(int column) const = 0;
  // A number's value; 0 for Null.
  [[nodiscard]] virtual double number(int column) const = 0;
  // The engine's text of the value (also of a number); empty for Null. Valid until next().
  [[nodiscard]] virtual std::string_view text(int column) const = 0;
};

}  // namespace dbi
