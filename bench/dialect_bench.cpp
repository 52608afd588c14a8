// Times the summary report's department rollup batch through the dialect layer against the same
// result written directly for SQLite by hand, on synthetic production tasks.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <ctime>
#include <functional>
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "midtier/dialect/dialect.h"

namespace {

constexpr int kItems = 20'000;
constexpr int kDepartments = 30;
constexpr int kBatches = 100'000;

void exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : "?";
    sqlite3_free(error);
    throw std::runtime_error(message);
  }
}

// ERP tables and #T401 with `rows` tasks: each batch belongs to one product and mostly one department.
sqlite3* openDatabase(int rows) {
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  exec(db,
       "CREATE TABLE t_ICItem(FItemID INTEGER PRIMARY KEY, FNumber TEXT, FName TEXT, FRightUserID TEXT);"
       "CREATE TABLE t_Department(FItemID INTEGER PRIMARY KEY, FNumber TEXT, FName TEXT);"
       "CREATE TABLE t_Emp(FItemID INTEGER PRIMARY KEY, FNumber TEXT, FName TEXT);"
       "CREATE TEMP TABLE [#T401](FItemID INTEGER, FDeptID INTEGER, FEmpID INTEGER, FBatchNo TEXT, FBaseQty REAL, "
       "FStockQty REAL, FFinishBQty REAL, FFinishSQty REAL);"
       "BEGIN");
  exec(db,
       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
       "INSERT INTO t_ICItem SELECT i, (1 + i % 9) || '.' || (100000 + i), 'item', '12' FROM n;"
       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 30) "
       "INSERT INTO t_Department SELECT i, 'D' || i, '车间' || i FROM n;"
       "INSERT INTO t_Emp VALUES (1, 'E1', 'emp')");
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO [#T401] VALUES (?, ?, 1, ?, ?, ?, ?, ?)", -1, &insert, nullptr);
  std::uint32_t seed = 12345;
  auto random = [&seed](int n) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
  };
  for (int r = 0; r < rows; ++r) {
    int batch = random(kBatches);
    int dept = random(10) == 0 ? 1 + random(kDepartments) : 1 + (batch / 7) % kDepartments;
    double qty = 1 + random(1000);
    std::string batchNo = std::string("B").append(std::to_string(batch));
    sqlite3_bind_int(insert, 1, 1 + batch % kItems);
    sqlite3_bind_int(insert, 2, dept);
    sqlite3_bind_text(insert, 3, batchNo.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(insert, 4, qty);
    sqlite3_bind_double(insert, 5, qty / 10);
    sqlite3_bind_double(insert, 6, qty / 2);
    sqlite3_bind_double(insert, 7, qty / 20);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  exec(db, "COMMIT");
  return db;
}

sqlite3* database(int rows) {
  static std::map<int, std::unique_ptr<sqlite3, int (*)(sqlite3*)>> cache;
  auto it = cache.find(rows);
  if (it == cache.end()) it = cache.emplace(rows, std::unique_ptr<sqlite3, int (*)(sqlite3*)>(openDatabase(rows), sqlite3_close)).first;
  return it->second.get();
}

// The department variant of the summary report, grouped by batch, all rows.
std::string departmentBatch() {
  const std::string crlf = "\r\n";
  std::string columns;
  for (const char* c :
       {"FItemNumber varchar(355) null,", "FItemShortNumber varchar(355) null,", "FItemName varchar(355) null,",
        "FModel varchar(355) null,", "FBatchNo varchar(355) null,", "FBaseUnitName varchar(355) null,",
        "FStockUnitName varchar(355) null,", "FBaseQty decimal(23,10) null,", "FStockQty decimal(23,10) null,",
        "FFinishBUnitName varchar(355) null,", "FFinishSUnitName varchar(355) null,", "FFinishBQty decimal(23,10) null,",
        "FFinishSQty decimal(23,10) null,", "FUnFinishBUnitName varchar(355) null,", "FUnFinishSUnitName varchar(355) null,",
        "FUnFinishBQty decimal(23,10) null,", "FUnFinishSQty decimal(23,10) null,", "FQtyDecimal SmallInt,",
        "FPriceDecimal SmallInt,", "FSumSort smallint not null Default(0))"}) {
    columns += std::string("     ") + c + crlf;
  }
  return "CREATE TABLE #DATA(" + crlf + "  FPropName varchar(355) null, FPropNumber varchar(355) null," + crlf + columns +
         crlf + " INSERT INTO #DATA  SELECT CASE  WHEN GROUPING(v1.FDeptID)=1 THEN '合计'" + crlf +
         " WHEN GROUPING(v1.FItemID)=1 THEN  CONVERT(varchar(355),v1.FDeptID)+'(小计)' " + crlf +
         " ELSE CONVERT(varchar(355),v1.FDeptID) END, " + crlf +
         " (Select FNumber From t_DepartMent Where FItemID = v1.FDeptID), (Select FNumber From t_ICItem Where FItemID "
         "= v1.FItemID),'','','' ,v1.FBatchNo,'','',sum(v1.FBaseQty),sum(v1.FStockQty),'','',sum(v1.FFinishBQty),sum("
         "v1.FFinishSQty),'','',0,0,Null,Null, CASE WHEN GROUPING(v1.FDeptID)=1 THEN 101" +
         crlf + " WHEN  GROUPING(v1.FItemID)=1 THEN 102 ELSE 0 END  FROM #T401 v1" + crlf +
         " Left Join t_ICItem t1 On v1.FItemID=t1.FItemID" + crlf + " Left Join t_emp te On v1.FEmpID=te.FItemID" +
         crlf + " Left Join t_DepartMent td On v1.FDeptID=td.FItemID" + crlf + " WHERE 1=1 " + crlf + crlf +
         " GROUP BY v1.FDeptID,v1.FItemID,v1.FBatchNo WITH ROLLUP having grouping(v1.FBatchNo)=0 or "
         "grouping(v1.FItemID)=1 or grouping(v1.FDeptID)=1" +
         crlf +
         "update #DATA  set #DATA.FPropName =isnull(t_DepartMent.fname,'') +'(小计)' from #DATA Left Join t_DepartMent "
         " on cast(t_DepartMent.FItemID as varchar(10))=replace(#DATA.FPropName,'(小计)','') where #DATA.FSumSort = "
         "102" +
         crlf +
         "update #DATA  set #DATA.FPropName =isnull(t_DepartMent.fname,''),#DATA.FPropNumber "
         "=isnull(t_DepartMent.FNumber,'')  from #DATA Left Join t_DepartMent  On cast(t_DepartMent.FItemID as "
         "varchar(10))=#DATA.FPropName  Where FSumSort = 0 " +
         crlf + "SELECT * FROM #DATA  " + crlf + "DROP TABLE #DATA  " + crlf;
}

// The same rows written for SQLite: aggregate once, derive the subtotals, join names last.
const char* kHandWritten =
    "WITH agg AS MATERIALIZED (SELECT FDeptID AS d, FItemID AS i, FBatchNo AS b, sum(FBaseQty) AS q1, "
    "sum(FStockQty) AS q2, sum(FFinishBQty) AS q3, sum(FFinishSQty) AS q4 FROM [#T401] GROUP BY 1, 2, 3) "
    "SELECT ifnull(td.FName, ''), ifnull(td.FNumber, ''), (SELECT FNumber FROM t_ICItem WHERE FItemID = agg.i), '', '', "
    "'', b, '', '', q1, q2, '', '', q3, q4, '', '', 0.0, 0.0, NULL, NULL, 0 "
    "FROM agg LEFT JOIN t_Department td ON td.FItemID = agg.d "
    "UNION ALL SELECT ifnull(td.FName, '') || '(小计)', td.FNumber, NULL, '', '', '', NULL, '', '', sum(q1), sum(q2), "
    "'', '', sum(q3), sum(q4), '', '', 0.0, 0.0, NULL, NULL, 102 "
    "FROM agg LEFT JOIN t_Department td ON td.FItemID = agg.d GROUP BY agg.d "
    "UNION ALL SELECT '合计', NULL, NULL, '', '', '', NULL, '', '', sum(q1), sum(q2), '', '', sum(q3), sum(q4), '', '', "
    "0.0, 0.0, NULL, NULL, 101 FROM agg HAVING count(*) > 0";

long runHandWritten(sqlite3* db) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, kHandWritten, -1, &stmt, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
  long rows = 0;
  while (sqlite3_step(stmt) == SQLITE_ROW) ++rows;
  sqlite3_finalize(stmt);
  return rows;
}

struct Spent {
  double wall = 0;
  double cpu = 0;  // this thread's: less disturbed by other work on the machine
};

double threadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

Spent measure(const std::function<void()>& work) {
  auto wall = std::chrono::steady_clock::now();
  double cpu = threadCpuSeconds();
  work();
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(), threadCpuSeconds() - cpu};
}

// Manual time is the dialect's run; the hand-written query runs in the same iteration for the ratio.
void BM_DepartmentRollup(benchmark::State& state) {
  sqlite3* db = database(static_cast<int>(state.range(0)));
  const std::string batch = departmentBatch();
  Spent dialectTotal;
  Spent handTotal;
  long dialectRows = 0;
  long handRows = 0;
  for (auto _ : state) {
    dialectRows = 0;
    Spent dialect = measure([&] { dialect::execute(db, batch, [&dialectRows](sqlite3_stmt*) { ++dialectRows; }); });
    Spent hand = measure([&] { handRows = runHandWritten(db); });
    state.SetIterationTime(dialect.wall);
    dialectTotal.wall += dialect.wall;
    dialectTotal.cpu += dialect.cpu;
    handTotal.wall += hand.wall;
    handTotal.cpu += hand.cpu;
  }
  double n = static_cast<double>(state.iterations());
  state.counters["dialect_s"] = dialectTotal.wall / n;
  state.counters["hand_s"] = handTotal.wall / n;
  state.counters["ratio"] = dialectTotal.wall / handTotal.wall;
  state.counters["dialect_cpu_s"] = dialectTotal.cpu / n;
  state.counters["hand_cpu_s"] = handTotal.cpu / n;
  state.counters["cpu_ratio"] = dialectTotal.cpu / handTotal.cpu;
  state.counters["rows"] = static_cast<double>(dialectRows);
  if (handRows != dialectRows) state.SkipWithError("the two forms return different row counts");
}

BENCHMARK(BM_DepartmentRollup)->Arg(100'000)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DepartmentRollup)->Arg(1'000'000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
