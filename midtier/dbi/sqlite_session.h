// The SQLite side of the services' database interface.
#pragma once

#include <memory>
#include <vector>

#include "midtier/dbi/session.h"
#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "midtier/db/transaction.h"

namespace dbi {

// Reads the rows of a prepared statement the caller owns; steps it, never resets it.
class StatementRows final : public Rows {
 public:
  explicit StatementRows(db::Statement& statement) : statement_(statement) {}
  int columnCount() const override { return statement_.columnCount(); }
  std::string columnName(int column) const override { return statement_.columnName(column); }
  ColumnKind declared(int column) const override;
  bool next() override { return statement_.step(); }
  ValueKind kind(int column) const override;
  double number(int column) const override { return statement_.getDouble(column); }
  std::string_view text(int column) const override { return statement_.getTextView(column); }

 private:
  db::Statement& statement_;
};

// A session over a database the caller keeps open for the session's life. The functions that
// translated statements call are registered on it.
class SqliteSession final : public Session {
 public:
  explicit SqliteSession(db::Database& database);
  Engine engine() const override { return Engine::SQLite; }
  void exec(std::string_view sql) override { database_.exec(sql); }
  std::unique_ptr<Rows> query(std::string_view sql, const Values& params) override;
  int64_t change(std::string_view sql, const Values& params) override;
  std::vector<ColumnDeclaration> columnsOf(std::string_view sqlName) override;
  void begin() override;
  void commit() override;
  void rollback() override;
  db::Database& database() { return database_; }

 private:
  db::Database& database_;
  std::vector<std::unique_ptr<db::Transaction>> open_;
};

// Binds `params` to ?1, ?2, ... of `statement`.
void bindValues(db::Statement& statement, const Values& params);

}  // namespace dbi
