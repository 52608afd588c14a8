// Tables created in the batch, looked up without regard to case.
#include "midtier/dialect/catalog.h"

#include <cstdio>

#include "midtier/dialect/ast.h"
#include "midtier/dialect/parser.h"

namespace dialect {

const ColumnInfo* TableInfo::find(std::string_view column) const {
  for (const ColumnInfo& c : columns) {
    if (sameName(c.name, column)) return &c;
  }
  return nullptr;
}

std::string storedValue(const ColumnInfo* column, const std::string& value) {
  if (!column || column->store.empty()) return value;
  std::string out = column->store;
  return out.replace(out.find("{}"), 2, value);
}

void Catalog::add(std::string_view table, TableInfo info) { tables_[upper(table)] = std::move(info); }

void Catalog::drop(std::string_view table) {
  tables_.erase(upper(table));
  dropped_.insert(upper(table));
}

const TableInfo* Catalog::findExisting(std::string_view table) const {
  if (!lookup_) return nullptr;
  const std::string key = upper(table);
  if (dropped_.contains(key)) return nullptr;
  auto it = existing_.find(key);
  if (it == existing_.end()) {
    std::optional<TableInfo> info;
    std::vector<DeclaredColumn> columns = lookup_(table);
    if (!columns.empty()) {
      info.emplace();
      for (const DeclaredColumn& column : columns) info->columns.push_back(declaredColumn(column));
    }
    it = existing_.emplace(key, std::move(info)).first;
  }
  return it->second ? &*it->second : nullptr;
}

ColumnInfo declaredColumn(const DeclaredColumn& column) {
  ColumnInfo info{column.name, SqlType::Unknown, "", {}};
  const std::string type = lower(column.type);
  const auto has = [&type](std::string_view word) { return type.find(word) != std::string::npos; };
  if (type.starts_with("numeric") || type.starts_with("decimal")) {
    info.type = SqlType::Number;
    // Only a declared precision and scale make it SQL Server's decimal(p,s).
    int precision = 0, scale = 0;
    const std::size_t open = type.find('(');
    if (open != std::string::npos && std::sscanf(type.c_str() + open, "(%d,%d", &precision, &scale) == 2)
      info.exact = {ExactType::Decimal, precision, scale};
  } else if (has("int")) {
    info.type = SqlType::Number;
    info.exact = {ExactType::Integer, has("big") ? 19 : has("small") ? 5 : 10, 0};
  } else if (has("real") || has("double") || has("float")) {
    info.type = SqlType::Number;
    info.floating = true;
  } else if (has("char") || has("text") || has("clob")) {
    info.type = SqlType::Text;
  }
  return info;
}

const TableInfo* Catalog::find(std::string_view table) const {
  auto it = tables_.find(upper(table));
  return it == tables_.end() ? nullptr : &it->second;
}

}  // namespace dialect
