// Times the document journal list control on a company of 1,000,000 production tasks: opening a
// journal up to its first screen of rows (with the connection kept, and from a closed one), the
// incremental search for common, rare and absent numbers, and reading on page after page.
// The database is generated once into /tmp and reused by later runs.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "midtier/generator/generator.h"
#include "midtier/services/connection.h"
#include "midtier/services/list_control.h"
#include "midtier/services/register.h"
#include "platform/com/registry.h"

namespace {

constexpr int64_t kTasks = 1'000'000;
constexpr int kScreenRows = 40;
constexpr int32_t kAdministrator = 16394;
constexpr int32_t kRestrictedOnCustomers = 16395;

const std::string& database() {
  static const std::string file = [] {
    midtier::closeConnections();  // the kept connections outlive the exit handler below
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "tav-iclist-1m.db";
    if (!std::filesystem::exists(path)) {
      // Written under another name first, so that an interrupted run leaves nothing to reuse.
      const std::filesystem::path part = path.string() + ".part";
      std::filesystem::remove(part);
      gen::createDemoDatabase(part.string(), gen::Options{kTasks, 20261206});
      std::filesystem::rename(part, path);
    }
    midtier::registerServices(plat::broker());
    std::atexit([] { midtier::closeConnections(); });
    return path.string();
  }();
  return file;
}

std::unique_ptr<midtier::ICList> journal(int32_t billType, int32_t user = kAdministrator) {
  auto list = std::make_unique<midtier::ICList>();
  list->SetProperty("BaseInfo", database() + "|" + std::to_string(user) + "|bench");
  list->SetProperty("ListID", billType);
  list->SetProperty("MultiSelect", false);
  return list;
}

void openAndShow(benchmark::State& state, midtier::ICList& list) {
  if (!list.InitData()) state.SkipWithError(list.LastError().c_str());
  benchmark::DoNotOptimize(list.Rows(0, kScreenRows));
}

void BM_OpenTaskJournal(benchmark::State& state) {
  database();
  for (auto _ : state) {
    auto list = journal(36);
    openAndShow(state, *list);
  }
}

// The first lookup of a program: the database is opened (and its schema checked) as well.
void BM_OpenTaskJournalCold(benchmark::State& state) {
  database();
  for (auto _ : state) {
    state.PauseTiming();
    midtier::closeConnections();
    state.ResumeTiming();
    auto list = journal(36);
    openAndShow(state, *list);
  }
}

void BM_OpenSalesJournalRestrictedUser(benchmark::State& state) {
  database();
  for (auto _ : state) {
    auto list = journal(32, kRestrictedOnCustomers);
    openAndShow(state, *list);
  }
}

// One keystroke of the incremental search: the narrowed journal up to its first screen. The
// service keeps the matches of the last search; another search in between makes each one new.
void BM_SearchTasks(benchmark::State& state, const char* part) {
  database();
  auto list = journal(36);
  openAndShow(state, *list);
  long rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    list->Search("#");
    state.ResumeTiming();
    list->Search(part);
    rows = static_cast<long>(list->Rows(0, kScreenRows).size());
  }
  state.counters["rows"] = static_cast<double>(rows);
}

// Scrolling down 10,000 rows: a hundred pages, each found from the last row of the one before.
void BM_ReadTaskJournalTo10000(benchmark::State& state) {
  database();
  for (auto _ : state) {
    auto list = journal(36);
    openAndShow(state, *list);
    list->MoveTo(9'999);
    benchmark::DoNotOptimize(list->CurrentRow());
  }
}

BENCHMARK(BM_OpenTaskJournal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTaskJournalCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSalesJournalRestrictedUser)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchTasks, every_WORK, "WORK")->Unit(benchmark::kMillisecond);
// 100,001 old bills and the newest: past what is ordered from the number index, so the dates
// are walked through 800,000 newer tasks to fill the first page (the slowest case).
BENCHMARK_CAPTURE(BM_SearchTasks, old_WORK1, "WORK1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchTasks, common_WORK00, "WORK00")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchTasks, rare_WORK099999, "WORK099999")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchTasks, absent, "SO-")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTaskJournalTo10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
