// init/generate and demo: creating the company database and showing the showcase report.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <iostream>
#include <sstream>

#include "app/cli/commands.h"
#include "app/exit_codes.h"
#include "app/export/file_paths.h"
#include "app/export/temp_cleanup.h"
#include "app/table/text_width.h"
#include "midtier/generator/generator.h"
#include "midtier/pg/url.h"

namespace app {
namespace {

// The generator's progress as one live line on a terminal's stderr: "tasks 350000 of 1000000".
class InitProgress {
 public:
  InitProgress() : enabled_(::isatty(STDERR_FILENO) != 0) {}
  ~InitProgress() {
    if (shown_) std::cerr << "\r\x1b[K" << std::flush;
  }
  InitProgress(const InitProgress&) = delete;
  InitProgress& operator=(const InitProgress&) = delete;

  void operator()(const gen::Progress& p) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    const bool stepDone = p.done == p.total;
    if (!stepDone && now - lastPaint_ < std::chrono::milliseconds(100)) return;
    lastPaint_ = now;
    shown_ = true;
    std::cerr << "\r\x1b[K" << p.step << ' ' << p.done << " of " << p.total << std::flush;
  }

 private:
  bool enabled_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point lastPaint_{};
};

}  // namespace

constexpr std::string_view kInitTag = ".new-";

namespace {

// Refuses what init must not replace; the existing file, when there is one.
std::optional<struct ::stat> checkTarget(const std::filesystem::path& target, bool force) {
  struct ::stat st {};
  if (::stat(target.c_str(), &st) != 0) return std::nullopt;
  if (S_ISDIR(st.st_mode)) throw Failure{kExitOutput, "cannot create " + target.string() + ": it is a directory"};
  if (!S_ISREG(st.st_mode))
    throw Failure{kExitOutput, "cannot create " + target.string() + ": it exists and is not a regular file"};
  if (!force) throw Failure{kExitUsage, target.string() + " exists already (--force replaces it)"};
  return st;
}

}  // namespace

void initDatabase(const InitOptions& options, std::ostream& out) {
  namespace fs = std::filesystem;
  if (options.tasks < 1 || options.tasks > 10'000'000)
    throw Failure{kExitUsage, "--tasks must lie between 1 and 10000000"};
  if (pg::isServerUrl(options.db)) return initServerDatabase(options, out);
  const fs::path target = options.db.empty() ? fs::path(defaultDatabase()) : fs::path(options.db);
  const std::optional<struct ::stat> existing = checkTarget(target, options.force);
  const std::optional<fs::path> followed = followLinks(target);
  if (!followed) throw Failure{kExitOutput, "cannot create " + target.string() + ": too many levels of symbolic links"};
  const fs::path destination = *followed;
  const fs::path dir = directoryOf(destination);
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) throw Failure{kExitOutput, "cannot create " + target.string() + ": " + ec.message()};

  // Built in a private directory beside the target, journal and all, and renamed over the target
  // when complete; a signal or a later run removes what an interrupted one left.
  removeStaleTemporaries(destination, kInitTag);
  std::string pattern = (dir / (temporaryPrefix(destination, kInitTag) + "-XXXXXX")).string();
  if (!::mkdtemp(pattern.data()))
    throw Failure{kExitOutput, "cannot create " + target.string() + ": " + errnoText()};
  const fs::path work = pattern;
  const fs::path built = work / destination.filename();
  const SignalCleanup forDirectory(work);
  const SignalCleanup forDatabase(built);
  const SignalCleanup forJournal(built.string() + "-journal");
  const auto fail = [&](const std::string& why) {
    fs::remove_all(work, ec);
    throw Failure{kExitOutput, "cannot create " + target.string() + ": " + why};
  };

  gen::Summary summary;
  gen::keepFreedMemoryForLoading();
  try {
    InitProgress progress;
    summary = gen::createDemoDatabase(built.string(),
                                      gen::Options{options.tasks, options.seed, [&](const gen::Progress& p) { progress(p); }});
  } catch (const plat::Error& e) {
    fail(e.description());
  } catch (...) {
    fs::remove_all(work, ec);
    throw;
  }
  const std::string problem = setModeAndSync(built, existing ? existing->st_mode & 07777 : newFileMode());
  if (!problem.empty()) fail(problem);
  if (::rename(built.c_str(), destination.c_str()) != 0) fail(errnoText());
  fs::remove_all(work, ec);
  syncDirectory(dir);
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
