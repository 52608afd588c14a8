// Times Rpt400 end to end (filter -> progress window -> worker -> GetRpt400Data -> record set)
// on a generated company of 100,000 production tasks, and its data member alone, against one
// hand-written SQLite query that yields the same rows; prints the ratios.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "midtier/generator/generator.h"
#include "midtier/services/connection.h"
#include "midtier/services/register.h"
#include "midtier/services/shop_data.h"
#include "platform/com/registry.h"
#include "production/rpt400/rpt400.h"

namespace {

constexpr int64_t kTasks = 100'000;
constexpr const char* kFrom = "2025-01-01";  // every task of the demo company
constexpr const char* kTo = "2026-12-31";

struct Company {
  std::filesystem::path dir;
  std::string file, props;
};

const Company& company() {
  static const Company c = [] {
    midtier::closeConnections();  // the kept connections outlive the exit handler below
    Company made;
    made.dir = std::filesystem::temp_directory_path() / ("tav-rpt400-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(made.dir);
    made.file = (made.dir / "demo.db").string();
    gen::createDemoDatabase(made.file, gen::Options{kTasks, 7});
    made.props = midtier::makeProps(made.file, 16394, "administrator");
    midtier::registerServices(plat::broker());
    midtier::setLoginProperties(made.props, "administrator");
    std::atexit([] {
      midtier::closeConnections();
      std::error_code ignored;
      std::filesystem::remove_all(company().dir, ignored);
    });
    return made;
  }();
  return c;
}

lumo::DictionaryRef allTasks() {
  auto f = lumo::newDictionary();
  f->SetValue("BDate", kFrom);
  f->SetValue("EDate", kTo);
  f->SetValue("CheckState", int16_t{2});
  f->SetValue("CheckClose", int16_t{2});
  f->SetValue("DisplayType", int16_t{1});
  return f;
}

void BM_Rpt400(benchmark::State& state) {
  company();
  long rows = 0;
  for (auto _ : state) {
    production::Rpt400 report;
    report.SetFilter(allTasks());
    report.GetReportData();
    if (!report.Ok()) {
      state.SkipWithError(report.ErrorText().c_str());
      return;
    }
    rows = report.Rs()->RecordCount();
  }
  state.counters["rows"] = static_cast<double>(rows);
}

void BM_GetRpt400Data(benchmark::State& state) {
  company();
  long rows = 0;
  midtier::ShopData service;
  for (auto _ : state) {
    lumo::DictionaryRef filter = allTasks();
    rows = service.GetRpt400Data(company().props, filter)->RecordCount();
  }
  state.counters["rows"] = static_cast<double>(rows);
}

// The same rows straight from SQLite: receipts summed per task, then names and units joined;
// every column is read.
const char* const kRawQuery =
    "WITH r AS (SELECT e.FICMOInterID AS task, sum(e.FQty) AS q, max(b.FDate) AS d, group_concat(b.FBillNo) AS bills"
    " FROM ICStockBillEntry e JOIN ICStockBill b ON b.FInterID = e.FInterID WHERE b.FTranType = 2"
    " GROUP BY e.FICMOInterID)"
    " SELECT m.FDate, m.FBillNo, t.FNumber, t.FShortNumber, t.FName, t.FModel, ifnull(a.FName, ''), m.FBatchNo,"
    " mu.FName, m.FAuxQty, bu.FName, m.FQty, cu.FName, m.FQty / cu.FCoefficient, m.FPlanCommitDate,"
    " mu.FName, m.FQtyFinish / mu.FCoefficient, bu.FName, m.FQtyFinish, cu.FName, m.FQtyFinish / cu.FCoefficient,"
    " m.FPlanFinishDate, m.FFinishDate, printf('%.2f', 100.0 * m.FQtyFinish / m.FQty), ifnull(s.FBillNo, ''),"
    " ifnull(r.bills, ''), r.d, mu.FName, ifnull(r.q, 0) / mu.FCoefficient, bu.FName, ifnull(r.q, 0), cu.FName,"
    " ifnull(r.q, 0) / cu.FCoefficient, bu.FName, max(m.FQty - ifnull(r.q, 0), 0), cu.FName,"
    " max(m.FQty - ifnull(r.q, 0), 0) / cu.FCoefficient, td.FName, te.FName, m.FNote"
    " FROM ICMO m JOIN t_ICItem t ON t.FItemID = m.FItemID LEFT JOIN r ON r.task = m.FInterID"
    " LEFT JOIN t_AuxItem a ON a.FItemID = m.FAuxPropID LEFT JOIN SEOrder s ON s.FInterID = m.FOrderInterID"
    " LEFT JOIN t_MeasureUnit mu ON mu.FMeasureUnitID = m.FUnitID"
    " LEFT JOIN t_MeasureUnit bu ON bu.FMeasureUnitID = t.FUnitID"
    " LEFT JOIN t_MeasureUnit cu ON cu.FMeasureUnitID = t.FStoreUnitID"
    " LEFT JOIN t_Department td ON td.FItemID = m.FDeptID LEFT JOIN t_Emp te ON te.FItemID = m.FEmpID"
    " WHERE m.FDate BETWEEN ?1 AND ?2 ORDER BY m.FDate, m.FBillNo";

void BM_RawSqlite(benchmark::State& state) {
  db::Database database = db::Database::open(company().file);
  db::Statement query = database.prepare(kRawQuery);
  long rows = 0;
  for (auto _ : state) {
    query.reset();
    query.bindAll(std::string(kFrom), std::string(kTo));
    rows = 0;
    size_t bytes = 0;
    while (query.step()) {
      ++rows;
      for (int c = 0; c < query.columnCount(); ++c) bytes += query.getTextView(c).size();
    }
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["rows"] = static_cast<double>(rows);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("BM_Rpt400", BM_Rpt400)->Unit(benchmark::kMillisecond)->MinTime(2.0);
  benchmark::RegisterBenchmark("BM_GetRpt400Data", BM_GetRpt400Data)->Unit(benchmark::kMillisecond)->MinTime(2.0);
  benchmark::RegisterBenchmark("BM_RawSqlite", BM_RawSqlite)->Unit(benchmark::kMillisecond)->MinTime(2.0);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
