// CREATE TABLE and DROP TABLE: #temp tables live in SQLite's temp schema of the connection.
#include "midtier/dialect/generator.h"
#include "midtier/dialect/mappings.h"

namespace dialect {
namespace {

const TypeMapping& mappingOf(const Context& ctx, const TypeName& type) {
  const TypeMapping* mapping = findType(type.name);
  if (!mapping) throw errorAt(ctx, type.pos, "unsupported type '" + type.name + "'");
  return *mapping;
}

std::string storeConversion(const TypeName& type, const TypeMapping& mapping) {
  switch (mapping.family) {
    case TypeFamily::Integer: return "CAST({} AS INTEGER)";
    case TypeFamily::Decimal:
      return "tav_round({}, " + std::to_string(type.scale >= 0 ? type.scale : mapping.defaultLength) + ")";
    default: return {};
  }
}

std::string columnType(const TypeMapping& mapping) {
  switch (mapping.family) {
    // Text compares and groups without regard to case, as under SQL Server's usual collation.
    case TypeFamily::Text: return "TEXT COLLATE NOCASE";
    case TypeFamily::Integer: return "INTEGER";
    case TypeFamily::Decimal:
    case TypeFamily::Float: return "REAL";
  }
  return "TEXT";
}

}  // namespace

void Generator::emit(const CreateTable& create) {
  std::string sql = isTempName(create.table) ? "CREATE TEMP TABLE " : "CREATE TABLE ";
  if (create.ifNotExists) sql += "IF NOT EXISTS ";
  sql += ident(create.table) + " (";
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
    sql += (i ? ", " : "") + ident(column.name) + " " + columnType(mapping);
    if (column.primaryKey) sql += " PRIMARY KEY";
    if (column.notNull) sql += " NOT NULL";
    if (column.defaultValue) sql += " DEFAULT (" + writer.write(*column.defaultValue) + ")";
    info.columns.push_back({column.name, valueClass(mapping.family), storeConversion(column.type, mapping)});
  }
  push(sql + ")", false);
  catalog_.add(create.table, std::move(info));
}

void Generator::emit(const DropTable& drop) {
  for (const std::string& table : drop.tables) {
    std::string sql = drop.ifExists ? "DROP TABLE IF EXISTS " : "DROP TABLE ";
    if (isTempName(table)) sql += "temp.";
    push(sql + ident(table), false);
    catalog_.drop(table);
  }
}

}  // namespace dialect
