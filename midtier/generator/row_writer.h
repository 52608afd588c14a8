// Where the generator's rows go: a bulk loader opens one writer per table, and each writer
// takes whole rows of values in the order of its column list. SQLite's is the first loader;
// another database brings its own (a COPY stream, say) without touching the phases.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "midtier/pg/schema.h"

namespace db {
class Database;
}
namespace pg {
class Connection;
}

namespace gen {

class Worker;

// A column value: Null, an integer, a real or a text. A text is read only during write() or
// writeRows().
using Value = std::variant<std::monostate, int64_t, double, std::string_view>;

class RowWriter {
 public:
  virtual ~RowWriter() = default;
  // One row; `values` has one entry per column named when the writer was opened.
  virtual void write(std::span<const Value> values) = 0;
  // `rows` whole rows one after another, in that order; one by one unless the writer can do better.
  virtual void writeRows(std::span<const Value> values, std::size_t rows) {
    if (rows == 0) return;
    const std::size_t width = values.size() / rows;
    for (std::size_t r = 0; r < rows; ++r) write(values.subspan(r * width, width));
  }
};

class BulkLoader {
 public:
  virtual ~BulkLoader() = default;
  // `columns` is the comma-separated column list of `table`.
  virtual std::unique_ptr<RowWriter> open(std::string_view table, std::string_view columns) = 0;
};

// Prepared INSERTs on `database`, each reused for every row of its table. The caller holds
// the transaction.
class SqliteLoader : public BulkLoader {
 public:
  // The rows inserted so far per table, by the name the table was opened with.
  virtual std::map<std::string, int64_t> rowsWritten() const = 0;
};
std::unique_ptr<SqliteLoader> sqliteLoader(db::Database& database);

// COPY streams, each table's sent by the worker that `route` gives its name the index of, a piece
// whenever the table's rows pass a few megabytes. A table whose columns are all of types that
// `types` (pg::columnTypes()) gives and binary COPY can write goes in binary, any other in text. The pieces go
// WITH (FREEZE): REQUIRES every table was created in the open transaction of its worker's
// connection.
class PostgresLoader : public BulkLoader {
 public:
  // Sends the rows still held and waits until the server has stored them all; gives the rows
  // stored per table. Throws pg::Error when a piece was refused. REQUIRES: called once, after
  // the last row.
  virtual std::map<std::string, int64_t> finish() = 0;
};
std::unique_ptr<PostgresLoader> postgresLoader(std::span<Worker* const> workers,
                                               std::function<std::size_t(std::string_view table)> route,
                                               pg::ColumnTypes types);

}  // namespace gen
