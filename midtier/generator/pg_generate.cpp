// generate() into PostgreSQL: schema, COPY streams, then keys, indexes and statistics.
#include <cctype>
#include <map>
#include <optional>
#include <string>

#include <fmt/format.h>

#include "midtier/dialect/target.h"
#include "midtier/generator/generator.h"
#include "midtier/generator/row_writer.h"
#include "midtier/generator/world.h"
#include "midtier/pg/connection.h"
#include "midtier/pg/schema.h"
#include "platform/core/error.h"

namespace gen {

namespace {

// The rows each table of the schema took, in schema order, from the loader's counts (counting
// them again would read every table once more). Table names compare without case, as the server's.
Summary summaryOf(const std::map<std::string, int64_t>& loaded) {
  const auto lower = [](std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
  };
  std::map<std::string, int64_t> rows;
  for (const auto& [table, count] : loaded) rows[lower(table)] += count;
  Summary summary;
  for (const std::string& table : pg::companySchema().tableNames) {
    const auto found = rows.find(lower(table));
    summary.tables.push_back({table, found == rows.end() ? 0 : found->second});
    summary.totalRows += summary.tables.back().rows;
  }
  return summary;
}

}  // namespace

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
  // For this transaction only: its one commit need not wait for the disk (a crash before it
  // loses a load that is rerun anyway), and the index builds sort in memory.
  connection.exec("SET LOCAL synchronous_commit = off; SET LOCAL maintenance_work_mem = '256MB'");
  pg::createTables(connection);
  connection.exec(dialect::postgresFunctions());
  std::map<std::string, int64_t> loaded;
  {
    const std::unique_ptr<PostgresLoader> loader = postgresLoader(connection);
    World world(*loader, options);
    writeAll(world);
    loaded = loader->finish();
  }
  if (options.progress) options.progress(Progress{"indexes", 0, 1});
  pg::finishTables(connection);
  if (options.progress) options.progress(Progress{"indexes", 1, 1});
  Summary summary = summaryOf(loaded);
  if (transaction) transaction->commit();
  summary.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
  return summary;
}

}  // namespace gen
