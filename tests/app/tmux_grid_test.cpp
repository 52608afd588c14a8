// The result grid at a terminal, in one flow: scrolling to the total row, folding to one level
// and a single group, searching, rerunning and exporting. Drilling into a detail report and back
// is the browser flow's and the command line's (--drill).
#include <gtest/gtest.h>

#include <regex>

#include "app/exit_codes.h"
#include "support/demo_company.h"
#include "tmux_support.h"

namespace app {
namespace {

using apptest::TempDir;
using apptest::Tmux;

// The status line's "第 X 行，共 N 行" as (X, N); (0, 0) when it is not on screen.
std::pair<long, long> position(const std::string& screen) {
  std::smatch m;
  if (!std::regex_search(screen, m, std::regex("第 (\\d+) 行，共 (\\d+) 行"))) return {0, 0};
  return {std::stol(m[1]), std::stol(m[2])};
}

std::string program(const std::string& args) {
  return "'" + apptest::programPath().string() + "' " + args + " 2> err.txt";
}

struct GridRun {
  TempDir dir{"grid"};
  GridRun() { std::filesystem::copy_file(support::demoDatabase(), dir.path / "demo.db"); }
};

TEST(TerminalGrid, ScrollsFoldsSearchesRerunsExportsAndQuits) {
  if (!Tmux::available()) GTEST_SKIP() << "tmux is not installed";
  GridRun run;
  Tmux t(run.dir.path, "grid");
  t.start(program("run 401 --db demo.db --set GroupBy=1 --set SumMode=1 --set BLevel=1 --set ELevel=2"
                  " --set BDate=2025-03-01"));
  ASSERT_TRUE(t.waitFor("第 1 行，共")) << t.screen();
  const std::string first = t.screen();
  EXPECT_NE(first.find("生产任务执行情况汇总表"), std::string::npos) << first;
  EXPECT_NE(first.find("1级产品类别"), std::string::npos) << first;
  const long rows = position(first).second;
  ASSERT_GT(rows, 3);

  // End: the last row is the total, and the status says so.
  t.keys("End");
  ASSERT_TRUE(t.waitFor("第 " + std::to_string(rows) + " 行，共")) << t.screen();
  EXPECT_NE(t.screen().find("合计"), std::string::npos) << t.screen();

  // Level 1 leaves the level-1 subtotals and the total: no product codes on screen.
  t.keys("1");
  ASSERT_TRUE(t.waitFor("（显示 ")) << t.screen();
  std::string folded = t.screen();
  EXPECT_TRUE(apptest::productCodes(folded).empty()) << folded;
  EXPECT_NE(folded.find("(小计)"), std::string::npos) << folded;
  EXPECT_EQ(position(folded).first, rows) << folded;  // the cursor stayed on the total row

  // Unfolding everything brings the products back; then one group folds on its own.
  t.keys("0");
  ASSERT_TRUE(t.waitGone("（显示 ")) << t.screen();
  t.keys("Home");
  ASSERT_TRUE(t.waitFor("第 1 行，共")) << t.screen();
  t.type("/");
  t.type("(小计)");
  t.keys("Enter");
  ASSERT_TRUE(t.waitGone("第 1 行，共")) << t.screen();
  const long subtotal = position(t.screen()).first;
  ASSERT_GT(subtotal, 1) << t.screen();
  t.keys("Enter");
  ASSERT_TRUE(t.waitFor("（显示 ")) << t.screen();
  EXPECT_EQ(position(t.screen()).first, subtotal) << t.screen();
  t.keys("Enter");
  ASSERT_TRUE(t.waitGone("（显示 ")) << t.screen();

  // F2: the dialog opens with the values of the result on screen, not the dialog's own defaults.
  t.keys("F2");
  ASSERT_TRUE(t.waitFor("[2025-03-01]")) << t.screen();
  t.keys("F10");
  ASSERT_TRUE(t.waitFor("第 1 行，共")) << t.screen();
  EXPECT_NE(t.screen().find("起始日期：2025-03-01"), std::string::npos) << t.screen();
  EXPECT_EQ(position(t.screen()).second, rows) << t.screen();

  // F4: CSV is proposed; F10 accepts as the OK button does and writes every row.
  t.keys("F4");
  ASSERT_TRUE(t.waitFor("格式:")) << t.screen();
  t.keys("F10");
  ASSERT_TRUE(t.waitFor("已导出 " + std::to_string(rows) + " 行")) << t.screen();
  const std::string csv = apptest::slurp(run.dir.path / "生产任务执行情况汇总表.csv");
  size_t lines = 0;
  for (size_t at = csv.find("\r\n"); at != std::string::npos; at = csv.find("\r\n", at + 2)) ++lines;
  EXPECT_EQ(lines, static_cast<size_t>(rows) + 1) << csv.substr(0, 300);

  t.keys("q");
  EXPECT_EQ(t.waitExit(), kExitOk) << apptest::slurp(run.dir.path / "err.txt");
}

}  // namespace
}  // namespace app
