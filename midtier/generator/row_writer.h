// Where the generator's rows go: a bulk loader opens one writer per table, and each writer
// takes whole rows of values in the order of its column list. SQLite's is the first loader;
// another database brings its own (a COPY stream, say) without touching the phases.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
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

// COPY streams on `connection`, a piece sent whenever a table's rows pass a few megabytes. The
// pieces go out on a thread of the loader's own, which has the connection to itself until
// finish(). They are sent WITH (FREEZE): REQUIRES every table was created in the connection's
// open transaction.
class PostgresLoader : public BulkLoader {
 public:
  // Sends the rows still held and waits until the server has stored them all; gives the rows
  // stored per table. Throws pg::Error when a piece was refused. REQUIRES: called once, after
  // the last row.
  virtual std::map<std::string, int64_t> finish() = 0;
};
std::unique_ptr<PostgresLoader> postgresLoader(pg::Connection& connection);

}  // namespace gen
