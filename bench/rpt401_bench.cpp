// Times every Rpt401 variant end to end (filter -> progress window -> worker -> GetRpt401Data ->
// record set) on a generated company of 100,000 production tasks, against one hand-written
// SQLite query that yields the same rows, and prints the ratio of the two per variant.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "frame/host/settings.h"
#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "midtier/generator/generator.h"
#include "midtier/services/connection.h"
#include "midtier/services/register.h"
#include "platform/com/registry.h"
#include "production/register.h"
#include "production/rpt401/rpt401.h"

namespace {

constexpr int64_t kTasks = 100'000;
constexpr const char* kFrom = "2025-01-01";  // every task of the demo company
constexpr const char* kTo = "2026-12-31";

struct Company {
  std::filesystem::path dir;
  std::string file, props;
};

// Constructed before the exit handler below is registered, so it outlives the handler.
const std::filesystem::path& benchDir() {
  static const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tav-rpt401-bench-" + std::to_string(::getpid()));
  return dir;
}

const Company& company() {
  static const Company c = [] {
    Company made;
    made.dir = benchDir();
    std::filesystem::create_directories(made.dir);
    made.file = (made.dir / "demo.db").string();
    gen::createDemoDatabase(made.file, gen::Options{kTasks, 7});
    made.props = midtier::makeProps(made.file, 16394, "administrator");
    midtier::registerServices(plat::broker());
    midtier::setLoginProperties(made.props, "administrator");
    production::registerProductionReports(plat::broker());
    // The connection pool must exist before the exit handler that closes it is registered,
    // or it is destroyed first and the handler frees it twice.
    midtier::connect(made.props);
    std::atexit([] {
      midtier::closeConnections();
      std::error_code ignored;
      std::filesystem::remove_all(benchDir(), ignored);
    });
    return made;
  }();
  return c;
}

struct Variant {
  const char* name;
  int groupBy, sumMode, byProduct;
};
constexpr Variant kVariants[] = {
    {"plain/batch", 0, 0, 0}, {"plain/product", 0, 0, 1},   {"dept/batch", 1, 2, 0},
    {"dept/product", 1, 2, 1}, {"class1-3/batch", 1, 1, 0}, {"class1-3/product", 1, 1, 1},
};

lumo::DictionaryRef filterOf(const Variant& v) {
  auto f = lumo::newDictionary();
  f->SetValue("BDate", kFrom);
  f->SetValue("EDate", kTo);
  f->SetValue("GroupBy", int16_t(v.groupBy));
  f->SetValue("SumMode", int32_t(v.sumMode));
  f->SetValue("GroupByBatchNo", int16_t(v.byProduct));
  f->SetValue("BLevel", 1.0);
  f->SetValue("ELevel", 3.0);
  f->SetValue("OnlyShowSum", int16_t{0});
  f->SetValue("CheckState", int16_t{2});
  f->SetValue("CheckClose", int16_t{2});
  f->SetValue("Mode", int16_t{0});
  if (v.sumMode != 0) {
    auto field = lumo::newDictionary();
    field->SetValue("FSQLColumnName", v.sumMode == 2 ? "FDeptID" : "FName");
    f->SetValue("SumField", field);
  }
  return f;
}

void BM_Rpt401(benchmark::State& state, Variant v) {
  company();
  long rows = 0;
  for (auto _ : state) {
    production::Rpt401 report;
    report.SetFilter(filterOf(v));
    report.GetReportData();
    if (!report.Ok()) {
      state.SkipWithError(report.ErrorText().c_str());
      return;
    }
    rows = report.Rs()->RecordCount();
  }
  state.counters["rows"] = static_cast<double>(rows);
}

// --- the same rows straight from SQLite --------------------------------------------------------

// Tasks aggregated at the variant's finest level, then names and units joined.
std::string detailCtes(const Variant& v) {
  const bool dept = v.sumMode == 2 && v.groupBy == 1;
  const std::string batch = v.byProduct ? "''" : "m.FBatchNo";
  std::string keys = std::string(dept ? "m.FDeptID, " : "") + "m.FItemID" + (v.byProduct ? "" : ", m.FBatchNo");
  return "WITH a AS (SELECT " + std::string(dept ? "m.FDeptID" : "0") + " AS dept, m.FItemID AS item, " + batch +
         " AS batch, sum(m.FQty) AS q, sum(m.FQty / u.FCoefficient) AS s, sum(m.FQtyFinish) AS f,"
         " sum(m.FQtyFinish / u.FCoefficient) AS fs FROM ICMO m JOIN t_ICItem t ON t.FItemID = m.FItemID"
         " JOIN t_MeasureUnit u ON u.FMeasureUnitID = t.FStoreUnitID WHERE m.FDate BETWEEN ?1 AND ?2 GROUP BY " +
         keys +
         "), d AS (SELECT a.*, t.FNumber AS num, t.FShortNumber AS sn, t.FName AS nm, t.FModel AS md, bu.FName AS bun,"
         " su.FName AS sun, t.FQtyDecimal AS qd, t.FPriceDecimal AS pd FROM a JOIN t_ICItem t ON t.FItemID = a.item"
         " LEFT JOIN t_MeasureUnit bu ON bu.FMeasureUnitID = t.FUnitID"
         " LEFT JOIN t_MeasureUnit su ON su.FMeasureUnitID = t.FStoreUnitID)";
}

const std::string kSums = "sum(q), sum(s), sum(f), sum(fs), sum(q) - sum(f), sum(s) - sum(fs)";
const std::string kRow = "q, s, f, fs, q - f, s - fs";

std::string rawQuery(const Variant& v) {
  const std::string ctes = detailCtes(v);
  if (v.groupBy != 1)
    return ctes + " SELECT num, sn, nm, md, batch, bun, sun, " + kRow + ", qd, pd, 0 AS sort FROM d UNION ALL " +
           "SELECT '合计', '', '', '', '', '', '', " + kSums + ", NULL, NULL, 101 FROM d ORDER BY sort, 1";
  if (v.sumMode == 2)
    return ctes + ", n AS (SELECT d.*, td.FName AS dn, td.FNumber AS dnum FROM d LEFT JOIN t_Department td" +
           " ON td.FItemID = d.dept) SELECT dn, dnum, num, sn, nm, md, batch, bun, sun, " + kRow +
           ", qd, pd, 0 FROM n UNION ALL SELECT dn || '(小计)', NULL, NULL, '', '', '', '', '', '', " + kSums +
           ", NULL, NULL, 102 FROM n GROUP BY dept UNION ALL SELECT '合计', NULL, NULL, '', '', '', '', '', '', " +
           kSums + ", NULL, NULL, 101 FROM n";
  // Class levels 1-3 from the parent chain of each product.
  auto level = [](int l) {
    const std::string n = std::to_string(l);
    return "CASE WHEN p1.FLevel = " + n + " THEN p1.FName WHEN p2.FLevel = " + n + " THEN p2.FName WHEN p3.FLevel = " +
           n + " THEN p3.FName WHEN p4.FLevel = " + n + " THEN p4.FName END AS n" + n;
  };
  return ctes + ", c AS (SELECT d.*, " + level(1) + ", " + level(2) + ", " + level(3) +
         " FROM d JOIN t_Item i ON i.FItemID = d.item LEFT JOIN t_Item p1 ON p1.FItemID = i.FParentID"
         " LEFT JOIN t_Item p2 ON p2.FItemID = p1.FParentID LEFT JOIN t_Item p3 ON p3.FItemID = p2.FParentID"
         " LEFT JOIN t_Item p4 ON p4.FItemID = p3.FParentID)"
         " SELECT n1, n2, n3, num, sn, nm, md, batch, bun, sun, " + kRow + ", qd, pd, 0 FROM c" +
         " UNION ALL SELECT n1, n2, ifnull(n3, '') || '(小计)', NULL, '', '', '', '', '', '', " + kSums +
         ", NULL, NULL, 109 FROM c GROUP BY n1, n2, n3" +
         " UNION ALL SELECT n1, ifnull(n2, '') || '(小计)', NULL, NULL, '', '', '', '', '', '', " + kSums +
         ", NULL, NULL, 108 FROM c GROUP BY n1, n2" +
         " UNION ALL SELECT ifnull(n1, '') || '(小计)', NULL, NULL, NULL, '', '', '', '', '', '', " + kSums +
         ", NULL, NULL, 107 FROM c GROUP BY n1" +
         " UNION ALL SELECT '合计', NULL, NULL, NULL, '', '', '', '', '', '', " + kSums + ", NULL, NULL, 101 FROM c";
}

void BM_RawSqlite(benchmark::State& state, Variant v) {
  db::Database database = db::Database::open(company().file);
  db::Statement query = database.prepare(rawQuery(v));
  long rows = 0;
  for (auto _ : state) {
    query.reset();
    query.bindAll(std::string(kFrom), std::string(kTo));
    rows = 0;
    double sum = 0;
    while (query.step()) {
      ++rows;
      sum += query.getDouble(10);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["rows"] = static_cast<double>(rows);
}

}  // namespace

int main(int argc, char** argv) {
  for (const Variant& v : kVariants) {
    benchmark::RegisterBenchmark((std::string("BM_Rpt401/") + v.name).c_str(), BM_Rpt401, v)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
    benchmark::RegisterBenchmark((std::string("BM_RawSqlite/") + v.name).c_str(), BM_RawSqlite, v)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
