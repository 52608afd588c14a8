// The SQL Server -> SQLite tables for types and functions.
#include "midtier/dialect/mappings.h"

#include <array>

namespace dialect {
namespace {

constexpr std::array kTypes = {
    TypeMapping{"varchar", TypeFamily::Text, 30},      TypeMapping{"nvarchar", TypeFamily::Text, 30},
    TypeMapping{"char", TypeFamily::Text, 30},         TypeMapping{"nchar", TypeFamily::Text, 30},
    TypeMapping{"text", TypeFamily::Text, -2},         TypeMapping{"ntext", TypeFamily::Text, -2},
    TypeMapping{"datetime", TypeFamily::Text, -2},     TypeMapping{"smalldatetime", TypeFamily::Text, -2},
    TypeMapping{"date", TypeFamily::Text, -2},         TypeMapping{"int", TypeFamily::Integer, 0},
    TypeMapping{"integer", TypeFamily::Integer, 0},    TypeMapping{"smallint", TypeFamily::Integer, 0},
    TypeMapping{"tinyint", TypeFamily::Integer, 0},    TypeMapping{"bigint", TypeFamily::Integer, 0},
    TypeMapping{"bit", TypeFamily::Integer, 0},        TypeMapping{"decimal", TypeFamily::Decimal, 0},
    TypeMapping{"numeric", TypeFamily::Decimal, 0},    TypeMapping{"money", TypeFamily::Decimal, 4},
    TypeMapping{"smallmoney", TypeFamily::Decimal, 4}, TypeMapping{"float", TypeFamily::Float, 0},
    TypeMapping{"real", TypeFamily::Float, 0},
};

constexpr std::array kFunctions = {
    // CHARINDEX and SUBSTRING count characters from 1 and differ from SQLite's instr/substr at the edges.
    FunctionMapping{"charindex", 2, 3, "tav_charindex({*})", Returns::Number, false},
    FunctionMapping{"substring", 3, 3, "tav_substring({*})", Returns::Text, false},
    FunctionMapping{"isnull", 2, 2, "ifnull({0}, {1})", Returns::FirstArg, false},
    FunctionMapping{"coalesce", 2, -1, "coalesce({*})", Returns::Arguments, false},
    FunctionMapping{"nullif", 2, 2, "nullif({0}, {1})", Returns::FirstArg, false},
    FunctionMapping{"replace", 3, 3, "replace({0}, {1}, {2})", Returns::Text, false},
    FunctionMapping{"upper", 1, 1, "upper({0})", Returns::Text, false},
    FunctionMapping{"lower", 1, 1, "lower({0})", Returns::Text, false},
    FunctionMapping{"ltrim", 1, 1, "ltrim({0}, ' ')", Returns::Text, false},
    FunctionMapping{"rtrim", 1, 1, "rtrim({0}, ' ')", Returns::Text, false},
    // LEN ignores trailing blanks.
    FunctionMapping{"len", 1, 1, "length(rtrim({0}, ' '))", Returns::Number, false},
    FunctionMapping{"abs", 1, 1, "abs({0})", Returns::FirstArg, false},
    FunctionMapping{"round", 2, 2, "tav_round({0}, {1})", Returns::Number, false},
    // SUM adds decimals exactly (integers stay integers), as SQL Server sums decimal(p,s).
    FunctionMapping{"sum", 1, 1, "tav_sum({*})", Returns::Number, true},
    FunctionMapping{"count", 1, 1, "count({*})", Returns::Number, true},
    FunctionMapping{"min", 1, 1, "min({*})", Returns::FirstArg, true},
    FunctionMapping{"max", 1, 1, "max({*})", Returns::FirstArg, true},
    FunctionMapping{"avg", 1, 1, "avg({*})", Returns::Number, true},
};

}  // namespace

const TypeMapping* findType(std::string_view lowerName) {
  for (const TypeMapping& t : kTypes) {
    if (t.sqlServer == lowerName) return &t;
  }
  return nullptr;
}

SqlType valueClass(TypeFamily family) { return family == TypeFamily::Text ? SqlType::Text : SqlType::Number; }

const FunctionMapping* findFunction(std::string_view lowerName) {
  for (const FunctionMapping& f : kFunctions) {
    if (f.sqlServer == lowerName) return &f;
  }
  return nullptr;
}

}  // namespace dialect
