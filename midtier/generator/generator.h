// Deterministic demo data for a company database: base data, production tasks with
// their material, receipts and issues, sales orders and product costs.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace db {
class Database;
}
namespace pg {
class Connection;
}

namespace gen {

struct World;

// How far the generator is: `done` of `total` units of one step ("tasks", "stock bills", ...).
// Each step ends with done == total.
struct Progress {
  std::string_view step;
  int64_t done = 0;
  int64_t total = 0;
};

inline constexpr int64_t kMaxTasks = 10'000'000;

struct Options {
  int64_t tasks = 2000;      // production tasks; every other quantity scales with it
  uint64_t seed = 20261206;  // the same seed gives the same data
  std::function<void(const Progress&)> progress = {};  // optional; called on generate()'s thread
};

struct TableRows {
  std::string table;
  int64_t rows = 0;
};

struct Summary {
  std::vector<TableRows> tables;  // every table of the schema with its row count
  int64_t totalRows = 0;
  std::chrono::milliseconds elapsed{0};
};

// Fills a freshly migrated, empty database (db::migrate) inside one transaction: on any
// failure nothing is written. Throws plat::Error when the database is not at the current
// schema version, already holds data, or the options are out of range (1 to 10,000,000 tasks).
Summary generate(db::Database& database, const Options& options);

// The same into a PostgreSQL database without a company schema: the schema is created, the
// rows go in with COPY, keys and indexes are built after them, all in one transaction (the
// caller's, when one is open).
Summary generate(pg::Connection& connection, const Options& options);

// Every phase in order, into `world`'s loader.
void writeAll(World& world);

// Creates the file (which must not exist), migrates it and fills it.
Summary createDemoDatabase(const std::string& path, const Options& options);

// For a program about to load a large database: memory that is freed stays with the process for
// reuse instead of going back to the system, so that what SQLite's sorter takes and frees for every
// index is not mapped and zero-filled again each time (a third of a million-task load's page
// faults). Lasts for the rest of the process.
void keepFreedMemoryForLoading();

// Row counts of every table of the schema, in schema order.
Summary countRows(db::Database& database);

// Adds the rows a loader stored per table to `summary`'s tables (names compare without case).
void addLoaded(Summary& summary, const std::map<std::string, int64_t>& loaded);

}  // namespace gen
