// Where the generator's rows go: a bulk loader opens one writer per table, and each writer
// takes whole rows of values in the order of its column list. SQLite's is the first loader;
// another database brings its own (a COPY stream, say) without touching the phases.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <variant>

namespace db {
class Database;
}
namespace pg {
class Connection;
}

namespace gen {

// A column value: Null, an integer, a real or a text. A text is read only during write().
using Value = std::variant<std::monostate, int64_t, double, std::string_view>;

class RowWriter {
 public:
  virtual ~RowWriter() = default;
  // One row; `values` has one entry per column named when the writer was opened.
  virtual void write(std::span<const Value> values) = 0;
};

class BulkLoader {
 public:
  virtual ~BulkLoader() = default;
  // `columns` is the comma-separated column list of `table`.
  virtual std::unique_ptr<RowWriter> open(std::string_view table, std::string_view columns) = 0;
};

// Prepared INSERTs on `database`, each reused for every row of its table. The caller holds
// the transaction.
std::unique_ptr<BulkLoader> sqliteLoader(db::Database& database);

// COPY streams on `connection`, sent whenever a table's rows pass a few megabytes.
class PostgresLoader : public BulkLoader {
 public:
  // Sends the rows still held. REQUIRES: called once, after the last row.
  virtual void finish() = 0;
};
std::unique_ptr<PostgresLoader> postgresLoader(pg::Connection& connection);

}  // namespace gen
