// execute(): runs a translated batch statement by statement on one connection.
#include <sqlite3.h>

#include <memory>

#include "midtier/dbi/session.h"
#include "midtier/dialect/dialect.h"
#include "midtier/dialect/errors.h"
#include "midtier/dialect/generator.h"

namespace dialect {
namespace {

struct Finalizer {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};

[[noreturn]] void fail(sqlite3* db, const Statement& statement) {
  throw plat::Error::database(kErrorSource, std::string(sqlite3_errmsg(db)) + " in statement: " + statement.sql);
}

// A decimal(p,s) declared outside the dialect has numeric affinity and may hold integers,
// which SQLite divides as integers: there it counts as float, not as SQL Server's decimal.
DeclaredColumn onSqlite(DeclaredColumn column) {
  const std::string type = lower(column.type);
  if (type.starts_with("decimal") || type.starts_with("numeric")) column.type = "REAL";
  return column;
}

// The columns of a table the batch did not create, as the connection declares them.
std::vector<DeclaredColumn> declaredColumns(sqlite3* db, std::string_view table) {
  std::vector<DeclaredColumn> columns;
  const std::string pragma = "PRAGMA table_info(" + ident(sqliteTarget(), table) + ")";
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, pragma.c_str(), -1, &raw, nullptr) != SQLITE_OK) fail(db, Statement{pragma, true});
  std::unique_ptr<sqlite3_stmt, Finalizer> stmt(raw);
  while (sqlite3_step(raw) == SQLITE_ROW) {
    const auto text = [raw](int column) {
      const unsigned char* value = sqlite3_column_text(raw, column);
      return value ? std::string(reinterpret_cast<const char*>(value)) : std::string();
    };
    columns.push_back(onSqlite({text(1), text(2)}));
  }
  return columns;
}

}  // namespace

void execute(dbi::Session& session, std::string_view batch, const BatchSteps& steps) {
  const Target& target = session.engine() == dbi::Engine::PostgreSQL ? postgresTarget() : sqliteTarget();
  const TableLookup lookup = [&](std::string_view table) {
    std::vector<DeclaredColumn> columns;
    for (dbi::ColumnDeclaration& c : session.columnsOf(ident(target, table))) {
      DeclaredColumn column{std::move(c.name), std::move(c.type)};
      columns.push_back(target.kind == TargetKind::SQLite ? onSqlite(std::move(column)) : std::move(column));
    }
    return columns;
  };
  for (const Statement& statement : translate(batch, target, lookup)) {
    if (steps.before) steps.before(statement);
    std::unique_ptr<dbi::Rows> rows = session.query(statement.sql);
    if (statement.returnsRows && steps.onRows) steps.onRows(*rows);
    while (rows->next()) {
    }
  }
}

void execute(sqlite3* db, std::string_view batch, const RowCallback& onRow) { execute(db, batch, nullptr, onRow); }

void execute(sqlite3* db, std::string_view batch, const RowCallback& onColumns, const RowCallback& onRow) {
  registerFunctions(db);
  const TableLookup lookup = [db](std::string_view table) { return declaredColumns(db, table); };
  for (const Statement& statement : translate(batch, sqliteTarget(), lookup)) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, statement.sql.c_str(), static_cast<int>(statement.sql.size()), &raw, nullptr) !=
        SQLITE_OK) {
      fail(db, statement);
    }
    std::unique_ptr<sqlite3_stmt, Finalizer> stmt(raw);
    bool first = true;
    for (;;) {
      int rc = sqlite3_step(raw);
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) fail(db, statement);
      if (first && statement.returnsRows && onColumns) onColumns(raw);
      first = false;
      if (statement.returnsRows && onRow) onRow(raw);
    }
    if (first && statement.returnsRows && onColumns) onColumns(raw);
  }
}

}  // namespace dialect
