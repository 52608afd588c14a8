// Tables created in the batch, looked up without regard to case.
#include "midtier/dialect/catalog.h"

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

void Catalog::drop(std::string_view table) { tables_.erase(upper(table)); }

const TableInfo* Catalog::find(std::string_view table) const {
  auto it = tables_.find(upper(table));
  return it == tables_.end() ? nullptr : &it->second;
}

}  // namespace dialect
