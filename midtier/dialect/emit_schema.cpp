// CREATE TABLE and DROP TABLE: #temp tables live in the temporary schema of the connection.
#include "midtier/dialect/exact_types.h"
#include "midtier/dialect/generator.h"
#include "midtier/dialect/mappings.h"

namespace dialect {
namespace {

const TypeMapping& mappingOf(const Context& ctx, const TypeName& type) {
  const TypeMapping* mapping = findType(type.name);
  if (!mapping) throw errorAt(ctx, type.pos, "unsupported type '" + type.name + "'");
  return *mapping;
}

int scaleOf(const TypeName& type, const TypeMapping& mapping) {
  return type.scale >= 0 ? type.scale : mapping.defaultLength;
}

// How a value is converted as SQL Server stores it into the column; empty when the column does it.
std::string storeConversion(const Target& target, const TypeName& type, const TypeMapping& mapping) {
  switch (mapping.family) {
    // SQL Server cuts a fraction and reads '' as 0.
    case TypeFamily::Integer: return target.roundsIntegers ? "tav_int({})" : "CAST({} AS INTEGER)";
    case TypeFamily::Decimal:
      if (!target.exactDecimal.empty()) return {};
      return "tav_round({}, " + std::to_string(scaleOf(type, mapping)) + ")";
    default: return {};
  }
}

std::string columnType(const Target& target, const TypeName& type, const TypeMapping& mapping) {
  switch (mapping.family) {
    // Text compares and groups without regard to case, as under SQL Server's usual collation.
    case TypeFamily::Text: return std::string(target.textColumn);
    case TypeFamily::Integer: return std::string(target.integerColumn);
    case TypeFamily::Decimal:
      if (!target.exactDecimal.empty()) {
        const int precision = type.precision > 0 ? type.precision : 18;
        return std::string(target.exactDecimal) + "(" + std::to_string(precision) + ", " +
               std::to_string(scaleOf(type, mapping)) + ")";
      }
      return std::string(target.floatColumn);
    case TypeFamily::Float: return std::string(target.floatColumn);
  }
  return std::string(target.textColumn);
}

}  // namespace

void Generator::emit(const CreateTable& create) {
  std::string sql = isTempName(create.table) ? "CREATE TEMP TABLE " : "CREATE TABLE ";
  if (create.ifNotExists) sql += "IF NOT EXISTS ";
  sql += ident(ctx_.target, create.table) + " (";
  TableInfo info;
  Scope none;
  ExprWriter writer(ctx_, none);
  for (std::size_t i = 0; i < create.columns.size(); ++i) {
    const ColumnDef& column = create.columns[i];
    for (std::size_t j = 0; j < i; ++j) {
      if (sameName(create.columns[j].name, column.name)) {
        throw errorAt(ctx_, create.pos, "column '" + column.name + "' is declared twice");
      }
    }
    const TypeMapping& mapping = mappingOf(ctx_, column.type);
    sql += (i ? ", " : "") + ident(ctx_.target, column.name) + " " + columnType(ctx_.target, column.type, mapping);
    if (column.primaryKey) sql += " PRIMARY KEY";
    if (column.notNull) sql += " NOT NULL";
    if (column.defaultValue) sql += " DEFAULT (" + writer.write(*column.defaultValue) + ")";
    info.columns.push_back({column.name, valueClass(mapping.family), storeConversion(ctx_.target, column.type, mapping),
                            declaredExactType(column.type), mapping.family == TypeFamily::Float});
  }
  if (!ctx_.target.keepsInsertOrder) sql += std::string(", ") + kSequenceColumn + " bigserial";
  push(sql + ")", false);
  catalog_.add(create.table, std::move(info));
}

void Generator::emit(const DropTable& drop) {
  for (const std::string& table : drop.tables) {
    std::string sql = drop.ifExists ? "DROP TABLE IF EXISTS " : "DROP TABLE ";
    if (isTempName(table)) sql.append(ctx_.target.tempSchema).append(".");
    push(sql + ident(ctx_.target, table), false);
    catalog_.drop(table);
  }
}

}  // namespace dialect
