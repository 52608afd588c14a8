// The SQLite bulk loader: one prepared INSERT per table, values bound without copying.
#include <sqlite3.h>

#include <string>

#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "midtier/generator/row_writer.h"

namespace gen {
namespace {

std::string insertSql(std::string_view table, std::string_view columns) {
  std::string sql = "INSERT INTO ";
  sql.append(table).append(" (").append(columns).append(") VALUES (?");
  for (char c : columns)
    if (c == ',') sql += ",?";
  sql += ")";
  return sql;
}

class SqliteWriter final : public RowWriter {
 public:
  SqliteWriter(db::Database& database, std::string_view table, std::string_view columns)
      : statement_(database.prepare(insertSql(table, columns))) {}

  void write(std::span<const Value> values) override {
    int index = 0;
    for (const Value& value : values) {
      ++index;
      if (const auto* text = std::get_if<std::string_view>(&value)) {
        // The text outlives the step, so SQLite need not copy it; an empty view may have no
        // data pointer, which SQLite would take for Null.
        statement_.bindStatic(index, text->data() ? *text : std::string_view(""));
      } else if (const auto* integer = std::get_if<int64_t>(&value)) {
        statement_.bind(index, *integer);
      } else if (const auto* real = std::get_if<double>(&value)) {
        statement_.bind(index, *real);
      } else {
        statement_.bindNull(index);
      }
    }
    statement_.run();
  }

 private:
  db::Statement statement_;
};

class SqliteLoader final : public BulkLoader {
 public:
  explicit SqliteLoader(db::Database& database) : database_(database) {}
  std::unique_ptr<RowWriter> open(std::string_view table, std::string_view columns) override {
    return std::make_unique<SqliteWriter>(database_, table, columns);
  }

 private:
  db::Database& database_;
};

}  // namespace

std::unique_ptr<BulkLoader> sqliteLoader(db::Database& database) { return std::make_unique<SqliteLoader>(database); }

}  // namespace gen
