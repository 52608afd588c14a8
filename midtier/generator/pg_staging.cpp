// The staging schema of a load over several connections.
#include "midtier/generator/pg_staging.h"

#include <libpq-fe.h>

#include <fmt/format.h>

#include "midtier/pg/schema.h"

namespace gen {

namespace {

constexpr const char* kPrefix = "tav_load_";

}  // namespace

Staging::Staging(pg::Connection& main, int connections) {
  for (int i = 0; i < connections; ++i) connections_.push_back(main.openAnother());
  pg::Connection& first = connections_.front();
  // Named after its first connection's server process, so that a later load can tell a
  // schema whose load still runs from one whose load died.
  name_ = fmt::format("{}{}", kPrefix, PQbackendPID(first.handle()));
  const pg::Result stale = first.query(
      "SELECT nspname FROM pg_namespace WHERE nspname ~ ('^' || $1 || '[0-9]+$') "
      "AND pg_get_userbyid(nspowner) = current_user "
      "AND CAST(substr(nspname, length($1) + 1) AS integer) NOT IN (SELECT pid FROM pg_stat_activity)",
      pg::Params(kPrefix));
  for (int r = 0; r < stale.rows(); ++r) first.exec(fmt::format("DROP SCHEMA IF EXISTS {} CASCADE", stale.text(r, 0)));
  first.exec(fmt::format("CREATE SCHEMA {}", name_));
  // Settings of the load's own sessions. Each index is built in memory by one process: the two
  // connections already keep both cores busy, and parallel builds only add merging and process
  // start-up (about a tenth more server time for a million tasks); with 1GB the largest index
  // of a million tasks (4.8M rows) still sorts in memory. The references' checks are planned
  // joins, and compiling them to machine code costs more than it saves for queries run once.
  for (pg::Connection& c : connections_)
    c.exec(fmt::format("SET search_path TO {}; SET maintenance_work_mem = '1GB'; "
                       "SET max_parallel_maintenance_workers = 0; SET jit = off",
                       name_));
  for (const std::string& sql : pg::companySchema().prelude) first.exec(sql);
}

Staging::~Staging() {
  if (moved_) return;
  try {
    for (pg::Connection& c : connections_)
      if (!c.broken() && c.inTransaction()) c.exec("ROLLBACK");
    pg::Connection& first = connections_.front();
    if (!first.broken()) first.exec(fmt::format("DROP SCHEMA IF EXISTS {} CASCADE", name_));
  } catch (...) {
    // The load failed already and says why; a schema left behind is dropped by the next load.
  }
}

void Staging::moveInto(pg::Connection& main, const std::vector<std::string>& tables) {
  const std::string target(main.query("SELECT quote_ident(current_schema())").text(0, 0));
  std::string sql;
  for (const std::string& table : tables) sql += fmt::format("ALTER TABLE {}.{} SET SCHEMA {};\n", name_, table, target);
  // A database without a company may still hold the collation from an earlier one.
  sql += fmt::format("DROP COLLATION IF EXISTS {0}.{1}; ALTER COLLATION {2}.{1} SET SCHEMA {0};\n", target,
                     pg::kCaseInsensitive, name_);
  sql += fmt::format("DROP SCHEMA {}", name_);
  main.exec(sql);
  moved_ = true;
}

}  // namespace gen
