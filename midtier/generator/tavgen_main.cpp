// tavgen: creates or fills a company database with deterministic demo data.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "midtier/db/database.h"
#include "midtier/db/schema.h"
#include "midtier/generator/generator.h"
#include "platform/core/error.h"

namespace {

// When each step of the generator ended, from its progress reports: what the run's time went to.
class StepClock {
 public:
  void operator()(const gen::Progress& p) {
    if (p.done != p.total) return;
    const auto now = std::chrono::steady_clock::now();
    steps_.push_back({std::string(p.step), std::chrono::duration<double>(now - last_).count()});
    last_ = now;
  }
  const std::vector<std::pair<std::string, double>>& steps() const { return steps_; }

 private:
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
  std::vector<std::pair<std::string, double>> steps_;  // step, seconds since the one before ended
};

void printSummary(const std::string& path, const gen::Options& options, const gen::Summary& summary,
                  const StepClock& clock) {
  fmt::print("{}: {} production tasks, seed {}\n", path, options.tasks, options.seed);
  for (const gen::TableRows& table : summary.tables) fmt::print("  {:<22} {:>12}\n", table.table, table.rows);
  const double seconds = static_cast<double>(summary.elapsed.count()) / 1000;
  fmt::print("  {:<22} {:>12}\n", "total rows", summary.totalRows);
  for (const auto& [step, took] : clock.steps()) fmt::print("  {:<22} {:>10.2f} s\n", "until " + step + " done", took);
  fmt::print("written in {:.2f} s ({:.0f} rows/s, {:.0f} tasks/s)\n", seconds,
             seconds > 0 ? static_cast<double>(summary.totalRows) / seconds : 0.0,
             seconds > 0 ? static_cast<double>(options.tasks) / seconds : 0.0);
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
  gen::keepFreedMemoryForLoading();
  auto clock = std::make_shared<StepClock>();
  options.progress = [clock](const gen::Progress& p) { (*clock)(p); };

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
    printSummary(path, options, summary, *clock);
    return 0;
  } catch (const plat::Error& error) {
    fmt::print(stderr, "tavgen: {}\n", error.description());
  } catch (const std::exception& error) {
    fmt::print(stderr, "tavgen: {}\n", error.what());
  }
  return 1;
}
