// FROM lists whose join conditions compare a computed value of the joined table, such as
// cast(t_DepartMent.FItemID as varchar(10)) = #DATA.FPropName: the value is computed once per
// joined row in a derived table instead of once per pair of rows.
#include "midtier/dialect/generator.h"

namespace dialect {
namespace {

void andTerms(const Expr& e, std::vector<const Expr*>& terms) {
  if (e.kind == ExprKind::Binary && e.text == "AND") {
    andTerms(*e.args[0], terms);
    andTerms(*e.args[1], terms);
  } else {
    terms.push_back(&e);
  }
}

// Whether every column e reads is qualified by table (owned) or none is (!owned); no subqueries.
bool readsOnly(const Expr& e, const std::string& table, bool owned, int& columns) {
  if (e.query || e.kind == ExprKind::Star) return false;
  if (e.kind == ExprKind::Column) {
    ++columns;
    if (e.qualifier.empty()) return false;  // could be either table's
    return sameName(e.qualifier, table) == owned;
  }
  for (const ExprPtr& arg : e.args) {
    if (arg && !readsOnly(*arg, table, owned, columns)) return false;
  }
  return true;
}

bool isJoinKey(const Expr& e, const std::string& table) {
  int columns = 0;
  return e.kind != ExprKind::Column && readsOnly(e, table, true, columns) && columns > 0;
}

bool isOuterValue(const Expr& e, const std::string& table) {
  int columns = 0;
  return readsOnly(e, table, false, columns);
}

}  // namespace

bool writeKeyedJoin(const TableRef& ref, ExprWriter& writer, std::string& out) {
  if (ref.derived || !ref.on || (ref.join != JoinKind::Left && ref.join != JoinKind::Inner)) return false;
  // A planner that hashes joins on expressions by itself needs no help.
  if (writer.context().target.kind != TargetKind::SQLite) return false;
  std::vector<const Expr*> terms;
  andTerms(*ref.on, terms);
  const std::string& name = ref.refName();
  std::string keys;
  std::string on;
  int count = 0;
  for (const Expr* term : terms) {
    std::string written;
    if (term->kind == ExprKind::Binary && term->text == "=") {
      for (std::size_t side = 0; side < 2 && written.empty(); ++side) {
        const Expr& key = *term->args[side];
        const Expr& other = *term->args[1 - side];
        if (!isJoinKey(key, name) || !isOuterValue(other, name)) continue;
        std::string column = "tav_on" + std::to_string(++count);
        // The outer value stays on the left so that its column's collation still decides. Against
        // a text column of the batch's tables the comparison converts the key to text and ignores
        // case; the key column does both itself, which lets SQLite index it automatically.
        std::string keyText = writer.write(key);
        if (other.kind == ExprKind::Column && writer.typeOf(other) == SqlType::Text) {
          keyText = "CAST(" + keyText + " AS TEXT) COLLATE NOCASE";
        }
        keys += ", " + keyText + " AS " + column;
        bool plain = other.kind == ExprKind::Column || other.kind == ExprKind::Call || other.kind == ExprKind::Literal;
        written = plain ? writer.write(other) : parenthesized(writer.write(other));
        written += " = " + ident(writer.context().target, name) + "." + column;
      }
    }
    if (written.empty()) written = parenthesized(writer.write(*term));
    on += (on.empty() ? "" : " AND ") + written;
  }
  if (count == 0) return false;
  // LIMIT -1 keeps SQLite from flattening the derived table back into the join.
  const Target& target = writer.context().target;
  out += "(SELECT *" + keys + " FROM " + ident(target, ref.table) + " AS " + ident(target, name) + " LIMIT -1) AS " +
         ident(target, name) + " ON " + on;
  return true;
}

}  // namespace dialect
