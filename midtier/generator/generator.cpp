// Runs the generator's phases in one transaction and reports what they wrote.
#include "midtier/generator/generator.h"

#include <chrono>
#include <map>
#include <filesystem>
#include <memory>
#include <optional>

#include <fmt/format.h>

#include "midtier/db/database.h"
#include "midtier/db/schema.h"
#include "midtier/db/statement.h"
#include "midtier/db/transaction.h"
#include "midtier/generator/background_load.h"
#include "midtier/generator/row_writer.h"
#include "midtier/generator/world.h"
#include "platform/core/error.h"
#include "platform/lumo/dictionary.h"

namespace gen {

namespace {

// Bulk-load settings for the duration of one load, restored afterwards. The file is
// new, so losing it to a crash costs only a rerun: no fsync while loading, and a page
// cache large enough for building the indexes, sorted on two threads. Foreign keys are not checked row by row:
// the generator writes parents before children by construction (the tests check it).
class BulkLoadSettings {
 public:
  explicit BulkLoadSettings(db::Database& database) : database_(database) {
    if (database_.inTransaction()) return;  // the caller's transaction: leave its settings alone
    synchronous_ = database_.queryInt("PRAGMA synchronous");
    cacheSize_ = database_.queryInt("PRAGMA cache_size");
    foreignKeys_ = database_.queryInt("PRAGMA foreign_keys");
    threads_ = database_.queryInt("PRAGMA threads");
    database_.exec("PRAGMA synchronous = OFF; PRAGMA cache_size = -262144; PRAGMA foreign_keys = OFF; PRAGMA threads = 2");
    changed_ = true;
  }
  BulkLoadSettings(const BulkLoadSettings&) = delete;
  BulkLoadSettings& operator=(const BulkLoadSettings&) = delete;
  ~BulkLoadSettings() {
    if (!changed_) return;
    try {
      database_.exec(fmt::format("PRAGMA synchronous = {}; PRAGMA cache_size = {}; PRAGMA foreign_keys = {}; PRAGMA threads = {}",
                                 synchronous_, cacheSize_, foreignKeys_, threads_));
    } catch (...) {
      // Connection settings only; the data is already committed or rolled back.
    }
  }

 private:
  db::Database& database_;
  int64_t synchronous_ = 2;
  int64_t cacheSize_ = -2000;
  int64_t foreignKeys_ = 1;
  int64_t threads_ = 0;
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

void addLoaded(Summary& summary, const std::map<std::string, int64_t>& loaded) {
  std::map<std::string, int64_t> rows;
  for (const auto& [table, count] : loaded) rows[lumo::foldCase(table)] += count;
  for (TableRows& table : summary.tables) {
    const auto found = rows.find(lumo::foldCase(table.table));
    if (found == rows.end()) continue;
    table.rows += found->second;
    summary.totalRows += found->second;
  }
}

void writeAll(World& world) {
  writeBaseData(world);
  writeItems(world);
  planTasks(world);
  writeSalesOrders(world);
  writeTasks(world);
  writeStockBills(world);
  writeCosts(world);
}

Summary generate(db::Database& database, const Options& options) {
  const auto started = std::chrono::steady_clock::now();
  checkTarget(database, options);
  // The rows the migration put in (cheap to count while the tables are empty); the loader
  // counts its own, so that the loaded tables need not be read again at the end.
  Summary summary = countRows(database);
  std::map<std::string, int64_t> loaded;
  {
    BulkLoadSettings settings(database);
    db::Transaction transaction(database);
    // Loading into the report indexes is several times slower than building them after.
    db::dropReportIndexes(database);
    const std::unique_ptr<SqliteLoader> loader = sqliteLoader(database);
    // The rows are made on a second thread while this one inserts them: SQLite's insert path
    // and the making of values each take about half of a core's time.
    loadInBackground(
        *loader,
        [&options](BulkLoader& handoff, const ProgressFn& progress) {
          Options made = options;
          made.progress = progress;
          World world(handoff, made);
          writeAll(world);
        },
        options.progress);
    loaded = loader->rowsWritten();
    if (options.progress) options.progress(Progress{"indexes", 0, 1});
    db::createReportIndexes(database);
    if (options.progress) options.progress(Progress{"indexes", 1, 1});
    transaction.commit();
  }
  // The planner's statistics (how many rows each index key selects), from a sample of each
  // index so that they cost a fraction of a second even at millions of rows.
  if (options.progress) options.progress(Progress{"statistics", 0, 1});
  database.exec("PRAGMA analysis_limit = 1000; ANALYZE; PRAGMA analysis_limit = 0");
  if (options.progress) options.progress(Progress{"statistics", 1, 1});
  addLoaded(summary, loaded);
  summary.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
  return summary;
}

Summary createDemoDatabase(const std::string& path, const Options& options) {
  const auto started = std::chrono::steady_clock::now();
  Summary summary;
  std::optional<db::Database> database(db::Database::create(path));  // refuses an existing file
  try {
    // A new file that is removed on any failure needs no rollback journal; larger pages mean
    // fewer page splits and writes while loading, and fewer pages to walk in the reports' scans.
    database->exec("PRAGMA journal_mode = OFF; PRAGMA page_size = 8192");
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
