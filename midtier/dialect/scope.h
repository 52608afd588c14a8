// Name resolution for typing: which tables a query sees and what class their columns have.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "midtier/dialect/ast.h"
#include "midtier/dialect/catalog.h"

namespace dialect {

struct ScopeTable {
  std::string refName;                   // alias, or the table name when there is none
  std::shared_ptr<const TableInfo> info;  // nullptr when the table's columns are unknown
  bool sequenced = false;                 // a table the batch created (see Target::keepsInsertOrder)
};

// The tables of one query level; parent is the enclosing query (for correlated references).
struct Scope {
  const Scope* parent = nullptr;
  std::vector<ScopeTable> tables;
};

[[nodiscard]] Scope makeScope(const std::vector<TableRef>& from, const Catalog& catalog, const Scope* parent);
// The column a reference names; nullptr when it is unknown or may belong to a table whose columns
// are unknown.
[[nodiscard]] const ColumnInfo* findColumn(const Scope& scope, const std::string& qualifier, const std::string& column);
// The class of a column reference: the innermost query that can own it decides.
[[nodiscard]] SqlType columnType(const Scope& scope, const std::string& qualifier, const std::string& column);
// The static class of an expression; Unknown when only the values can tell.
[[nodiscard]] SqlType inferType(const Expr& e, const Scope& scope, const Catalog& catalog);
// A column held as floating point, or a cast to float.
[[nodiscard]] bool isFloating(const Expr& e, const Scope& scope);
// The name a select-list item gives its column: the alias, else the column's name, else empty.
[[nodiscard]] std::string itemName(const SelectItem& item);

}  // namespace dialect
