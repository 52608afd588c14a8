// generate() into PostgreSQL: the tables made, filled with COPY and given their keys and indexes
// on two connections at once in a staging schema, then moved into the company's schema in one
// transaction.
#include <array>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include <fmt/format.h>

#include "midtier/dialect/target.h"
#include "midtier/generator/generator.h"
#include "midtier/generator/pg_staging.h"
#include "midtier/generator/pg_worker.h"
#include "midtier/generator/row_writer.h"
#include "midtier/generator/world.h"
#include "midtier/pg/connection.h"
#include "midtier/pg/helper_functions.h"
#include "midtier/pg/schema.h"
#include "platform/core/error.h"
#include "platform/lumo/dictionary.h"

namespace gen {

namespace {

// The tables the second connection makes and fills: of each pair of large tables that the
// generator writes side by side (a task and its material, a stock bill and its entries, a
// period's costs and their elements, an order and its lines) one, so that both connections
// have work in every phase, and their index builds weigh about the same.
bool onSecondConnection(std::string_view table) {
  static const std::array<std::string, 4> kTables = {"ppbom", "icstockbillentry", "cb_costelement", "seorderentry"};
  const std::string name = lumo::foldCase(table);
  for (const std::string& t : kTables)
    if (t == name) return true;
  return false;
}

// The rows each table of the schema took, in schema order, from the loader's counts (counting
// them again would read every table once more).
Summary summaryOf(const std::vector<std::string>& tableNames, const std::map<std::string, int64_t>& loaded) {
  Summary summary;
  for (const std::string& table : tableNames) summary.tables.push_back({table, 0});
  addLoaded(summary, loaded);
  return summary;
}

// Runs `job` with each part of the schema on its worker, both at once, and waits for both.
template <typename Job>
void onBoth(std::array<Worker*, 2> workers, const std::array<pg::Schema, 2>& parts, Job job) {
  for (std::size_t i = 0; i < 2; ++i) workers[i]->post([&part = parts[i], job](pg::Connection& c) { job(c, part); });
  for (Worker* worker : workers) worker->wait();
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
  const pg::Schema schema = pg::companySchema();
  std::vector<std::string> first, second;
  for (const std::string& table : schema.tableNames) (onSecondConnection(table) ? second : first).push_back(table);
  const std::array<pg::Schema, 2> parts = {pg::schemaPart(schema, first), pg::schemaPart(schema, second)};

  Staging staging(connection, 2);
  Worker firstWorker(staging.connection(0)), secondWorker(staging.connection(1));
  const std::array<Worker*, 2> workers = {&firstWorker, &secondWorker};
  // Each connection makes its tables in the transaction that fills them, so that COPY FREEZE
  // may store the rows as frozen and, with minimal WAL, neither rows nor indexes go to the WAL.
  // The commit need not wait for the disk: a load cut short is rerun anyway.
  std::array<pg::ColumnTypes, 2> made;
  onBoth(workers, parts, [&made, &parts](pg::Connection& c, const pg::Schema& part) {
    c.exec("BEGIN; SET LOCAL synchronous_commit = off");
    pg::createTables(c, part);
    made[&part == &parts[0] ? 0 : 1] = pg::columnTypes(c);
  });
  made[0].merge(made[1]);
  std::map<std::string, int64_t> loaded;
  {
    const std::unique_ptr<PostgresLoader> loader =
        postgresLoader(workers, [](std::string_view table) -> std::size_t { return onSecondConnection(table) ? 1 : 0; },
                       std::move(made[0]));
    World world(*loader, options);
    writeAll(world);
    loaded = loader->finish();
  }
  if (options.progress) options.progress(Progress{"indexes", 0, 1});
  onBoth(workers, parts, [](pg::Connection& c, const pg::Schema& part) {
    pg::addKeysAndIndexes(c, part);
    c.exec("COMMIT");
  });
  // References between the two parts can be checked once both are committed.
  onBoth(workers, parts, [](pg::Connection& c, const pg::Schema& part) {
    pg::addReferences(c, part);
    pg::analyzeTables(c, part);
  });
  if (options.progress) options.progress(Progress{"indexes", 1, 1});

  staging.moveInto(connection, schema.tableNames);
  pg::recordVersion(connection);
  pg::continueNumbering(connection);
  pg::installFunctions(connection, dialect::postgresFunctions());
  Summary summary = summaryOf(schema.tableNames, loaded);
  if (transaction) transaction->commit();
  summary.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
  return summary;
}

}  // namespace gen
