// Runs SQL Server (T-SQL) batches on SQLite: translation, the helper functions it needs, execution.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "midtier/dialect/catalog.h"
#include "midtier/dialect/target.h"

struct sqlite3;
struct sqlite3_stmt;

namespace dbi {
class Rows;
class Session;
}  // namespace dbi

namespace dialect {

// One SQLite statement of a translated batch.
struct Statement {
  std::string sql;
  bool returnsRows;
};

// Translates one SQL Server batch into SQLite statements, in order. Statements need no
// semicolons between them; SET NOCOUNT produces none.
// Throws plat::Error (number 102, source "dialect") quoting the offending text and its 1-based
// line and column for anything outside the supported subset or malformed.
[[nodiscard]] std::vector<Statement> translate(std::string_view batch);
// The same for another target (sqliteTarget(), postgresTarget()).
[[nodiscard]] std::vector<Statement> translate(std::string_view batch, const Target& target);
// The same with the types of the columns of tables the batch reads but did not create, as the
// database declares them: sums, '+' and arithmetic are then written for those types.
[[nodiscard]] std::vector<Statement> translate(std::string_view batch, const Target& target, const TableLookup& lookup);

// Registers the SQLite functions translated statements call (tav_charindex with 2 and 3
// arguments, tav_substring, tav_add: the '+' whose operand types are only known at run time).
// Idempotent per connection. Throws plat::Error when SQLite refuses a registration.
void registerFunctions(sqlite3* db);

// What runs around the statements of a batch (execute() on a session).
struct BatchSteps {
  // Called before each statement runs.
  std::function<void(const Statement&)> before;
  // Called with the rows of each statement that returns rows, also when there are none;
  // rows left unread are skipped.
  std::function<void(dbi::Rows&)> onRows;
};

// translate for the session's engine + run every statement on `session`, with `steps` around them. The session's own
// errors name the failing statement.
void execute(dbi::Session& session, std::string_view batch, const BatchSteps& steps);

// For tests and benchmarks that read SQLite's values directly.
using RowCallback = std::function<void(sqlite3_stmt*)>;

// registerFunctions + translate + run every statement. For each statement that returns rows,
// onColumns (if set) is called once before its first row (also for an empty result) and onRow
// once per row; both get the stepped statement to read. SQLite failures become plat::Error
// with SQLite's message and the failing statement's text.
void execute(sqlite3* db, std::string_view batch, const RowCallback& onRow);
void execute(sqlite3* db, std::string_view batch, const RowCallback& onColumns, const RowCallback& onRow);

}  // namespace dialect
