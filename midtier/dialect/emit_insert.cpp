// INSERT ... SELECT / VALUES and DELETE.
#include "midtier/dialect/generator.h"

namespace dialect {

void Generator::emit(const Insert& insert) {
  // Values are converted as the target columns would on SQL Server, when the batch declared them.
  StoredColumns stores;
  if (const TableInfo* table = catalog_.find(insert.table)) {
    if (insert.columns.empty()) {
      for (const ColumnInfo& column : table->columns) stores.push_back(&column);
    } else {
      for (const std::string& name : insert.columns) stores.push_back(table->find(name));
    }
  }
  std::string target = "INSERT INTO " + ident(ctx_.target, insert.table);
  if (!insert.columns.empty()) {
    target += " (";
    for (std::size_t i = 0; i < insert.columns.size(); ++i) target += (i ? ", " : "") + ident(ctx_.target, insert.columns[i]);
    target += ")";
  }
  if (insert.select && insert.select->rollup) {
    RollupQuery query = writeRollup(*insert.select, ctx_, false, &stores);
    push(query.with + target + " " + query.body, false);
    return;
  }
  if (insert.select) {
    push(target + " " + writeSelect(*insert.select, ctx_, &stores), false);
    return;
  }
  Scope none;
  ExprWriter writer(ctx_, none);
  std::string sql = target + " VALUES ";
  for (std::size_t r = 0; r < insert.rows.size(); ++r) {
    sql += r ? ", (" : "(";
    for (std::size_t i = 0; i < insert.rows[r].size(); ++i) {
      std::string value = writer.write(*insert.rows[r][i]);
      sql += (i ? ", " : "") + (i < stores.size() ? storedValue(stores[i], value) : value);
    }
    sql += ")";
  }
  push(sql, false);
}

void Generator::emit(const Delete& del) {
  std::vector<TableRef> from(1);
  from[0].table = del.table;
  Scope scope = makeScope(from, catalog_, nullptr);
  ExprWriter writer(ctx_, scope);
  std::string sql = "DELETE FROM " + ident(ctx_.target, del.table);
  if (del.where) sql += " WHERE " + writer.write(*del.where);
  push(sql, false);
}

}  // namespace dialect
