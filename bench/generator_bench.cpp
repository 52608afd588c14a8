// Throughput of the demo data generator: a new database file per run, Release build.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "midtier/generator/generator.h"

namespace {

std::string benchPath() {
  return (std::filesystem::temp_directory_path() / ("tav-generator-bench-" + std::to_string(::getpid()) + ".db")).string();
}

void removeDatabase(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  std::filesystem::remove(path + "-journal", ignored);
}

// Creates, migrates and fills a file; reports tasks/s, rows/s and the file size.
void BM_GenerateDemoDatabase(benchmark::State& state) {
  gen::keepFreedMemoryForLoading();
  const std::string path = benchPath();
  const gen::Options options{.tasks = state.range(0)};
  int64_t rows = 0;
  for (auto _ : state) {
    removeDatabase(path);
    rows = gen::createDemoDatabase(path, options).totalRows;
  }
  state.counters["tasks/s"] = benchmark::Counter(static_cast<double>(options.tasks), benchmark::Counter::kIsRate);
  state.counters["rows/s"] = benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["MiB"] = static_cast<double>(std::filesystem::file_size(path)) / (1024 * 1024);
  removeDatabase(path);
}

BENCHMARK(BM_GenerateDemoDatabase)->Arg(100'000)->Arg(1'000'000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
