// Writes a SELECT without ROLLUP, and the SELECT statement that returns rows.
#include <cctype>

#include "midtier/dialect/generator.h"
#include "midtier/dialect/mappings.h"

namespace dialect {
const char* joinText(JoinKind join) {
  switch (join) {
    case JoinKind::First: return "";
    case JoinKind::Comma: return ", ";
    case JoinKind::Inner: return " JOIN ";
    case JoinKind::Left: return " LEFT JOIN ";
    case JoinKind::Right: return " RIGHT JOIN ";
    case JoinKind::Full: return " FULL JOIN ";
    case JoinKind::Cross: return " CROSS JOIN ";
  }
  return ", ";
}

std::string writeFrom(const std::vector<TableRef>& from, ExprWriter& writer, bool computedJoinKeys) {
  std::string out;
  for (const TableRef& ref : from) {
    out += joinText(ref.join);
    if (computedJoinKeys && writeKeyedJoin(ref, writer, out)) continue;
    if (ref.derived) {
      Scope inner = makeScope(ref.derived->from, writer.context().catalog, writer.scope().parent);
      ExprWriter derivedWriter(writer.context(), inner);
      out.append("(").append(writeSelect(*ref.derived, derivedWriter)).append(")");
    } else {
      out += ident(writer.context().target, ref.table);
    }
    if (!ref.alias.empty()) out += " AS " + ident(writer.context().target, ref.alias);
    if (ref.on) out += " ON " + writer.write(*ref.on);
  }
  return out;
}

std::string writeItem(const Select& s, std::size_t i, ExprWriter& writer, const StoredColumns* stores) {
  std::string text = writer.write(*s.items[i].expr);
  // A "*" makes positions unknown: values are then stored as they are.
  bool positional = stores && i < stores->size();
  for (const SelectItem& item : s.items) positional = positional && item.expr->kind != ExprKind::Star;
  return positional ? storedValue((*stores)[i], text) : text;
}

namespace {

bool hasAggregate(const Expr& e) {
  if (e.kind == ExprKind::Call) {
    std::string name(e.text);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (const FunctionMapping* f = findFunction(name); f && f->aggregate) return true;
  }
  for (const ExprPtr& arg : e.args)
    if (arg && hasAggregate(*arg)) return true;
  return false;
}

// A plain read of one work table, on a target that must be told to keep the insertion order.
bool readsInInsertOrder(const Select& s, ExprWriter& w) {
  if (w.context().target.keepsInsertOrder || s.from.size() != 1 || s.distinct || !s.groupBy.empty() || s.having)
    return false;
  if (w.scope().tables.empty() || !w.scope().tables[0].sequenced) return false;
  for (const SelectItem& item : s.items)
    if (hasAggregate(*item.expr)) return false;
  return true;
}

}  // namespace

std::string writeSelect(const Select& s, ExprWriter& w, const StoredColumns* stores) {
  if (s.rollup) throw errorAt(w.context(), s.pos, "unsupported construct: WITH ROLLUP here");
  std::string out = s.distinct ? "SELECT DISTINCT " : "SELECT ";
  for (std::size_t i = 0; i < s.items.size(); ++i) {
    out += (i ? ", " : "") + writeItem(s, i, w, stores);
    if (!s.items[i].alias.empty()) out += " AS " + ident(w.context().target, s.items[i].alias);
  }
  if (!s.from.empty()) out += " FROM " + writeFrom(s.from, w);
  if (s.where) out += " WHERE " + w.write(*s.where);
  for (std::size_t i = 0; i < s.groupBy.size(); ++i) out += (i ? ", " : " GROUP BY ") + w.write(*s.groupBy[i]);
  if (s.having) out += " HAVING " + w.write(*s.having);
  for (std::size_t i = 0; i < s.orderBy.size(); ++i) {
    out += (i ? ", " : " ORDER BY ") + w.write(*s.orderBy[i].expr) +
           orderDirection(w.context().target, s.orderBy[i].descending);
  }
  if (s.orderBy.empty() && readsInInsertOrder(s, w))
    out.append(" ORDER BY ").append(ident(w.context().target, s.from[0].refName())).append(".").append(kSequenceColumn);
  if (s.top >= 0) out += " LIMIT " + std::to_string(s.top);
  return out;
}

std::string orderDirection(const Target& target, bool descending) {
  if (target.nullsSortFirst) return descending ? " DESC" : "";
  return descending ? " DESC NULLS LAST" : " NULLS FIRST";
}

std::string writeSelect(const Select& s, const Context& ctx, const StoredColumns* stores) {
  Scope scope = makeScope(s.from, ctx.catalog, nullptr);
  ExprWriter writer(ctx, scope);
  return writeSelect(s, writer, stores);
}

void Generator::emit(const SelectStatement& select) {
  if (select.select->rollup) {
    RollupQuery query = writeRollup(*select.select, ctx_, true);
    push(query.with + query.body, true);
  } else {
    push(writeSelect(*select.select, ctx_), true);
  }
}

}  // namespace dialect
