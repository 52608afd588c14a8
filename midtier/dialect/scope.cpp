// Static value classes of expressions, so that '+' can be decided while translating.
#include "midtier/dialect/scope.h"

#include "midtier/dialect/exact_types.h"
#include "midtier/dialect/mappings.h"

namespace dialect {
namespace {

// Classes agree -> that class; a NULL does not vote; disagreement is only known at run time.
SqlType combine(SqlType a, SqlType b) {
  if (a == SqlType::Null) return b;
  if (b == SqlType::Null) return a;
  return a == b ? a : SqlType::Unknown;
}

}  // namespace

Scope makeScope(const std::vector<TableRef>& from, const Catalog& catalog, const Scope* parent) {
  Scope scope;
  scope.parent = parent;
  for (const TableRef& ref : from) {
    ScopeTable table;
    table.refName = ref.refName();
    if (ref.derived) {
      Scope inner = makeScope(ref.derived->from, catalog, parent);
      auto info = std::make_shared<TableInfo>();
      for (const SelectItem& item : ref.derived->items) {
        info->columns.push_back({itemName(item), inferType(*item.expr, inner, catalog), "",
                                 exactTypeOf(*item.expr, inner, catalog), isFloating(*item.expr, inner)});
      }
      table.info = std::move(info);
    } else if (const TableInfo* known = catalog.find(ref.table)) {
      table.info = std::make_shared<TableInfo>(*known);
      table.sequenced = true;
    } else if (const TableInfo* existing = catalog.findExisting(ref.table)) {
      table.info = std::make_shared<TableInfo>(*existing);
    }
    scope.tables.push_back(std::move(table));
  }
  return scope;
}

const ColumnInfo* findColumn(const Scope& scope, const std::string& qualifier, const std::string& column) {
  for (const Scope* s = &scope; s != nullptr; s = s->parent) {
    bool anyUnknown = false;
    for (const ScopeTable& table : s->tables) {
      if (!qualifier.empty() && !sameName(table.refName, qualifier)) continue;
      if (!table.info) {
        anyUnknown = true;
        continue;
      }
      if (const ColumnInfo* info = table.info->find(column)) return info;
    }
    // The column may belong to a table whose columns are not known here.
    if (anyUnknown) return nullptr;
  }
  return nullptr;
}

SqlType columnType(const Scope& scope, const std::string& qualifier, const std::string& column) {
  const ColumnInfo* info = findColumn(scope, qualifier, column);
  return info ? info->type : SqlType::Unknown;
}

SqlType inferType(const Expr& e, const Scope& scope, const Catalog& catalog) {
  switch (e.kind) {
    case ExprKind::Literal:
      if (e.literal == LiteralKind::String) return SqlType::Text;
      return e.literal == LiteralKind::Number ? SqlType::Number : SqlType::Null;
    case ExprKind::Column: return columnType(scope, e.qualifier, e.text);
    case ExprKind::Binary:
      if (e.text == "+") {
        SqlType a = inferType(*e.args[0], scope, catalog);
        SqlType b = inferType(*e.args[1], scope, catalog);
        // SQL Server's type precedence: numbers outrank text, so text + number is a number.
        if (a == SqlType::Number || b == SqlType::Number) return SqlType::Number;
        if (a == SqlType::Unknown || b == SqlType::Unknown) return SqlType::Unknown;
        return a == SqlType::Null ? b : a;
      }
      return SqlType::Number;
    case ExprKind::Cast: {
      const TypeMapping* type = findType(e.type.name);
      return type ? valueClass(type->family) : SqlType::Unknown;
    }
    case ExprKind::Call: {
      std::string name = lower(e.text);
      if (name == "grouping") return SqlType::Number;
      const FunctionMapping* f = findFunction(name);
      if (!f) return SqlType::Unknown;
      switch (f->returns) {
        case Returns::Text: return SqlType::Text;
        case Returns::Number: return SqlType::Number;
        case Returns::FirstArg: {
          if (e.args.empty()) return SqlType::Unknown;
          SqlType first = inferType(*e.args[0], scope, catalog);
          // ISNULL(NULL, x) takes the class of x.
          if (first == SqlType::Null && e.args.size() > 1) return inferType(*e.args[1], scope, catalog);
          return first;
        }
        case Returns::Arguments: {
          SqlType result = SqlType::Null;
          for (const ExprPtr& arg : e.args) result = combine(result, inferType(*arg, scope, catalog));
          return result;
        }
      }
      return SqlType::Unknown;
    }
    case ExprKind::Case: {
      SqlType result = SqlType::Null;
      std::size_t first = e.hasOperand ? 1 : 0;
      std::size_t whens = (e.args.size() - first - (e.hasElse ? 1 : 0)) / 2;
      for (std::size_t i = 0; i < whens; ++i) {
        result = combine(result, inferType(*e.args[first + 2 * i + 1], scope, catalog));
      }
      if (e.hasElse) result = combine(result, inferType(*e.args.back(), scope, catalog));
      return result;
    }
    case ExprKind::Subquery: {
      if (!e.query || e.query->items.empty()) return SqlType::Unknown;
      Scope inner = makeScope(e.query->from, catalog, &scope);
      return inferType(*e.query->items[0].expr, inner, catalog);
    }
    case ExprKind::Unary:
    case ExprKind::IsNull:
    case ExprKind::Like:
    case ExprKind::InList:
    case ExprKind::InQuery:
    case ExprKind::Between:
    case ExprKind::Exists: return SqlType::Number;
    case ExprKind::Star: return SqlType::Unknown;
  }
  return SqlType::Unknown;
}

bool isFloating(const Expr& e, const Scope& scope) {
  if (e.kind == ExprKind::Column) {
    const ColumnInfo* info = findColumn(scope, e.qualifier, e.text);
    return info && info->floating;
  }
  if (e.kind != ExprKind::Cast) return false;
  const TypeMapping* type = findType(e.type.name);
  return type && type->family == TypeFamily::Float;
}

std::string itemName(const SelectItem& item) {
  if (!item.alias.empty()) return item.alias;
  if (item.expr->kind == ExprKind::Column) return item.expr->text;
  return {};
}

}  // namespace dialect
