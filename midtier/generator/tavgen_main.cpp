// tavgen: creates or fills a company database with deterministic demo data.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "midtier/db/database.h"
#include "midtier/db/schema.h"
#include "midtier/generator/generator.h"
#include "platform/core/error.h"

namespace {

void printSummary(const std::string& path, const gen::Options& options, const gen::Summary& summary) {
  fmt::print("{}: {} production tasks, seed {}\n", path, options.tasks, options.seed);
  for (const gen::TableRows& table : summary.tables) fmt::print("  {:<22} {:>12}\n", table.table, table.rows);
  const double seconds = static_cast<double>(summary.elapsed.count()) / 1000;
  fmt::print("  {:<22} {:>12}\n", "total rows", summary.totalRows);
  fmt::print("written in {:.2f} s ({:.0f} rows/s)\n", seconds,
             seconds > 0 ? static_cast<double>(summary.totalRows) / seconds : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Creates a company database (SQLite) and fills it with deterministic demo data:\n"
               "base data, production tasks with material, receipts and issues, sales orders, product costs."};
  std::string path;
  gen::Options options;
  bool force = false;
  app.add_option("--db", path, "database file to create, or an existing empty one to migrate and fill")->required();
  app.add_option("--tasks", options.tasks, "number of production tasks; everything else scales with it")
      ->capture_default_str()
      ->check(CLI::Range(int64_t{1}, int64_t{10'000'000}));
  app.add_option("--seed", options.seed, "random seed; the same seed gives the same data")->capture_default_str();
  app.add_flag("--force", force, "replace the file if it exists");
  CLI11_PARSE(app, argc, argv);

  try {
    std::error_code ec;
    const bool exists = std::filesystem::exists(path, ec);
    gen::Summary summary;
    if (!exists || force) {
      // Made under another name beside the target and renamed over it when complete: an
      // interrupted run leaves no half-made file under the target's name.
      const std::string building = path + ".new-" + std::to_string(::getpid());
      summary = gen::createDemoDatabase(building, options);
      std::filesystem::rename(building, path, ec);
      if (ec) {
        std::error_code ignored;
        std::filesystem::remove(building, ignored);
        throw std::filesystem::filesystem_error("cannot replace the file", path, ec);
      }
      std::filesystem::remove(path + "-journal", ec);
    } else {
      // An existing file is brought up to date; it is filled only when it holds no data.
      db::Database database = db::Database::open(path);
      const int before = db::schemaVersion(database);
      db::migrate(database);
      if (before != db::kSchemaVersion)
        fmt::print("{}: schema migrated from version {} to {}\n", path, before, db::kSchemaVersion);
      if (database.queryInt("SELECT count(*) FROM ICMO") != 0) {
        fmt::print(stderr, "{} already holds data; use --force to replace it\n", path);
        return 1;
      }
      summary = gen::generate(database, options);
    }
    printSummary(path, options, summary);
    return 0;
  } catch (const plat::Error& error) {
    fmt::print(stderr, "tavgen: {}\n", error.description());
  } catch (const std::exception& error) {
    fmt::print(stderr, "tavgen: {}\n", error.what());
  }
  return 1;
}
