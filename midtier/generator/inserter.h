// The phases' typed front to a table's row writer: row(a, b, c) in column order.
#pragma once

#include <array>
#include <concepts>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "midtier/generator/row_writer.h"
#include "midtier/generator/world.h"

namespace gen {

class Inserter {
 public:
  // `columns` is the comma-separated column list; row() takes one value per column.
  Inserter(World& world, std::string_view table, std::string_view columns)
      : writer_(world.loader.open(table, columns)) {}

  template <typename... Values>
  void row(const Values&... values) {
    const std::array<Value, sizeof...(Values)> row{toValue(values)...};
    writer_->write(row);
  }

 private:
  template <std::integral T>
  static Value toValue(T value) {
    return static_cast<int64_t>(value);
  }
  static Value toValue(double value) { return value; }
  static Value toValue(std::string_view value) { return value; }
  static Value toValue(const std::string& value) { return std::string_view(value); }
  static Value toValue(const char* value) { return std::string_view(value); }
  template <typename T>
  static Value toValue(const std::optional<T>& value) {
    return value ? toValue(*value) : Value{};
  }

  std::unique_ptr<RowWriter> writer_;
};

}  // namespace gen
