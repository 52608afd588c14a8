// Binding, stepping and reading a prepared statement.
#include "midtier/db/statement.h"

#include <sqlite3.h>
#include <strings.h>

#include <utility>

#include <fmt/format.h>

#include "midtier/db/database.h"
#include "midtier/db/sqlite_error.h"

namespace db {

Statement::Statement(Database& database, std::string_view sql) : database_(&database) {
  int rc = sqlite3_prepare_v2(database.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_,
                              nullptr);
  if (rc != SQLITE_OK) {
    throwSqlite(database.handle(), rc,
                fmt::format("database {}; statement: {}", database.path(), abbreviateSql(sql)));
  }
  if (stmt_ == nullptr) {  // only blanks or comments
    throw Error(SQLITE_MISUSE, fmt::format("empty statement: \"{}\"", abbreviateSql(sql)));
  }
}

Statement::Statement(Statement&& other) noexcept
    : database_(other.database_), stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    database_ = other.database_;
    stmt_ = std::exchange(other.stmt_, nullptr);
  }
  return *this;
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::fail(int rc) const {
  throwSqlite(database_->handle(), rc,
              fmt::format("database {}; statement: {}", database_->path(), abbreviateSql(sql())));
}

void Statement::checkBind(int rc, int index) const {
  if (rc == SQLITE_RANGE) {
    throw Error(rc, fmt::format("parameter {} is out of range (the statement has {}): {}", index,
                                sqlite3_bind_parameter_count(stmt_), abbreviateSql(sql())));
  }
  if (rc != SQLITE_OK) fail(rc);
}

Statement& Statement::bindNull(int index) {
  checkBind(sqlite3_bind_null(stmt_, index), index);
  return *this;
}

Statement& Statement::bind(int index, int64_t value) {
  checkBind(sqlite3_bind_int64(stmt_, index, value), index);
  return *this;
}

Statement& Statement::bind(int index, double value) {
  checkBind(sqlite3_bind_double(stmt_, index, value), index);
  return *this;
}

Statement& Statement::bind(int index, std::string_view value) {
  // An empty view may have no data pointer, which SQLite would take for NULL.
  const char* text = value.data() != nullptr ? value.data() : "";
  checkBind(sqlite3_bind_text64(stmt_, index, text, value.size(), SQLITE_TRANSIENT, SQLITE_UTF8), index);
  return *this;
}

Statement& Statement::bindStatic(int index, std::string_view value) {
  const char* text = value.data() != nullptr ? value.data() : "";
  checkBind(sqlite3_bind_text64(stmt_, index, text, value.size(), SQLITE_STATIC, SQLITE_UTF8), index);
  return *this;
}

int Statement::parameterIndex(std::string_view name) const {
  std::string text(name);
  if (!text.empty() && (text[0] == ':' || text[0] == '@' || text[0] == '$')) {
    if (int index = sqlite3_bind_parameter_index(stmt_, text.c_str()); index > 0) return index;
  } else {
    for (char prefix : {':', '@', '$'}) {
      std::string candidate = prefix + text;
      if (int index = sqlite3_bind_parameter_index(stmt_, candidate.c_str()); index > 0) return index;
    }
  }
  throw Error(SQLITE_RANGE,
              fmt::format("the statement has no parameter named {}: {}", name, abbreviateSql(sql())));
}

Statement& Statement::clearBindings() {
  sqlite3_clear_bindings(stmt_);
  return *this;
}

bool Statement::step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  // reset() returns the same error; call it so the statement can be used again.
  sqlite3_reset(stmt_);
  fail(rc);
}

void Statement::run() {
  while (step()) {
  }
  reset();
}

void Statement::reset() {
  // An error from reset repeats the last step's error, already reported by step().
  sqlite3_reset(stmt_);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }

void Statement::checkColumn(int column) const {
  if (column < 0 || column >= columnCount()) {
    throw Error(SQLITE_RANGE, fmt::format("column {} is out of range (the statement has {}): {}",
                                          column, columnCount(), abbreviateSql(sql())));
  }
}

std::string Statement::columnName(int column) const {
  checkColumn(column);
  const char* name = sqlite3_column_name(stmt_, column);
  return name != nullptr ? name : "";
}

int Statement::columnIndex(std::string_view name) const {
  int count = columnCount();
  for (int column = 0; column < count; ++column) {
    const char* candidate = sqlite3_column_name(stmt_, column);
    if (candidate != nullptr && std::string_view(candidate).size() == name.size() &&
        strncasecmp(candidate, name.data(), name.size()) == 0) {
      return column;
    }
  }
  throw plat::Error::notFound("SQLite", fmt::format("no column named {} in the result of: {}", name,
                                                    abbreviateSql(sql())));
}

ColumnType Statement::columnType(int column) const {
  checkColumn(column);
  switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER: return ColumnType::Integer;
    case SQLITE_FLOAT: return ColumnType::Real;
    case SQLITE_TEXT: return ColumnType::Text;
    case SQLITE_BLOB: return ColumnType::Blob;
    default: return ColumnType::Null;
  }
}

int64_t Statement::getInt64(int column) const {
  checkColumn(column);
  return sqlite3_column_int64(stmt_, column);
}

double Statement::getDouble(int column) const {
  checkColumn(column);
  return sqlite3_column_double(stmt_, column);
}

std::string_view Statement::getTextView(int column) const {
  checkColumn(column);
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  if (text == nullptr) return {};
  return {text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))};
}

std::string Statement::getText(int column) const { return std::string(getTextView(column)); }

std::string Statement::sql() const {
  const char* text = sqlite3_sql(stmt_);
  return text != nullptr ? text : "";
}

}  // namespace db
