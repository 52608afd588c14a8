// The PostgreSQL side of the services' database interface.
#pragma once

#include <string>
#include <string_view>

#include "midtier/dbi/session.h"
#include "midtier/pg/connection.h"

namespace dbi {

// A session over a server connection the caller keeps open for the session's life. The helper
// functions translated statements call must exist in the database (dialect::postgresFunctions()).
class PgSession final : public Session {
 public:
  explicit PgSession(pg::Connection& connection) : connection_(connection) {}
  Engine engine() const override { return Engine::PostgreSQL; }
  void exec(std::string_view sql) override { connection_.exec(sql); }
  std::unique_ptr<Rows> query(std::string_view sql, const Values& params) override;
  int64_t change(std::string_view sql, const Values& params) override;
  std::vector<ColumnDeclaration> columnsOf(std::string_view sqlName) override;
  void begin() override;
  void commit() override;
  void rollback() override;
  pg::Connection& connection() { return connection_; }

 private:
  pg::Connection& connection_;
  int depth_ = 0;
};

// `sql` with the parameters ?1, ?2, ... written $1, $2, ..., and each bare "?" as the number
// after the highest so far, as SQLite numbers them (texts, quoted names and comments are left
// alone).
[[nodiscard]] std::string dollarParameters(std::string_view sql);

}  // namespace dbi
