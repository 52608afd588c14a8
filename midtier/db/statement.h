// A prepared SQLite statement: bind, step, read columns, reset.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

struct sqlite3_stmt;

namespace db {

class Database;

enum class ColumnType { Integer, Real, Text, Blob, Null };

// Owns one sqlite3_stmt. Parameter and column indexes follow SQLite: parameters are
// 1-based, columns 0-based. Names of columns compare without regard to case; parameter
// names are given with their prefix (":id", "@id", "$id") or without it (then ':', '@'
// and '$' are tried in turn). Every failure throws db::Error.
class Statement {
 public:
  Statement(Database& database, std::string_view sql);
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  Statement& bindNull(int index);
  Statement& bind(int index, std::nullptr_t) { return bindNull(index); }
  Statement& bind(int index, int64_t value);
  template <typename T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, int64_t>)
  Statement& bind(int index, T value) {
    return bind(index, static_cast<int64_t>(value));
  }
  Statement& bind(int index, double value);
  Statement& bind(int index, std::string_view value);  // the text is copied
  // The text is not copied: it must stay valid until the statement is stepped and reset, or
  // bound anew. For bulk loads whose values live in the caller's memory.
  Statement& bindStatic(int index, std::string_view value);
  Statement& bind(int index, const char* value) { return bind(index, std::string_view(value)); }
  Statement& bind(int index, const std::string& value) { return bind(index, std::string_view(value)); }
  template <typename T>
  Statement& bind(int index, const std::optional<T>& value) {
    return value ? bind(index, *value) : bindNull(index);
  }
  template <typename T>
  Statement& bind(std::string_view name, const T& value) {
    return bind(parameterIndex(name), value);
  }

  // Binds the values to parameters 1, 2, ... in order.
  template <typename... Values>
  Statement& bindAll(const Values&... values) {
    int index = 0;
    (bind(++index, values), ...);
    return *this;
  }

  [[nodiscard]] int parameterIndex(std::string_view name) const;
  Statement& clearBindings();

  // Advances to the next row: true when a row is ready, false when the statement is done.
  bool step();
  // Runs the statement to its end and resets it for the next use (inserts, updates).
  void run();
  // Makes the statement ready to run again; the bindings stay.
  void reset();

  [[nodiscard]] int columnCount() const;
  [[nodiscard]] std::string columnName(int column) const;
  [[nodiscard]] int columnIndex(std::string_view name) const;  // throws when there is none
  [[nodiscard]] ColumnType columnType(int column) const;
  [[nodiscard]] bool isNull(int column) const { return columnType(column) == ColumnType::Null; }
  [[nodiscard]] int64_t getInt64(int column) const;
  [[nodiscard]] double getDouble(int column) const;
  [[nodiscard]] std::string getText(int column) const;  // null gives ""
  // Valid until the next step, reset or conversion of the same column.
  [[nodiscard]] std::string_view getTextView(int column) const;

  [[nodiscard]] bool isNull(std::string_view name) const { return isNull(columnIndex(name)); }
  [[nodiscard]] int64_t getInt64(std::string_view name) const { return getInt64(columnIndex(name)); }
  [[nodiscard]] double getDouble(std::string_view name) const { return getDouble(columnIndex(name)); }
  [[nodiscard]] std::string getText(std::string_view name) const { return getText(columnIndex(name)); }

  [[nodiscard]] std::string sql() const;
  [[nodiscard]] sqlite3_stmt* handle() const { return stmt_; }

 private:
  [[noreturn]] void fail(int rc) const;
  void checkBind(int rc, int index) const;
  void checkColumn(int column) const;

  Database* database_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace db
