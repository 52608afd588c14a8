// Times the graded reports on existing company files against the hand-written SQLite beside
// this file (graded_scale_401.sql, graded_scale_499.sql) on the same file:
//   Rpt401 by product-class levels 1-3, per product and batch, every task;
//   Rpt499 by product-class levels 1-3 over the 12 periods of 2025 (one hand query per period).
// Usage: graded_scale_bench [--runs N] [--log] FILE...   (make files with: tavgen --db FILE --tasks N --seed 7)
// Prints the best of N runs per case and file, the ratios, and the growth between the files.
// --log prints every statement the reports run with its time (stderr), to see where time goes.
#include <sqlite3.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <sstream>
#include <string>
#include <vector>

#include "cost/rpt499/rpt499.h"
#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "midtier/services/connection.h"
#include "midtier/services/login.h"
#include "midtier/services/register.h"
#include "platform/com/registry.h"
#include "production/register.h"
#include "production/rpt401/rpt401.h"

namespace {

std::string readSql(const char* name) {
  std::ifstream in(std::string(TAV_BENCH_SOURCE_DIR) + "/" + name);
  std::stringstream text;
  text << in.rdbuf();
  if (text.str().empty()) throw std::runtime_error(std::string("cannot read ") + name);
  return text.str();
}

lumo::DictionaryRef filter401() {
  auto f = lumo::newDictionary();
  f->SetValue("BDate", "2025-01-01");
  f->SetValue("EDate", "2026-12-31");
  f->SetValue("GroupBy", int16_t{1});
  f->SetValue("SumMode", int32_t{1});
  f->SetValue("GroupByBatchNo", int16_t{0});
  f->SetValue("BLevel", 1.0);
  f->SetValue("ELevel", 3.0);
  f->SetValue("OnlyShowSum", int16_t{0});
  f->SetValue("CheckState", int16_t{2});
  f->SetValue("CheckClose", int16_t{2});
  f->SetValue("Mode", int16_t{0});
  auto field = lumo::newDictionary();
  field->SetValue("FSQLColumnName", "FName");
  f->SetValue("SumField", field);
  return f;
}

lumo::DictionaryRef filter499() {
  auto f = lumo::newDictionary();
  f->SetValue("BYear", "2025");
  f->SetValue("BPeriod", "1");
  f->SetValue("EYear", "2025");
  f->SetValue("EPeriod", "12");
  f->SetValue("BItemNumber", "");
  f->SetValue("EItemNumber", "");
  f->SetValue("BatchNo", "FBATCHNO");
  f->SetValue("GroupBy", int16_t{1});
  f->SetValue("SumMode", int32_t{1});
  f->SetValue("BLevel", "1");
  f->SetValue("ELevel", "3");
  f->SetValue("GroupByBatchNo", int16_t{1});
  f->SetValue("OnlyShowSum", int16_t{0});
  return f;
}

// Wall-clock and processor seconds; on a busy machine the processor time compares better.
struct Timing {
  double seconds = 1e300;
  double cpu = 1e300;
  long rows = 0;
};

Timing best(int runs, const std::function<long()>& once) {
  Timing t;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    t.rows = once();
    t.cpu = std::min(t.cpu, static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    t.seconds = std::min(t.seconds, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return t;
}

void print(const char* what, const Timing& report, const Timing& hand) {
  std::printf("  %-22s report %8.3f s (cpu %8.3f) %8ld rows   hand %8.3f s (cpu %8.3f) %8ld rows   ratio %5.2f (cpu %5.2f)\n",
              what, report.seconds, report.cpu, report.rows, hand.seconds, hand.cpu, hand.rows,
              report.seconds / hand.seconds, report.cpu / hand.cpu);
}

long runReport(frame::Report& report, lumo::DictionaryRef filter) {
  report.SetFilter(std::move(filter));
  report.GetReportData();
  if (!report.Ok()) throw std::runtime_error(report.ErrorText());
  return report.Rs()->RecordCount();
}

long runHand(db::Database& database, const std::string& sql, const std::vector<std::pair<plat::Variant, plat::Variant>>& binds) {
  db::Statement query = database.prepare(sql);
  long rows = 0;
  for (const auto& [a, b] : binds) {
    query.reset();
    if (a.isText()) query.bindAll(a.text(), b.text());
    else query.bindAll(a.toInt32(), b.toInt32());
    while (query.step()) ++rows;
  }
  return rows;
}

// The statement log: each statement SQLite finished on the company connection, with its time.
int logStatement(unsigned, void*, void* statement, void* nanoseconds) {
  const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
  std::fprintf(stderr, "%9.3f ms  %s\n", static_cast<double>(*static_cast<sqlite3_int64*>(nanoseconds)) / 1e6,
               sql ? sql : "?");
  return 0;
}

struct Figures {
  std::string file;
  Timing r401, h401, r499, h499;
};

}  // namespace

int main(int argc, char** argv) {
  int runs = 3;
  bool log = false;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) runs = std::stoi(argv[++i]);
    else if (arg == "--log") log = true;
    else files.push_back(arg);
  }
  if (files.empty()) {
    std::fprintf(stderr, "usage: graded_scale_bench [--runs N] [--log] FILE...\n");
    return 2;
  }
  const std::string hand401 = readSql("graded_scale_401.sql");
  const std::string hand499 = readSql("graded_scale_499.sql");
  midtier::registerServices(plat::broker());
  production::registerProductionReports(plat::broker());
  std::vector<Figures> all;
  for (const std::string& file : files) {
    const std::string props = midtier::makeProps(file, 16394, "administrator");
    midtier::setLoginProperties(props, "administrator");
    Figures f{file, {}, {}, {}, {}};
    if (log) sqlite3_trace_v2(midtier::connect(props).sqlite()->handle(), SQLITE_TRACE_PROFILE, logStatement, nullptr);
    {
      db::Database database = db::Database::open(file);
      f.h401 = best(runs, [&] { return runHand(database, hand401, {{plat::Variant("2025-01-01"), plat::Variant("2026-12-31")}}); });
      std::vector<std::pair<plat::Variant, plat::Variant>> periods;
      for (int p = 1; p <= 12; ++p) periods.emplace_back(int32_t{2025}, int32_t{p});
      f.h499 = best(runs, [&] { return runHand(database, hand499, periods); });
    }
    f.r401 = best(runs, [&] {
      production::Rpt401 report;
      return runReport(report, filter401());
    });
    f.r499 = best(runs, [&] {
      cost::Rpt499 report;
      return runReport(report, filter499());
    });
    midtier::closeConnections();
    std::printf("%s\n", file.c_str());
    print("Rpt401 class 1-3", f.r401, f.h401);
    print("Rpt499 class 1-3 x12", f.r499, f.h499);
    std::fflush(stdout);
    all.push_back(f);
  }
  for (std::size_t i = 1; i < all.size(); ++i) {
    std::printf("growth %s -> %s: Rpt401 %.2fx (cpu %.2fx), Rpt499 %.2fx (cpu %.2fx)\n", all[i - 1].file.c_str(),
                all[i].file.c_str(), all[i].r401.seconds / all[i - 1].r401.seconds, all[i].r401.cpu / all[i - 1].r401.cpu,
                all[i].r499.seconds / all[i - 1].r499.seconds, all[i].r499.cpu / all[i - 1].r499.cpu);
  }
  return 0;
}
