// The interactive filter dialog driven like a user at a terminal: tmux runs the program, keys
// are sent to it and the screen is read back.
#include <gtest/gtest.h>

#include "app/catalog.h"
#include "app/exit_codes.h"
#include "cli_support.h"
#include "support/demo_company.h"
#include "tmux_support.h"

namespace app {
namespace {

using apptest::TempDir;
using apptest::Tmux;

TEST(TerminalDialog, TypedProductRangeNarrowsTheGridAndCancelPrintsNothing) {
  if (!Tmux::available()) GTEST_SKIP() << "tmux is not installed";
  const std::vector<int> boxes = apptest::focusPositions("400", {{"txtItem", 2}, {"txtItem", 3}});
  const int from = boxes[0], to = boxes[1];
  ASSERT_GE(from, 0);
  ASSERT_GT(to, from);

  TempDir dir("tmux");
  std::filesystem::copy_file(support::demoDatabase(), dir.path / "demo.db");
  const std::string program = "'" + apptest::programPath().string() + "' run 400 --db demo.db --dialog";
  {
    Tmux t(dir.path, "dialog");
    t.start(program + " --width 1000 > out.txt 2> err.txt");
    ASSERT_TRUE(t.waitFor("产品代码")) << t.screen();
    EXPECT_NE(t.screen().find("确定 F10"), std::string::npos);
    t.keys("Home End Home");  // escape sequences that must not read as Esc and cancel
    t.keys(apptest::tabs(from));
    t.type("01.02");
    t.keys(apptest::tabs(to - from));
    t.type("01.03");
    t.keys("F10");
    ASSERT_EQ(t.waitExit(), kExitOk) << apptest::slurp(dir.path / "err.txt");
  }
  const std::string out = apptest::slurp(dir.path / "out.txt");
  size_t rows = 0;
  for (const std::string& code : apptest::productCodes(out)) {
    ++rows;
    EXPECT_GE(code, "01.02") << out;
    EXPECT_LE(code, "01.03") << out;
  }
  EXPECT_GT(rows, 0u) << out;
  EXPECT_NE(out.find("产品代码范围：01.02  --  01.03"), std::string::npos) << out;

  {
    Tmux t(dir.path, "cancel");
    t.start(program + " > out2.txt 2> err2.txt");
    ASSERT_TRUE(t.waitFor("产品代码")) << t.screen();
    t.keys("Escape");
    EXPECT_EQ(t.waitExit(), kExitCancelled) << t.screen() << apptest::slurp(dir.path / "err2.txt");
  }
  EXPECT_EQ(apptest::slurp(dir.path / "out2.txt"), "");
  EXPECT_EQ(apptest::slurp(dir.path / "err2.txt"), "");
}

}  // namespace
}  // namespace app
