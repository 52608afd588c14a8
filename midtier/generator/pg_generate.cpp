// generate() into PostgreSQL: schema, COPY streams, then keys, indexes and statistics.
#include <optional>

#include <fmt/format.h>

#include "midtier/dialect/target.h"
#include "midtier/generator/generator.h"
#include "midtier/generator/row_writer.h"
#include "midtier/generator/world.h"
#include "midtier/pg/connection.h"
#include "midtier/pg/schema.h"
#include "platform/core/error.h"

namespace gen {

Summary generate(pg::Connection& connection, const Options& options) {
  const auto started = std::chrono::steady_clock::now();
  if (options.tasks < 1 || options.tasks > kMaxTasks)
    throw plat::Error::invalidCall("gen.generate", fmt::format("the number of tasks must be between 1 and {}, not {}",
                                                               kMaxTasks, options.tasks));
  if (pg::schemaVersion(connection) != 0)
    throw plat::Error::invalidCall("gen.generate", fmt::format("database {} already holds a company schema; demo data "
                                                               "goes into an empty database", connection.name()));
  // Inside the caller's transaction when there is one (replacing a company), else in its own.
  std::optional<pg::Transaction> transaction;
  if (!connection.inTransaction()) transaction.emplace(connection);
  pg::createTables(connection);
  connection.exec(dialect::postgresFunctions());
  {
    const std::unique_ptr<PostgresLoader> loader = postgresLoader(connection);
    World world(*loader, options);
    writeAll(world);
    loader->finish();
  }
  if (options.progress) options.progress(Progress{"indexes", 0, 1});
  pg::finishTables(connection);
  if (options.progress) options.progress(Progress{"indexes", 1, 1});
  Summary summary;
  for (const std::string& table : pg::companySchema().tableNames)
  {
    summary.tables.push_back({table, connection.queryInt(fmt::format("SELECT count(*) FROM {}", table))});
    summary.totalRows += summary.tables.back().rows;
  }
  if (transaction) transaction->commit();
  summary.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
  return summary;
}

}  // namespace gen
