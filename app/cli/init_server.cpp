// init on a server database: the company schema and demo company created in PostgreSQL.
#include <chrono>
#include <iostream>

#include "app/cli/commands.h"
#include "app/exit_codes.h"
#include "app/table/text_width.h"
#include "midtier/generator/generator.h"
#include "midtier/pg/connection.h"
#include "midtier/pg/schema.h"
#include "midtier/pg/url.h"

namespace app {

void initServerDatabase(const InitOptions& options, std::ostream& out) {
  const std::string shown = pg::redactedUrl(options.db);
  std::optional<pg::Connection> connection;
  try {
    connection.emplace(pg::Connection::open(options.db));
  } catch (const plat::Error& e) {
    throw Failure{kExitDatabase, "cannot reach " + shown + ": " + e.description()};
  }
  gen::Summary summary;
  try {
    if (pg::schemaVersion(*connection) != 0) {
      if (!options.force) throw Failure{kExitUsage, shown + " holds a company already (--force replaces it)"};
      // The company is the database's own schema: replaced whole, in the same transaction as
      // the new one, so a failure keeps the old company.
      connection->exec("BEGIN; DROP SCHEMA public CASCADE; CREATE SCHEMA public");
      summary = gen::generate(*connection, gen::Options{options.tasks, options.seed, {}});
      connection->exec("COMMIT");
    } else {
      summary = gen::generate(*connection, gen::Options{options.tasks, options.seed, {}});
    }
  } catch (const plat::Error& e) {
    throw Failure{kExitOutput, "cannot create the company in " + shown + ": " + e.description()};
  }
  out << "created " << shown << " (" << options.tasks << " tasks, seed " << options.seed << ", " << summary.totalRows
      << " rows in " << summary.elapsed.count() << " ms)\n";
  for (const gen::TableRows& t : summary.tables)
    if (t.rows > 0) out << "  " << padTo(t.table, 24) << t.rows << '\n';
}

}  // namespace app
