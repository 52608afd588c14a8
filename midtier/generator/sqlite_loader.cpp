// The SQLite bulk loader: prepared INSERTs per table, values bound without copying.
#include <sqlite3.h>

#include <map>
#include <optional>
#include <string>

#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "midtier/generator/row_writer.h"

namespace gen {
namespace {

// Rows per INSERT when a writer is given many at once. One statement for several rows keeps
// the table's cursor on its last page from row to row and saves a statement run per row:
// the insert path takes about half the time it takes row by row.
constexpr std::size_t kRowsPerInsert = 16;

std::string insertSql(std::string_view table, std::string_view columns, std::size_t rows) {
  std::string row = "(?";
  for (char c : columns)
    if (c == ',') row += ",?";
  row += ")";
  std::string sql = "INSERT INTO ";
  sql.append(table).append(" (").append(columns).append(") VALUES ").append(row);
  for (std::size_t r = 1; r < rows; ++r) sql.append(",").append(row);
  return sql;
}

class SqliteWriter final : public RowWriter {
 public:
  SqliteWriter(db::Database& database, std::string_view table, std::string_view columns, int64_t& written)
      : database_(database),
        table_(table),
        columns_(columns),
        one_(database.prepare(insertSql(table, columns, 1))),
        written_(written) {}

  void write(std::span<const Value> values) override {
    bind(one_, values);
    one_.run();
    ++written_;
  }

  void writeRows(std::span<const Value> values, std::size_t rows) override {
    const std::size_t width = rows == 0 ? 0 : values.size() / rows;
    std::size_t row = 0;
    if (rows >= kRowsPerInsert) {
      if (!many_) many_.emplace(database_.prepare(insertSql(table_, columns_, kRowsPerInsert)));
      for (; row + kRowsPerInsert <= rows; row += kRowsPerInsert) {
        bind(*many_, values.subspan(row * width, kRowsPerInsert * width));
        many_->run();
        written_ += kRowsPerInsert;
      }
    }
    for (; row < rows; ++row) write(values.subspan(row * width, width));
  }

 private:
  // Binds `values` to parameters 1, 2, ... in order.
  static void bind(db::Statement& statement, std::span<const Value> values) {
    int index = 0;
    for (const Value& value : values) {
      ++index;
      if (const auto* text = std::get_if<std::string_view>(&value)) {
        // The text outlives the step, so SQLite need not copy it; an empty view may have no
        // data pointer, which SQLite would take for Null.
        statement.bindStatic(index, text->data() ? *text : std::string_view(""));
      } else if (const auto* integer = std::get_if<int64_t>(&value)) {
        statement.bind(index, *integer);
      } else if (const auto* real = std::get_if<double>(&value)) {
        statement.bind(index, *real);
      } else {
        statement.bindNull(index);
      }
    }
  }

  db::Database& database_;
  std::string table_, columns_;
  db::Statement one_;
  std::optional<db::Statement> many_;  // kRowsPerInsert rows, made when first needed
  int64_t& written_;
};

class InsertLoader final : public SqliteLoader {
 public:
  explicit InsertLoader(db::Database& database) : database_(database) {}
  std::unique_ptr<RowWriter> open(std::string_view table, std::string_view columns) override {
    return std::make_unique<SqliteWriter>(database_, table, columns, written_[std::string(table)]);
  }
  std::map<std::string, int64_t> rowsWritten() const override { return written_; }

 private:
  db::Database& database_;
  std::map<std::string, int64_t> written_;  // map: the writers hold references into it
};

}  // namespace

std::unique_ptr<SqliteLoader> sqliteLoader(db::Database& database) { return std::make_unique<InsertLoader>(database); }

}  // namespace gen
