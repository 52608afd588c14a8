// UPDATE, with T-SQL's UPDATE ... SET ... FROM ... JOIN semantics.
//
// SQLite's own UPDATE FROM leaves out target rows that a LEFT JOIN does not match, where SQL Server
// sets the joined values to NULL. So the FROM clause is run as written, target rowid included,
// into a materialized table, and the target is updated from it by rowid: rows the FROM/WHERE
// rejects stay untouched, rows it keeps get exactly the values SQL Server computes.
#include "midtier/dialect/generator.h"

namespace dialect {
namespace {

// "column = value", the value converted as the column stores it when the batch declared the table.
std::string setColumn(const Context& ctx, const Assignment& set, const std::string& targetName,
                      const std::string& table, const std::string& value) {
  if (!set.qualifier.empty() && !sameName(set.qualifier, targetName)) {
    throw errorAt(ctx, set.pos, "SET column '" + set.qualifier + "." + set.column + "' is not of the updated table");
  }
  const TableInfo* info = ctx.catalog.find(table);
  return ident(ctx.target, set.column) + " = " + storedValue(info ? info->find(set.column) : nullptr, value);
}

}  // namespace

void Generator::emit(const Update& update) {
  if (update.from.empty()) {
    std::vector<TableRef> self(1);
    self[0].table = update.target;
    Scope scope = makeScope(self, catalog_, nullptr);
    ExprWriter writer(ctx_, scope);
    std::string sql = "UPDATE " + ident(ctx_.target, update.target) + " SET ";
    for (std::size_t i = 0; i < update.sets.size(); ++i) {
      const Assignment& set = update.sets[i];
      sql += (i ? ", " : "") + setColumn(ctx_, set, update.target, update.target, writer.write(*set.value));
    }
    if (update.where) sql += " WHERE " + writer.write(*update.where);
    push(sql, false);
    return;
  }

  // The target is an alias of the FROM list, a table of it without alias, or else joined in front.
  const TableRef* target = nullptr;
  for (const TableRef& ref : update.from) {
    bool byAlias = !ref.alias.empty() && sameName(ref.alias, update.target);
    bool byTable = ref.alias.empty() && !ref.derived && sameName(ref.table, update.target);
    if (byAlias || byTable) {
      target = &ref;
      break;
    }
    if (!ref.alias.empty() && sameName(ref.table, update.target)) {
      throw errorAt(ctx_, update.pos, "UPDATE " + update.target + " is ambiguous: name it by its alias " + ref.alias);
    }
  }
  if (target && target->derived) throw errorAt(ctx_, update.pos, "cannot UPDATE the derived table " + update.target);
  std::string table = target ? target->table : update.target;
  std::string refName = target ? target->refName() : update.target;

  Scope scope = makeScope(update.from, catalog_, nullptr);
  std::string from;
  if (!target) {
    std::vector<TableRef> self(1);
    self[0].table = update.target;
    Scope own = makeScope(self, catalog_, nullptr);
    scope.tables.insert(scope.tables.begin(), own.tables[0]);
    from = ident(ctx_.target, update.target) + ", ";
  }
  ExprWriter writer(ctx_, scope);
  from += writeFrom(update.from, writer, true);

  const std::string rowId(ctx_.target.rowId);
  std::string values = "SELECT " + ident(ctx_.target, refName) + "." + rowId + " AS tav_rowid";
  std::string sets;
  for (std::size_t i = 0; i < update.sets.size(); ++i) {
    const Assignment& set = update.sets[i];
    std::string value = "tav_v" + std::to_string(i + 1);
    values += ", " + writer.write(*set.value) + " AS " + value;
    sets += (i ? ", " : "") + setColumn(ctx_, set, refName, table, "tav_update." + value);
  }
  values += " FROM " + from;
  if (update.where) values += " WHERE " + writer.write(*update.where);
  push("WITH tav_update AS MATERIALIZED (" + values + ") UPDATE " + ident(ctx_.target, table) + " AS tav_target SET " + sets +
           " FROM tav_update WHERE tav_target." + rowId + " = tav_update.tav_rowid",
       false);
}

}  // namespace dialect
