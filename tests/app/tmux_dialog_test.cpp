// The interactive filter dialog driven like a user at a terminal: tmux runs the program, keys
// are sent to it and the screen is read back.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/catalog.h"
#include "app/exit_codes.h"
#include "app/session.h"
#include "app/tui/dialog_layout.h"
#include "cli_support.h"
#include "frame/report/report.h"
#include "platform/com/registry.h"
#include "platform/forms/scripted_front_end.h"
#include "platform/grfc/report_filter.h"
#include "support/demo_company.h"

namespace app {
namespace {

using apptest::TempDir;

class Tmux {
 public:
  explicit Tmux(const std::filesystem::path& dir)
      : socket_("tavapp-" + std::to_string(::getpid()) + "-" + std::to_string(++sessions_)), dir_(dir) {
    std::filesystem::remove(dir_ / "rc.txt");
  }
  ~Tmux() { tmux("kill-server"); }

  static bool available() { return std::system("command -v tmux > /dev/null 2>&1") == 0; }

  // Starts `command` in a detached 160x45 session; its exit code lands in rc.txt.
  void start(const std::string& command) {
    const std::string script = "cd '" + dir_.string() + "'; export TERM=xterm-256color LANG=C.UTF-8; " + command +
                               "; echo \\$? > rc.txt; sleep 60";
    tmux("new-session -d -s t -x 160 -y 45 \"" + script + "\"");
  }
  void keys(const std::string& keys) { tmux("send-keys -t t " + keys); }
  void type(const std::string& text) { tmux("send-keys -t t -l '" + text + "'"); }
  std::string screen() {
    tmux("capture-pane -t t -p > '" + (dir_ / "pane.txt").string() + "'");
    return apptest::slurp(dir_ / "pane.txt");
  }
  // Waits until the screen shows `text`.
  bool waitFor(const std::string& text, std::chrono::seconds limit = std::chrono::seconds(30)) {
    return until([&] { return screen().find(text) != std::string::npos; }, limit);
  }
  // Waits for the program to end; its exit code, or -1.
  int waitExit(std::chrono::seconds limit = std::chrono::seconds(60)) {
    const auto rc = dir_ / "rc.txt";
    if (!until([&] { return apptest::slurp(rc).find('\n') != std::string::npos; }, limit)) return -1;
    return std::stoi(apptest::slurp(rc));
  }

 private:
  template <class F>
  static bool until(F&& done, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }
  void tmux(const std::string& args) { (void)std::system(("tmux -L " + socket_ + " " + args + " 2>/dev/null").c_str()); }

  static inline int sessions_ = 0;
  std::string socket_;
  std::filesystem::path dir_;
};

// Where the product code boxes sit in the detail report dialog's focus order.
std::pair<int, int> productBoxPositions() {
  support::loginDemo();
  registerClasses();
  auto fe = std::make_shared<forms::ScriptedFrontEnd>();
  forms::FrontEndScope scope(fe);
  std::pair<int, int> at{-1, -1};
  fe->onShow("frmFilter400", [&](forms::Form& form) {
    at = {tui::focusPosition(form, "txtItem", 2), tui::focusPosition(form, "txtItem", 3)};
    grfc::ReportFilter::of(form).Cancel();
  });
  auto report = plat::broker().CreateAs<frame::Report>("TavShopRpt.Rpt400");
  report->ShowFilter();
  return at;
}

std::string tabs(int n) {
  std::string keys;
  for (int i = 0; i < n; ++i) keys += " Tab";
  return keys;
}

TEST(TerminalDialog, TypedProductRangeNarrowsTheGridAndCancelPrintsNothing) {
  if (!Tmux::available()) GTEST_SKIP() << "tmux is not installed";
  const auto [from, to] = productBoxPositions();
  ASSERT_GE(from, 0);
  ASSERT_GT(to, from);

  TempDir dir("tmux");
  std::filesystem::copy_file(support::demoDatabase(), dir.path / "demo.db");
  const std::string program = "'" + apptest::programPath().string() + "' run 400 --db demo.db --dialog";
  {
    Tmux t(dir.path);
    t.start(program + " --width 1000 > out.txt 2> err.txt");
    ASSERT_TRUE(t.waitFor("产品代码")) << t.screen();
    EXPECT_NE(t.screen().find("确定 F10"), std::string::npos);
    t.keys(tabs(from));
    t.type("01.02");
    t.keys(tabs(to - from));
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
    Tmux t(dir.path);
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
