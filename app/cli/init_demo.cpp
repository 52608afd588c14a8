// init/generate and demo: creating the company database and showing the showcase report.
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "app/cli/commands.h"
#include "app/exit_codes.h"
#include "app/table/text_width.h"
#include "midtier/generator/generator.h"

namespace app {

void initDatabase(const InitOptions& options, std::ostream& out) {
  namespace fs = std::filesystem;
  const fs::path target = options.db.empty() ? fs::path(defaultDatabase()) : fs::path(options.db);
  if (options.tasks < 1 || options.tasks > 10'000'000)
    throw Failure{kExitUsage, "--tasks must lie between 1 and 10000000"};
  std::error_code ec;
  if (fs::exists(target, ec) && !options.force)
    throw Failure{kExitUsage, target.string() + " exists already (--force replaces it)"};
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  // Built beside the target and renamed over it when complete.
  const fs::path temp = target.parent_path() / ("." + target.filename().string() + ".new-" + std::to_string(::getpid()));
  fs::remove(temp, ec);
  gen::Summary summary;
  try {
    summary = gen::createDemoDatabase(temp.string(), gen::Options{options.tasks, options.seed});
  } catch (const plat::Error& e) {
    fs::remove(temp, ec);
    throw Failure{kExitDatabase, "cannot create " + target.string() + ": " + e.description()};
  } catch (...) {
    fs::remove(temp, ec);
    throw;
  }
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    throw Failure{kExitDatabase, "cannot create " + target.string() + ": " + ec.message()};
  }
  out << "created " << target.string() << " (" << options.tasks << " tasks, seed " << options.seed << ", "
      << summary.totalRows << " rows in " << summary.elapsed.count() << " ms)\n";
  for (const gen::TableRows& t : summary.tables)
    if (t.rows > 0) out << "  " << padTo(t.table, 24) << t.rows << '\n';
}

std::vector<std::string> showcaseFilter() {
  return {"GroupBy=1", "SumMode=1", "BLevel=1", "ELevel=3", "GroupByBatchNo=1"};
}

void runDemo(const InitOptions& init, RunOptions run, std::ostream& out) {
  const std::string db = init.db.empty() ? defaultDatabase() : init.db;
  std::error_code ec;
  if (!std::filesystem::exists(db, ec)) {
    std::cerr << "creating the demo company database " << db << " (" << init.tasks << " tasks)\n";
    InitOptions create = init;
    create.db = db;
    std::ostringstream summary;
    initDatabase(create, summary);
    std::cerr << summary.str().substr(0, summary.str().find('\n') + 1);
  }
  run.login.db = db;
  if (run.report.empty()) run.report = "Rpt401";
  if (run.sets.empty() && run.scheme.empty() && findReport(run.report) == findReport("Rpt401")) run.sets = showcaseFilter();
  if (run.source == FilterSource::Auto) run.source = FilterSource::NoDialog;
  std::cerr << "database " << db << ", user " << run.login.user << "\n";
  runReport(run, out);
}

}  // namespace app
