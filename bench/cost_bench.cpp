// Times Rpt499 and Rpt498 end to end (filter -> progress window -> worker -> one service call
// per period -> record set) over 12 and 24 periods of a generated company of 100,000
// production tasks, against hand-written SQLite queries that aggregate the same periods, and
// prints the ratio of the two per case.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "cost/rpt498/rpt498.h"
#include "cost/rpt499/rpt499.h"
#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "midtier/generator/generator.h"
#include "midtier/services/connection.h"
#include "midtier/services/register.h"
#include "platform/com/registry.h"

namespace {

constexpr int64_t kTasks = 100'000;

struct Company {
  std::filesystem::path dir;
  std::string file, props;
};

const Company& company() {
  static const Company c = [] {
    midtier::closeConnections();  // the kept connections outlive the clean-up at exit
    Company made;
    made.dir = std::filesystem::temp_directory_path() / ("tav-cost-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(made.dir);
    made.file = (made.dir / "demo.db").string();
    gen::createDemoDatabase(made.file, gen::Options{kTasks, 7});
    made.props = midtier::makeProps(made.file, 16394, "administrator");
    midtier::registerServices(plat::broker());
    midtier::setLoginProperties(made.props, "administrator");
    plat::broker().Register(cost::kRpt498Class, [] { return std::make_shared<cost::Rpt498>(); });
    std::atexit([] {
      midtier::closeConnections();
      std::error_code ignored;
      std::filesystem::remove_all(company().dir, ignored);
    });
    return made;
  }();
  return c;
}

struct Case {
  const char* name;
  int report;  // 499 or 498
  int periods;  // from 2025/1: 12 is the year 2025, 24 runs to 2026/12
  int groupBy;  // Rpt499: 1 rolls up over class levels 1-3 with batches merged
};
constexpr Case kCases[] = {
    {"499plain/12", 499, 12, 0},   {"499plain/24", 499, 24, 0}, {"499class/12", 499, 12, 1},
    {"499class/24", 499, 24, 1},   {"498/12", 498, 12, 0},      {"498/24", 498, 24, 0},
};

lumo::DictionaryRef filterOf(const Case& c) {
  auto f = lumo::newDictionary();
  f->SetValue("BYear", "2025");
  f->SetValue("BPeriod", "1");
  f->SetValue("EYear", c.periods > 12 ? "2026" : "2025");
  f->SetValue("EPeriod", "12");
  f->SetValue("BItemNumber", "");
  f->SetValue("EItemNumber", "");
  f->SetValue("BatchNo", "FBATCHNO");
  f->SetValue("GroupBy", static_cast<int16_t>(c.groupBy));
  f->SetValue("SumMode", int32_t{1});
  f->SetValue("BLevel", "1");
  f->SetValue("ELevel", "3");
  f->SetValue("GroupByBatchNo", static_cast<int16_t>(c.groupBy));
  f->SetValue("OnlyShowSum", int16_t{0});
  return f;
}

void BM_Report(benchmark::State& state, Case c) {
  company();
  long rows = 0;
  for (auto _ : state) {
    std::shared_ptr<frame::Report> report;
    if (c.report == 499)
      report = std::make_shared<cost::Rpt499>();
    else
      report = std::make_shared<cost::Rpt498>();
    report->SetFilter(filterOf(c));
    report->GetReportData();
    if (!report->Ok()) {
      state.SkipWithError(report->ErrorText().c_str());
      return;
    }
    rows = report->Rs()->RecordCount();
  }
  state.counters["rows"] = static_cast<double>(rows);
}

// --- the same periods straight from SQLite, one query per period --------------------------------

const std::string kSums =
    "sum(FPeriodStartNum), sum(FPeriodStartCost), sum(FCurInNum), sum(FCurInCost), sum(FCurOutNum), "
    "sum(FCurOutCost), sum(FPeriodEndNum), sum(FPeriodEndCost)";

// Per product and batch with names, and the period's total.
// (The cost table holds one row per period, product and batch: nothing to group below the total.)
const std::string kPlain =
    "WITH b AS (SELECT c.* FROM cb_ProductPeriodCost c WHERE c.FYear = ?1 AND c.FPeriod = ?2) "
    "SELECT i.FNumber, b.FBatchNo, i.FName, i.FModel, u.FName, b.FPeriodStartNum, b.FPeriodStartCost, b.FCurInNum, "
    "b.FCurInCost, b.FCurOutNum, b.FCurOutCost, b.FPeriodEndNum, b.FPeriodEndCost, 0 FROM b "
    "JOIN t_ICItem i ON i.FItemID = b.FItemID LEFT JOIN t_MeasureUnit u ON u.FMeasureUnitID = i.FUnitID "
    "UNION ALL SELECT '合计', '', '', '', '', " + kSums + ", 101 FROM b ORDER BY 14, 1, 2";

// Per product, rolled up over class levels 1-3 from each product's parent chain.
std::string classLevels() {
  auto level = [](int l) {
    const std::string n = std::to_string(l);
    return "CASE WHEN p1.FLevel = " + n + " THEN p1.FName WHEN p2.FLevel = " + n + " THEN p2.FName WHEN p3.FLevel = " +
           n + " THEN p3.FName WHEN p4.FLevel = " + n + " THEN p4.FName END AS n" + n;
  };
  const std::string sums =
      "sum(a0), sum(a1), sum(a2), sum(a3), sum(a4), sum(a5), sum(a6), sum(a7)";
  return "WITH a AS (SELECT FItemID AS item, sum(FPeriodStartNum) a0, sum(FPeriodStartCost) a1, sum(FCurInNum) a2, "
         "sum(FCurInCost) a3, sum(FCurOutNum) a4, sum(FCurOutCost) a5, sum(FPeriodEndNum) a6, sum(FPeriodEndCost) a7 "
         "FROM cb_ProductPeriodCost WHERE FYear = ?1 AND FPeriod = ?2 GROUP BY FItemID), "
         "c AS (SELECT a.*, t.FNumber AS num, t.FName AS nm, t.FModel AS md, " +
         level(1) + ", " + level(2) + ", " + level(3) +
         " FROM a JOIN t_ICItem t ON t.FItemID = a.item JOIN t_Item i ON i.FItemID = a.item "
         "LEFT JOIN t_Item p1 ON p1.FItemID = i.FParentID LEFT JOIN t_Item p2 ON p2.FItemID = p1.FParentID "
         "LEFT JOIN t_Item p3 ON p3.FItemID = p2.FParentID LEFT JOIN t_Item p4 ON p4.FItemID = p3.FParentID) "
         "SELECT n1, n2, n3, num, nm, md, a0, a1, a2, a3, a4, a5, a6, a7, 0 FROM c "
         "UNION ALL SELECT n1, n2, ifnull(n3, '') || '(小计)', NULL, '', '', " + sums + ", 109 FROM c GROUP BY n1, n2, n3 "
         "UNION ALL SELECT n1, ifnull(n2, '') || '(小计)', NULL, NULL, '', '', " + sums + ", 108 FROM c GROUP BY n1, n2 "
         "UNION ALL SELECT ifnull(n1, '') || '(小计)', NULL, NULL, NULL, '', '', " + sums + ", 107 FROM c GROUP BY n1 "
         "UNION ALL SELECT '合计', NULL, NULL, NULL, '', '', " + sums + ", 101 FROM c";
}

// Output per product and batch with the elements; the period's subtotal is added while reading.
const std::string kDetail =
    "SELECT i.FNumber, i.FName, i.FModel, c.FBatchNo, u.FName, c.FCurOutNum, c.FCurOutCost / c.FCurOutNum, "
    "ifnull(e.E1, 0), ifnull(e.E2, 0), ifnull(e.E3, 0), ifnull(e.E4, 0), ifnull(e.E5, 0), ifnull(e.E6, 0), "
    "ifnull(e.E7, 0), c.FCurOutCost, i.FQtyDecimal, i.FPriceDecimal FROM cb_ProductPeriodCost c "
    "JOIN t_ICItem i ON i.FItemID = c.FItemID LEFT JOIN t_MeasureUnit u ON u.FMeasureUnitID = i.FUnitID "
    "LEFT JOIN (SELECT FItemID, FBatchNo, sum(CASE WHEN FElementID = 1 THEN FAmount ELSE 0 END) E1, "
    "sum(CASE WHEN FElementID = 2 THEN FAmount ELSE 0 END) E2, sum(CASE WHEN FElementID = 3 THEN FAmount ELSE 0 END) E3, "
    "sum(CASE WHEN FElementID = 4 THEN FAmount ELSE 0 END) E4, sum(CASE WHEN FElementID = 5 THEN FAmount ELSE 0 END) E5, "
    "sum(CASE WHEN FElementID = 6 THEN FAmount ELSE 0 END) E6, sum(CASE WHEN FElementID = 7 THEN FAmount ELSE 0 END) E7 "
    "FROM cb_CostElement WHERE FYear = ?1 AND FPeriod = ?2 GROUP BY FItemID, FBatchNo) e "
    "ON e.FItemID = c.FItemID AND e.FBatchNo = c.FBatchNo "
    "WHERE c.FYear = ?1 AND c.FPeriod = ?2 AND c.FCurOutNum <> 0 ORDER BY i.FNumber, c.FBatchNo";

void BM_RawSqlite(benchmark::State& state, Case c) {
  db::Database database = db::Database::open(company().file);
  db::Statement query =
      database.prepare(c.report == 498 ? kDetail : c.groupBy == 1 ? classLevels() : kPlain);
  const int valueColumn = c.report == 498 ? 14 : c.groupBy == 1 ? 11 : 10;
  long rows = 0;
  for (auto _ : state) {
    rows = 0;
    double sum = 0;
    for (int p = 0; p < c.periods; ++p) {
      query.reset();
      query.bindAll(2025 + p / 12, p % 12 + 1);
      while (query.step()) {
        ++rows;
        sum += query.getDouble(valueColumn);
      }
      if (c.report == 498) ++rows;  // the period's subtotal
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["rows"] = static_cast<double>(rows);
}

}  // namespace

int main(int argc, char** argv) {
  for (const Case& c : kCases) {
    benchmark::RegisterBenchmark((std::string("BM_Report/") + c.name).c_str(), BM_Report, c)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
    benchmark::RegisterBenchmark((std::string("BM_RawSqlite/") + c.name).c_str(), BM_RawSqlite, c)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
