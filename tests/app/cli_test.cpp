// The program as a script uses it: exit codes, one clear line on stderr, --scheme, drill-down
// and output files. What --set selects, the terminal dialog flow types into the same keys.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/exit_codes.h"
#include "cli_support.h"
#include "midtier/db/database.h"
#include "support/demo_company.h"

namespace app {
namespace {

using apptest::runCli;
using apptest::TempDir;

std::string db() { return "--db '" + support::demoDatabase() + "' "; }

using apptest::productCodes;

TEST(Cli, BadInputGivesOneLineAndItsExitCode) {
  TempDir dir("bad");
  std::ofstream(dir.path / "corrupt.db") << std::string(4096, 'x');
  struct Case {
    std::string args;
    int code;
    std::string says;
  };
  const std::vector<Case> cases = {
      {"run 999 " + db(), kExitUsage, "unknown report '999'"},
      {"run Rpt401 " + db() + "--set Colour=red", kExitUsage, "unknown filter key 'Colour' for Rpt401"},
      {"run 401 " + db() + "--set BDate=2024-02-30", kExitUsage, "malformed date for filter key BDate: '2024-02-30'"},
      {"run 410 " + db() + "--set BWorkDate=24-1-1", kExitUsage, "malformed date for filter key BWorkDate"},
      {"run 401 " + db() + "--set GroupBy=yes", kExitUsage, "bad value for filter key GroupBy"},
      {"run 401 --db '" + (dir.path / "none.db").string() + "'", kExitDatabase, "database not found"},
      {"run 401 --db '" + (dir.path / "corrupt.db").string() + "'", kExitDatabase, "cannot use database"},
      {"run 401 " + db() + "--format pdf", kExitUsage, "unknown format 'pdf'"},
      {"run 401 " + db() + "--scheme 没有的方案", kExitUsage, "no filter scheme '没有的方案' for Rpt401"},
      {"run 401 " + db() + "--drill 100000", kExitUsage, "out of range"},
      {"frobnicate", kExitUsage, ""},
  };
  for (const Case& c : cases) {
    const auto r = runCli(c.args);
    EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.err;
    EXPECT_EQ(r.out, "") << c.args;
    if (c.says.empty()) continue;
    EXPECT_EQ(apptest::lineCount(r.err), 1u) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << "\n" << r.err;
  }
}

TEST(Cli, ReportEndingNotOkShowsItsErrorAndWritesNoOutput) {
  TempDir dir("notok");
  const auto broken = dir.path / "broken.db";
  std::filesystem::copy_file(support::demoDatabase(), broken);
  // The production task table gone: the data service fails, the report ends "OK" false, and the
  // program says the database is incomplete.
  db::Database::open(broken.string()).exec("PRAGMA foreign_keys=OFF; DROP TABLE ICMO");
  const auto out = dir.path / "r.csv";
  std::ofstream(out) << "previous";
  const auto r = runCli("run 401 --db '" + broken.string() + "' --format csv --out '" + out.string() + "'");
  EXPECT_EQ(r.code, kExitDatabase) << r.err;
  EXPECT_EQ(apptest::lineCount(r.err), 1u) << r.err;
  EXPECT_NE(r.err.find("ICMO"), std::string::npos) << r.err;
  EXPECT_EQ(apptest::slurp(out), "previous");
  const auto missing = dir.path / "new.xlsx";
  EXPECT_EQ(runCli("run 401 " + db() + "--set Colour=1 --format xlsx --out '" + missing.string() + "'").code, kExitUsage);
  EXPECT_FALSE(std::filesystem::exists(missing));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 2);  // no temporary left behind
}

TEST(Cli, SavedSchemeRunsTheReportWithItsFilter) {
  TempDir dir("scheme");
  const auto copy = dir.path / "demo.db";
  std::filesystem::copy_file(support::demoDatabase(), copy);
  const std::string at = "--db '" + copy.string() + "' ";
  const auto saved = runCli("schemes save 401 一级汇总 " + at + "--set GroupBy=1 --set BLevel=1 --set ELevel=1 --set OnlyShowSum=1 "
                                                              "--set BDate=2000-01-01 --set EDate=2100-01-01");
  ASSERT_EQ(saved.code, 0) << saved.err;
  const auto listed = runCli("schemes list 401 " + at);
  EXPECT_EQ(listed.out, "Rpt401\t一级汇总\n");
  const auto shown = runCli("schemes show 401 一级汇总 " + at);
  EXPECT_NE(shown.out.find("ELevel = 1"), std::string::npos) << shown.out;
  const auto r = runCli("run 401 " + at + "--scheme 一级汇总 --format csv");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("1级产品类别,"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("2级产品类别"), std::string::npos);
  EXPECT_EQ(r.out.find(",01."), std::string::npos) << "only subtotal and total rows: " << r.out;
  EXPECT_NE(r.out.find("合计"), std::string::npos);
  EXPECT_EQ(runCli("schemes delete 401 一级汇总 " + at).code, 0);
  // What remains is the filter the run accepted, kept as the last-used one.
  EXPECT_EQ(runCli("schemes list 401 " + at).out, "Rpt401\t上次使用\n");
}

TEST(Cli, DrillShowsTheDetailReportOrSaysThereIsNone) {
  const auto summary = runCli("run 401 " + db() + "--format csv");
  ASSERT_EQ(summary.code, 0) << summary.err;
  // Row 1 is a detail row of the plain summary; its last row is the total.
  const auto firstCodes = productCodes(summary.out);
  ASSERT_FALSE(firstCodes.empty());
  const auto detail = runCli("run 401 " + db() + "--drill 1 --format csv");
  ASSERT_EQ(detail.code, 0) << detail.err;
  EXPECT_NE(detail.out.find("生产数量/单位"), std::string::npos) << "the detail report's columns";
  for (const std::string& code : productCodes(detail.out)) EXPECT_EQ(code, firstCodes.front());
  const size_t rows = apptest::lineCount(summary.out) - 1;
  const auto total = runCli("run 401 " + db() + "--drill " + std::to_string(rows));
  EXPECT_EQ(total.code, kExitNoDetail);
  EXPECT_EQ(total.out, "");
  EXPECT_NE(total.err.find("has no detail"), std::string::npos) << total.err;
}

TEST(Cli, ListAndHelp) {
  const auto list = runCli("list");
  EXPECT_EQ(list.code, 0);
  EXPECT_NE(list.out.find("TavShopRpt.Rpt499   499     产品成本综合表"), std::string::npos) << list.out;
  EXPECT_EQ(apptest::lineCount(list.out), 7u);
  for (const char* command : {"demo", "init", "generate", "list", "keys", "run", "schemes"}) {
    const auto help = runCli(std::string(command) + " --help");
    EXPECT_EQ(help.code, 0) << command;
    EXPECT_NE(help.out.find("--help"), std::string::npos) << command;
  }
}

// Each key with its type, default, allowed values and meaning, as the report's table gives them.
TEST(Cli, KeysExplainEachFilterKey) {
  const auto summary = runCli("keys 401");
  EXPECT_EQ(summary.code, 0) << summary.err;
  for (const char* line : {"  CheckState        whole number 0..2   default 2           bill state (单据状态)\n"
                           "                    values: 0 已审核, 1 未审核, 2 全部\n",
                           "  BDate             date YYYY-MM-DD     default 1900-01-01  task date from\n",
                           "  ItemClassNumber   text                default not set     product class number (Mode=1)\n"})
    EXPECT_NE(summary.out.find(line), std::string::npos) << summary.out;
  const auto overdue = runCli("keys Rpt410");
  EXPECT_NE(overdue.out.find("values: 0 全部, 1 已审核, 2 未审核"), std::string::npos) << overdue.out;
  const auto cost = runCli("keys 499");
  EXPECT_NE(cost.out.find("default current year"), std::string::npos) << cost.out;
  const auto unknown = runCli("keys 402");
  EXPECT_EQ(unknown.code, kExitUsage);
  EXPECT_EQ(unknown.err, "tavshoprpt: unknown report '402' (see: tavshoprpt list)\n");
}

}  // namespace
}  // namespace app
