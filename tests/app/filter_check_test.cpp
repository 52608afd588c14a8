// Bad filters, users and settings end with exit 2 (or 5 for a damaged database) and a message that
// names what is wrong, however they arrive: --set, a saved scheme, the login, the database.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/exit_codes.h"
#include "app/filter_check.h"
#include "cli_support.h"
#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "platform/grfc/scheme_codec.h"
#include "platform/lumo/dictionary.h"
#include "support/demo_company.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using apptest::runCli;
using apptest::TempDir;

struct Case {
  std::string args;
  int code;
  std::string says;
};

// `plain`: the message carries no internal text (SQL, parser or conversion words).
void expectCases(const std::vector<Case>& cases, bool plain = true) {
  for (const Case& c : cases) {
    const auto r = runCli(c.args);
    EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.err;
    EXPECT_EQ(r.out, "") << c.args;
    EXPECT_EQ(apptest::lineCount(r.err), 1u) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << "\n" << r.err;
    if (!plain) continue;
    for (const char* internal : {"From", "stoi", "Overflow", "SELECT", "syntax"})
      EXPECT_EQ(r.err.find(internal), std::string::npos) << c.args << "\n" << r.err;
  }
}

// The demo company's calendar: periods from the first of t_PeriodDate to the current one.
FiscalCalendar demoCalendar() {
  db::Database database = db::Database::open(support::demoDatabase());
  FiscalCalendar calendar;
  calendar.periodsPerYear = static_cast<int>(
      database.queryInt("SELECT FValue FROM t_SystemProfile WHERE FCategory='GL' AND FKey='PeriodCount'"));
  calendar.current = {
      static_cast<int>(database.queryInt("SELECT FValue FROM t_SystemProfile WHERE FKey='CurrentYear'")),
      static_cast<int>(database.queryInt("SELECT FValue FROM t_SystemProfile WHERE FKey='CurrentPeriod'"))};
  calendar.first = {static_cast<int>(database.queryInt("SELECT min(FYear) FROM t_PeriodDate")), 0};
  calendar.first.period = static_cast<int>(
      database.queryInt("SELECT min(FPeriod) FROM t_PeriodDate WHERE FYear = " + std::to_string(calendar.first.year)));
  return calendar;
}

TEST(FilterCheck, CommandLineRefusesBadPeriodsLevelsAndUsers) {
  const std::string db = "--db '" + support::demoDatabase() + "' ";
  const FiscalCalendar calendar = demoCalendar();
  const std::string next = std::to_string(calendar.current.year + 1);
  expectCases({
      {"run 499 " + db + "--set BYear=1970", kExitUsage, "filter key BYear: BYear/BPeriod 1970/1 is not an accounting period"},
      {"run 499 " + db + "--set EYear=" + next, kExitUsage, "filter key EYear: EYear/EPeriod " + next + "/"},
      {"run 498 " + db + "--set EYear=9999 --set BYear=1970", kExitUsage, calendar.rangeText()},
      {"run 499 " + db + "--set BLevel=4 --set ELevel=2", kExitUsage, "filter key BLevel: 4 lies after ELevel 2"},
      {"run 499 " + db + "--set BPeriod=13", kExitUsage, "filter key BPeriod"},
      {"run 498 " + db + "--set BPeriod=0", kExitUsage, "filter key BPeriod"},
      {"run 498 " + db + "--set BPeriod=-5", kExitUsage, "filter key BPeriod"},
      {"run 499 " + db + "--set BLevel=abc", kExitUsage, "filter key BLevel"},
      {"run 401 " + db + "--set GroupBy=7", kExitUsage, "filter key GroupBy"},
      {"run 401 " + db + "--set EDate=zzz", kExitUsage, "filter key EDate"},
      {"run 401 " + db + "--set BLevel=nan", kExitUsage, "filter key BLevel"},
      {"run 401 " + db + "--set BLevel=inf", kExitUsage, "filter key BLevel"},
      {"run 401 " + db + "--set BLevel=1.5", kExitUsage, "filter key BLevel: '1.5' (expected a whole number from 1 to 9)"},
      {"run 401 " + db + "--user 0", kExitUsage, "unknown user '0'"},
      {"run 401 " + db + "--user 1", kExitUsage, "unknown user '1'"},
      {"run 401 " + db + "--user 99999999999", kExitUsage, "unknown user '99999999999'"},
      {"run 401 " + db + "--user 81930", kExitUsage, "unknown user '81930'"},
      {"run 401 " + db + "--user -16394", kExitUsage, "unknown user '-16394'"},
      {"run 401 " + db + "--user nobody", kExitUsage, "unknown user 'nobody'"},
      {"run 401 " + db + "--user ''", kExitUsage, "--user needs a user name or id"},
  });
  // Refused while the command line is read, with the parser's hint on a second line.
  for (const std::string& args : {std::string("run 401 --db ''"), "run 401 " + db + "--dialog --no-dialog"}) {
    const auto r = runCli(args);
    EXPECT_EQ(r.code, kExitUsage) << args;
    EXPECT_TRUE(r.err.find("needs a file name") != std::string::npos || r.err.find("excludes") != std::string::npos) << r.err;
  }
  for (const std::string good : {"run 401 -q --user 16394", "run 499 -q --set BLevel=2 --set ELevel=5",
                                 "run 400 -q --set \"BItemNumber='; DROP TABLE ICMO; --\""}) {
    const auto r = runCli(good + " " + db + "--format csv");
    EXPECT_EQ(r.code, kExitOk) << good << "\n" << r.err;
  }
}

TEST(FilterCheck, SchemesHoldWhatTheySayAndBadOnesAreRefused) {
  TempDir dir("schemes");
  const auto copy = dir.path / "co.db";
  fs::copy_file(support::demoDatabase(), copy);
  const std::string db = "--db '" + copy.string() + "' ";
  // Keys not given take the report's defaults, so the scheme reproduces the same --set run.
  ASSERT_EQ(runCli("schemes save 401 g " + db + "--set GroupBy=1").code, kExitOk);
  const auto byScheme = runCli("run 401 " + db + "-q --scheme g --format csv");
  const auto bySet = runCli("run 401 " + db + "-q --set GroupBy=1 --format csv");
  EXPECT_EQ(byScheme.code, kExitOk) << byScheme.err;
  EXPECT_GT(apptest::lineCount(bySet.out), 2u);
  EXPECT_EQ(byScheme.out, bySet.out);
  EXPECT_EQ(runCli("schemes save 499 h " + db + "--set BLevel=4 --set ELevel=2").code, kExitUsage);

  // Bad values stored in schemes, as a damaged or hand-edited database holds them.
  {
    db::Database database = db::Database::open(copy.string());
    const auto store = [&](int report, const std::string& name, std::vector<std::pair<std::string, std::string>> values) {
      auto filter = lumo::newDictionary();
      for (auto& [key, value] : values) filter->SetValue(key, value);
      db::Statement insert = database.prepare(
          "INSERT INTO t_RptFilterScheme (FRptID, FUserID, FName, FContent, FModifyTime) VALUES (?1, 16394, ?2, ?3, '2026-01-01')");
      insert.bindAll(report, name, grfc::encodeFilter(*filter));
      insert.run();
    };
    store(401, "dates", {{"BDate", "2026-13-40"}, {"EDate", "zzz"}});
    store(499, "early", {{"BYear", "1"}, {"BPeriod", "1"}, {"EYear", "1"}, {"EPeriod", "2"}});
    store(499, "thirteen", {{"BYear", "2024"}, {"BPeriod", "13"}});
    store(499, "levels", {{"BLevel", "-1"}, {"ELevel", "3"}});
    database.exec("INSERT INTO t_RptFilterScheme (FRptID, FUserID, FName, FContent, FModifyTime) "
                  "VALUES (401, 16394, 'Torn', 'TAVF1{2;5:BDates1', '2026-01-01')");
  }
  expectCases({
      {"run 401 " + db + "--scheme dates", kExitUsage, "filter scheme 'dates' of Rpt401: filter key BDate: '2026-13-40'"},
      {"run 499 " + db + "--scheme early", kExitUsage, "filter scheme 'early' of Rpt499: filter key BYear"},
      {"run 499 " + db + "--scheme thirteen", kExitUsage, "filter scheme 'thirteen' of Rpt499: filter key BPeriod"},
      {"run 499 " + db + "--scheme levels", kExitUsage, "filter scheme 'levels' of Rpt499: filter key BLevel"},
      {"run 401 " + db + "--scheme torn", kExitUsage, "filter scheme 'Torn' of Rpt401 cannot be read back"},
      {"schemes show 401 torn " + db, kExitUsage, "filter scheme 'Torn' of Rpt401 cannot be read back"},
  });
  // A scheme that cannot be read back can still be deleted.
  const auto deleted = runCli("schemes delete 401 torn " + db);
  EXPECT_EQ(deleted.code, kExitOk) << deleted.err;
  EXPECT_NE(deleted.out.find("deleted scheme 'Torn'"), std::string::npos) << deleted.out;
}

TEST(FilterCheck, ADatabaseAnotherWriterHoldsIsNotCalledDamaged) {
  TempDir dir("locked");
  const auto copy = dir.path / "co.db";
  fs::copy_file(support::demoDatabase(), copy);
  db::Database writer = db::Database::open(copy.string());
  writer.exec("BEGIN EXCLUSIVE; DELETE FROM t_RptFilterScheme");
  const std::string db = "--db '" + copy.string() + "' ";
  expectCases({
      {"run 401 " + db + "--format csv", kExitReportFailed, "已锁定"},
      {"schemes save 401 g " + db, kExitOutput, "已锁定"},
  }, false);
  writer.exec("ROLLBACK");
}

TEST(FilterCheck, DamagedDatabasesAndSettingsAreExitFive) {
  TempDir dir("damaged");
  const auto damaged = [&](const std::string& name, const std::string& sql) {
    const auto copy = dir.path / (name + ".db");
    fs::copy_file(support::demoDatabase(), copy);
    db::Database::open(copy.string()).exec(sql);
    return "--db '" + copy.string() + "' ";
  };
  // The production task table's root page overwritten: the report reads a damaged page.
  const auto damagedPage = [&](const std::string& name) {
    const auto copy = dir.path / (name + ".db");
    fs::copy_file(support::demoDatabase(), copy);
    int64_t root = 0, pageSize = 0;
    {
      db::Database database = db::Database::open(copy.string());
      root = database.queryInt("SELECT rootpage FROM sqlite_schema WHERE name = 'ICMO'");
      pageSize = database.queryInt("PRAGMA page_size");
    }
    std::fstream file(copy, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp((root - 1) * pageSize);
    file << std::string(64, '\x7f');
    return "--db '" + copy.string() + "' ";
  };
  expectCases({
      {"run 499 " + damaged("count", "UPDATE t_SystemProfile SET FValue='x' WHERE FKey='PeriodCount'"), kExitDatabase,
       "GL/PeriodCount"},
      {"run 499 " + damaged("nocount", "DELETE FROM t_SystemProfile WHERE FKey='PeriodCount'"), kExitDatabase,
       "GL/PeriodCount"},
      {"run 499 " + damaged("zero", "UPDATE t_SystemProfile SET FValue='0' WHERE FKey='PeriodCount'"), kExitDatabase,
       "GL/PeriodCount"},
      {"run 499 " + damaged("year", "UPDATE t_SystemProfile SET FValue='99999' WHERE FKey='CurrentYear'"), kExitDatabase,
       "IC/CurrentYear"},
      {"run 401 " + damaged("icmo", "PRAGMA foreign_keys=OFF; DROP TABLE ICMO"), kExitDatabase, "ICMO"},
      {"run 401 " + damaged("column", "ALTER TABLE ICMO DROP COLUMN FQtyFinish"), kExitDatabase, "FQtyFinish"},
      {"schemes list " + damaged("schemes", "DROP TABLE t_RptFilterScheme"), kExitDatabase, "t_RptFilterScheme"},
      {"run 401 " + damagedPage("page"), kExitDatabase, "已损坏"},
      {"run 401 " + damaged("version", "PRAGMA user_version = 1"), kExitDatabase, "cannot use database"},
  }, false);
}

}  // namespace
}  // namespace app
