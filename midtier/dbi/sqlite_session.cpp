// Statements, rows and transactions of the SQLite session.
#include "midtier/dbi/sqlite_session.h"

#include <sqlite3.h>

#include "midtier/dialect/dialect.h"
#include "platform/lumo/dictionary.h"

namespace dbi {
namespace {

// Owns the statement it reads.
class OwnedRows final : public Rows {
 public:
  explicit OwnedRows(db::Statement statement) : statement_(std::move(statement)), rows_(statement_) {}
  int columnCount() const override { return rows_.columnCount(); }
  std::string columnName(int column) const override { return rows_.columnName(column); }
  ColumnKind declared(int column) const override { return rows_.declared(column); }
  bool next() override { return rows_.next(); }
  ValueKind kind(int column) const override { return rows_.kind(column); }
  double number(int column) const override { return rows_.number(column); }
  std::string_view text(int column) const override { return rows_.text(column); }

 private:
  db::Statement statement_;
  StatementRows rows_;
};

}  // namespace

ColumnKind StatementRows::declared(int column) const {
  const char* decl = sqlite3_column_decltype(statement_.handle(), column);
  if (!decl) return ColumnKind::Unknown;
  const std::string d = lumo::foldCase(decl);
  auto has = [&](const char* part) { return d.find(part) != std::string::npos; };
  if (has("char") || has("text") || has("clob") || has("date")) return ColumnKind::Text;
  if (has("int")) return ColumnKind::Integer;
  if (has("real") || has("dec") || has("num") || has("double") || has("float")) return ColumnKind::Decimal;
  return ColumnKind::Unknown;
}

ValueKind StatementRows::kind(int column) const {
  switch (statement_.columnType(column)) {
    case db::ColumnType::Null: return ValueKind::Null;
    case db::ColumnType::Integer:
    case db::ColumnType::Real: return ValueKind::Number;
    default: return ValueKind::Text;
  }
}

void bindValues(db::Statement& statement, const Values& params) {
  int index = 0;
  for (const Value& value : params) {
    ++index;
    std::visit(
        [&](const auto& v) {
          if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::monostate>)
            statement.bindNull(index);
          else
            statement.bind(index, v);
        },
        value);
  }
}

SqliteSession::SqliteSession(db::Database& database) : database_(database) {
  dialect::registerFunctions(database_.handle());
}

std::unique_ptr<Rows> SqliteSession::query(std::string_view sql, const Values& params) {
  db::Statement statement(database_, sql);
  bindValues(statement, params);
  return std::make_unique<OwnedRows>(std::move(statement));
}

int64_t SqliteSession::change(std::string_view sql, const Values& params) {
  db::Statement statement(database_, sql);
  bindValues(statement, params);
  statement.run();
  return database_.changes();
}

std::vector<ColumnDeclaration> SqliteSession::columnsOf(std::string_view sqlName) {
  std::vector<ColumnDeclaration> columns;
  db::Statement statement(database_, "PRAGMA table_info(" + std::string(sqlName) + ")");
  while (statement.step()) columns.push_back({statement.getText(1), statement.getText(2)});
  return columns;
}

void SqliteSession::begin() {
  open_.push_back(std::make_unique<db::Transaction>(database_, db::Transaction::Kind::Deferred));
}

void SqliteSession::commit() {
  if (open_.empty()) return;
  auto top = std::move(open_.back());
  open_.pop_back();
  top->commit();
}

void SqliteSession::rollback() {
  if (open_.empty()) return;
  auto top = std::move(open_.back());
  open_.pop_back();
  top->rollback();
}

}  // namespace dbi
