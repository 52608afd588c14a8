// execute(): runs a translated batch statement by statement on one connection.
#include <sqlite3.h>

#include <memory>

#include "midtier/dbi/session.h"
#include "midtier/dialect/dialect.h"
#include "midtier/dialect/errors.h"

namespace dialect {
namespace {

struct Finalizer {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};

[[noreturn]] void fail(sqlite3* db, const Statement& statement) {
  throw plat::Error::database(kErrorSource, std::string(sqlite3_errmsg(db)) + " in statement: " + statement.sql);
}

}  // namespace

void execute(dbi::Session& session, std::string_view batch, const BatchSteps& steps) {
  const Target& target = session.engine() == dbi::Engine::PostgreSQL ? postgresTarget() : sqliteTarget();
  for (const Statement& statement : translate(batch, target)) {
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
  for (const Statement& statement : translate(batch)) {
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
