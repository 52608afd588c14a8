// Runs the generator's phases in one transaction and reports what they wrote.
#include "midtier/generator/generator.h"

#include <chrono>
#include <filesystem>
#include <optional>

#include <fmt/format.h>

#include "midtier/db/database.h"
#include "midtier/db/schema.h"
#include "midtier/db/statement.h"
#include "midtier/db/transaction.h"
#include "midtier/generator/world.h"
#include "platform/core/error.h"

namespace gen {

namespace {

constexpr int64_t kMaxTasks = 10'000'000;

// Bulk-load settings for the duration of one load, restored afterwards. The file is
// new, so losing it to a crash costs only a rerun: no fsync while loading, and a page
// cache large enough for building the indexes. Foreign keys are not checked row by row:
// the generator writes parents before children by construction (the tests check it).
class BulkLoadSettings {
 public:
  explicit BulkLoadSettings(db::Database& database) : database_(database) {
    if (database_.inTransaction()) return;  // the caller's transaction: leave its settings alone
    synchronous_ = database_.queryInt("PRAGMA synchronous");
    cacheSize_ = database_.queryInt("PRAGMA cache_size");
    foreignKeys_ = database_.queryInt("PRAGMA foreign_keys");
    database_.exec("PRAGMA synchronous = OFF; PRAGMA cache_size = -262144; PRAGMA foreign_keys = OFF");
    changed_ = true;
  }
  BulkLoadSettings(const BulkLoadSettings&) = delete;
  BulkLoadSettings& operator=(const BulkLoadSettings&) = delete;
  ~BulkLoadSettings() {
    if (!changed_) return;
    try {
      database_.exec(fmt::format("PRAGMA synchronous = {}; PRAGMA cache_size = {}; PRAGMA foreign_keys = {}",
                                 synchronous_, cacheSize_, foreignKeys_));
    } catch (...) {
      // Connection settings only; the data is already committed or rolled back.
    }
  }

 private:
  db::Database& database_;
  int64_t synchronous_ = 2;
  int64_t cacheSize_ = -2000;
  int64_t foreignKeys_ = 1;
  bool changed_ = false;
};

void checkTarget(db::Database& database, const Options& options) {
  if (options.tasks < 1 || options.tasks > kMaxTasks) {
    throw plat::Error::invalidCall("gen.generate",
                                   fmt::format("the number of tasks must be between 1 and {}, not {}", kMaxTasks, options.tasks));
  }
  const int version = db::schemaVersion(database);
  if (version != db::kSchemaVersion) {
    throw plat::Error::invalidCall("gen.generate", fmt::format("database {} is at schema version {}, not {}: migrate it first",
                                                               database.path(), version, db::kSchemaVersion));
  }
  if (database.queryInt("SELECT count(*) FROM t_Item") != 0 || database.queryInt("SELECT count(*) FROM ICMO") != 0) {
    throw plat::Error::invalidCall("gen.generate",
                                   fmt::format("database {} already holds data; demo data goes into an empty database", database.path()));
  }
}

}  // namespace

Summary generate(db::Database& database, const Options& options) {
  const auto started = std::chrono::steady_clock::now();
  checkTarget(database, options);
  {
    BulkLoadSettings settings(database);
    db::Transaction transaction(database);
    // Loading into the report indexes is several times slower than building them after.
    db::dropReportIndexes(database);
    World world(database, options);
    writeBaseData(world);
    writeItems(world);
    planTasks(world);
    writeSalesOrders(world);
    writeTasks(world);
    writeStockBills(world);
    writeCosts(world);
    db::createReportIndexes(database);
    transaction.commit();
  }
  Summary summary = countRows(database);
  summary.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
  return summary;
}

Summary createDemoDatabase(const std::string& path, const Options& options) {
  const auto started = std::chrono::steady_clock::now();
  Summary summary;
  std::optional<db::Database> database(db::Database::create(path));  // refuses an existing file
  try {
    db::migrate(*database);
    summary = generate(*database, options);
  } catch (...) {
    // Leave no half-made file behind.
    database.reset();
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    std::filesystem::remove(path + "-journal", ignored);
    throw;
  }
  summary.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
  return summary;
}

Summary countRows(db::Database& database) {
  Summary summary;
  db::Statement tables = database.prepare(
      "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid");
  while (tables.step()) summary.tables.push_back({tables.getText(0), 0});
  for (TableRows& table : summary.tables) {
    table.rows = database.queryInt(fmt::format("SELECT count(*) FROM \"{}\"", table.table));
    summary.totalRows += table.rows;
  }
  return summary;
}

}  // namespace gen
