// One connection to a company database as the services see it, whichever engine holds it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "midtier/dbi/rows.h"

namespace dbi {

enum class Engine { SQLite, PostgreSQL };

// A parameter value: Null, an integer, a number or a text.
using Value = std::variant<std::monostate, int64_t, double, std::string>;
using Values = std::vector<Value>;

// A column as the table's declaration gives it; type in the engine's own words.
struct ColumnDeclaration {
  std::string name;
  std::string type;
};

// Statements are written with parameters ?1, ?2, ... (or bare "?") on either engine. Every failure is a
// plat::Error carrying the engine's message. Used by one thread at a time.
class Session {
 public:
  virtual ~Session() = default;
  [[nodiscard]] virtual Engine engine() const = 0;
  // Runs one or more statements separated by ';' whose rows are of no interest.
  virtual void exec(std::string_view sql) = 0;
  // Runs one statement; its rows, if any, are read through the result, which must be let go
  // before the session runs anything else.
  [[nodiscard]] virtual std::unique_ptr<Rows> query(std::string_view sql, const Values& params = {}) = 0;
  // Runs one statement that returns no rows: the number of rows it inserted, changed or deleted.
  virtual int64_t change(std::string_view sql, const Values& params = {}) = 0;
  // The columns of a table or temporary table, named as a statement names it (quoted or not);
  // empty when there is no such table.
  [[nodiscard]] virtual std::vector<ColumnDeclaration> columnsOf(std::string_view sqlName) = 0;

  // Transactions nest: an inner one is a savepoint.
  virtual void begin() = 0;
  virtual void commit() = 0;
  virtual void rollback() = 0;
};

// Rolled back when it goes out of scope uncommitted.
class Transaction {
 public:
  explicit Transaction(Session& session) : session_(session) { session_.begin(); }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();
  void commit();

 private:
  Session& session_;
  bool open_ = true;
};

}  // namespace dbi
