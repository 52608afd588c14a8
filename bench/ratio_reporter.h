// The console table, then each benchmark's real and CPU time over its hand-written SQLite
// counterpart's: "BM_X/case" over "BM_RawSqlite/case", "BM_X" over "BM_RawSqlite".
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
        const std::string name = run.benchmark_name();
        times_[name.substr(0, name.find("/min_time"))] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
      }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    // On a busy machine the CPU times compare better than the wall-clock ones.
    std::printf("\n%-30s %10s %10s %7s %10s %10s %7s\n", "benchmark", "real ms", "raw ms", "ratio", "CPU ms",
                "raw CPU", "ratio");
    for (const auto& [name, times] : times_) {
      if (name.starts_with(kRaw)) continue;
      const size_t slash = name.find('/');
      auto raw = times_.find(slash == std::string::npos ? std::string(kRaw) : kRaw + name.substr(slash));
      if (raw == times_.end() || raw->second.first <= 0 || raw->second.second <= 0) continue;
      std::printf("%-30s %10.1f %10.1f %7.2f %10.1f %10.1f %7.2f\n", name.c_str(), times.first, raw->second.first,
                  times.first / raw->second.first, times.second, raw->second.second,
                  times.second / raw->second.second);
    }
  }

 private:
  static constexpr const char* kRaw = "BM_RawSqlite";
  std::map<std::string, std::pair<double, double>> times_;  // name -> real, CPU time
};
