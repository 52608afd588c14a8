// What differs between SQL Server and SQLite, kept as tables: column types and functions.
#pragma once

#include <string_view>

#include "midtier/dialect/catalog.h"

namespace dialect {

enum class TypeFamily {
  Text,     // varchar(n) & co: stored as TEXT; CAST to it cuts to n characters
  Integer,  // int & co: INTEGER
  // decimal(p,s) & co: REAL holding the double nearest to the decimal (NUMERIC affinity would turn
  // 5.0 into the integer 5); stores and CAST round to s places as decimals, SUM adds exactly.
  Decimal,
  Float,    // float, real: REAL
};

struct TypeMapping {
  std::string_view sqlServer;  // lower case
  TypeFamily family;
  int defaultLength;  // Text: length when none is written (CAST(x AS varchar) means varchar(30)); Decimal: scale
};

// nullptr for a type outside the supported set.
[[nodiscard]] const TypeMapping* findType(std::string_view lowerName);
[[nodiscard]] SqlType valueClass(TypeFamily family);

enum class Returns { Text, Number, FirstArg, Arguments };

struct FunctionMapping {
  std::string_view sqlServer;  // lower case
  int minArgs;
  int maxArgs;  // -1: any number
  // SQLite text: {0}, {1}, ... stand for the arguments, {*} for all of them separated by commas.
  std::string_view pattern;
  Returns returns;
  bool aggregate;
};

// nullptr for a function outside the supported set.
[[nodiscard]] const FunctionMapping* findFunction(std::string_view lowerName);

}  // namespace dialect
