// The bill-number lookup of the detail report's dialog at a terminal: the journal window opens
// on F7, narrows as a number is typed, and the bill picked with Enter lands in the box.
#include <gtest/gtest.h>

#include "app/exit_codes.h"
#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "support/demo_company.h"
#include "tmux_support.h"

namespace app {
namespace {

std::vector<std::string> taskNumbersHolding(const std::string& part) {
  db::Database check = db::Database::open(support::demoDatabase());
  db::Statement select = check.prepare(
      "SELECT FBillNo FROM ICMO WHERE instr(FBillNo, ?1) > 0 ORDER BY FDate DESC, FInterID DESC");
  select.bind(1, part);
  std::vector<std::string> out;
  while (select.step()) out.push_back(select.getText(0));
  return out;
}

TEST(TerminalBillLookup, TypedPartNarrowsTheJournalAndThePickedBillFillsTheBox) {
  if (!apptest::Tmux::available()) GTEST_SKIP() << "tmux is not installed";
  const int box = apptest::focusPositions("400", {{"txtItem", 8}})[0];
  ASSERT_GE(box, 0);
  const auto matching = taskNumbersHolding("WORK00012");
  ASSERT_EQ(matching.size(), 10u);
  const std::string newest = taskNumbersHolding("WORK").front();

  apptest::TempDir dir("tmux-list");
  std::filesystem::copy_file(support::demoDatabase(), dir.path / "demo.db");
  apptest::Tmux t(dir.path, "list");
  t.start("'" + apptest::programPath().string() + "' run 400 --db demo.db --dialog > out.txt 2> err.txt");
  ASSERT_TRUE(t.waitFor("任务单编号")) << t.screen();
  t.keys(apptest::tabs(box));
  t.keys("F7");
  ASSERT_TRUE(t.waitFor("生产任务单序时簿")) << t.screen();
  EXPECT_TRUE(t.waitFor(newest)) << t.screen();  // the whole journal, newest first
  EXPECT_NE(t.screen().find("单据编号"), std::string::npos);

  t.type("WORK00012");
  ASSERT_TRUE(t.waitFor("查找单据编号: WORK00012_")) << t.screen();
  ASSERT_TRUE(t.waitGone(newest)) << t.screen();
  const std::string narrowed = t.screen();
  for (const std::string& number : matching) EXPECT_NE(narrowed.find(number), std::string::npos) << narrowed;
  EXPECT_NE(narrowed.find("共 10 行"), std::string::npos) << narrowed;

  t.keys("Down Enter");
  ASSERT_TRUE(t.waitFor("[" + matching[1])) << t.screen();  // back in the dialog, in the box
  EXPECT_EQ(t.screen().find("生产任务单序时簿"), std::string::npos);

  // Esc in the journal leaves the box as it is.
  t.keys("F7");
  ASSERT_TRUE(t.waitFor("生产任务单序时簿")) << t.screen();
  t.keys("Escape");
  ASSERT_TRUE(t.waitGone("生产任务单序时簿")) << t.screen();
  EXPECT_NE(t.screen().find("[" + matching[1]), std::string::npos) << t.screen();

  t.keys("Escape");
  EXPECT_EQ(t.waitExit(), kExitCancelled) << apptest::slurp(dir.path / "err.txt");
  EXPECT_EQ(apptest::slurp(dir.path / "err.txt"), "");
}

}  // namespace
}  // namespace app
