// Driving the tavshoprpt program like a user at a terminal: tmux runs it in a detached session,
// keys are sent to it and the screen is read back.
#pragma once

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/catalog.h"
#include "app/session.h"
#include "app/tui/dialog_layout.h"
#include "cli_support.h"
#include "frame/report/report.h"
#include "platform/com/registry.h"
#include "platform/forms/scripted_front_end.h"
#include "platform/grfc/report_filter.h"
#include "support/demo_company.h"

namespace apptest {

class Tmux {
 public:
  // `name` keeps the server of one test apart from another's.
  Tmux(const std::filesystem::path& dir, const std::string& name)
      : socket_("tav" + name + "-" + std::to_string(::getpid())), dir_(dir) {
    std::filesystem::remove(dir_ / "rc.txt");  // a session before this one in `dir` may have left it
  }
  ~Tmux() { tmux("kill-server"); }
  Tmux(const Tmux&) = delete;
  Tmux& operator=(const Tmux&) = delete;

  static bool available() { return std::system("command -v tmux > /dev/null 2>&1") == 0; }

  // Starts `command` in `dir` in a detached 160x45 session; its exit code lands in rc.txt.
  void start(const std::string& command) {
    const std::string script = "cd '" + dir_.string() + "'; export TERM=xterm-256color LANG=C.UTF-8; " + command +
                               "; echo \\$? > rc.txt; sleep 60";
    tmux("new-session -d -s t -x 160 -y 45 \"" + script + "\"");
  }
  // Keys by tmux name ("Tab", "Down", "F7", "Enter", "Escape"), separated by blanks.
  void keys(const std::string& keys) {
    if (keys.find_first_not_of(' ') != std::string::npos) tmux("send-keys -t t " + keys);
  }
  // Literal text. REQUIRES: no "'" in `text`.
  void type(const std::string& text) { tmux("send-keys -t t -l '" + text + "'"); }
  std::string screen() {
    tmux("capture-pane -t t -p > '" + (dir_ / "pane.txt").string() + "'");
    return slurp(dir_ / "pane.txt");
  }
  // Waits until the screen shows `text`.
  bool waitFor(const std::string& text, std::chrono::seconds limit = std::chrono::seconds(30)) {
    return until([&] { return screen().find(text) != std::string::npos; }, limit);
  }
  // Waits until the screen no longer shows `text`.
  bool waitGone(const std::string& text, std::chrono::seconds limit = std::chrono::seconds(30)) {
    return until([&] { return screen().find(text) == std::string::npos; }, limit);
  }
  // Waits for the program to end; its exit code, or -1.
  int waitExit(std::chrono::seconds limit = std::chrono::seconds(60)) {
    const auto rc = dir_ / "rc.txt";
    if (!until([&] { return slurp(rc).find('\n') != std::string::npos; }, limit)) return -1;
    return std::stoi(slurp(rc));
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

  std::string socket_;
  std::filesystem::path dir_;
};

struct DialogControl {
  std::string name;
  int index = -1;
};

// Where `controls` sit in the focus order of report `report`'s dialog ("400", "Rpt499"), read
// from the dialog itself on the demo company; -1 for a control it does not have.
inline std::vector<int> focusPositions(const std::string& report, const std::vector<DialogControl>& controls) {
  support::loginDemo();
  app::registerClasses();
  auto fe = std::make_shared<forms::ScriptedFrontEnd>();
  forms::FrontEndScope scope(fe);
  const app::ReportInfo& info = *app::findReport(report);
  std::vector<int> at(controls.size(), -1);
  fe->onShow("frmFilter" + std::to_string(info.number), [&](forms::Form& form) {
    for (size_t i = 0; i < controls.size(); ++i)
      at[i] = app::tui::focusPosition(form, controls[i].name, controls[i].index);
    grfc::ReportFilter::of(form).Cancel();
  });
  plat::broker().CreateAs<frame::Report>(info.className())->ShowFilter();
  return at;
}

// `n` presses of Tab, as tmux key names.
inline std::string tabs(int n) {
  std::string keys;
  for (int i = 0; i < n; ++i) keys += " Tab";
  return keys;
}

}  // namespace apptest
