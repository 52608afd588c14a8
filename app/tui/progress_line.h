// The progress window as one live line on stderr: its message and a bar, repainted whenever the
// component lets pending window messages run, and cleared when the window closes.
#pragma once

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "app/tui/period_progress.h"

namespace forms {
class Form;
}

namespace app {

// True for a form that only reports progress (a progress bar and labels, nothing to type in).
bool isProgressWindow(const forms::Form& form);

class ProgressLine {
 public:
  // `enabled` false paints nothing (stderr is not a terminal, or --quiet).
  ProgressLine(std::FILE* out, bool enabled) : out_(out), enabled_(enabled) {}

  // For a report read period by period: the bar then runs once over the whole range, the
  // period being read counted in the line ("期间 3/12"). Nothing: each window's own bar.
  void setPeriods(std::optional<PeriodSpan> span) { periods_ = span; }

  // Rows a long read has read so far, shown after the message until the window closes.
  void setRows(long rows) {
    rows_ = rows;
    paint();
  }

  void begin(const forms::Form& window);
  // Repaints when the message or the bar changed; the bar at most every 50 ms.
  void paint();
  void end();
  // Clears the line for other output (a message); the next paint draws it again.
  void clearLine();
  bool active() const { return window_ != nullptr; }

  // The line for a message and a bar position (0..1), `width` cells wide at most; without
  // a bar (hidden) only the message.
  static std::string render(const std::string& message, double fraction, bool barShown, size_t width);
  // The message and bar over a whole period range: the period a message names counts as done
  // up to `fraction` of it. Unchanged when the message names no period of `span`.
  static std::string renderOverall(const std::string& message, double fraction, bool barShown, const PeriodSpan& span,
                                   size_t width);

 private:
  // What takes the cursor back over a line of `cells` cells and clears it.
  std::string clearing(size_t cells) const;

  std::FILE* out_;
  bool enabled_;
  const forms::Form* window_ = nullptr;
  std::optional<PeriodSpan> periods_;
  long rows_ = 0;
  std::string last_;
  std::chrono::steady_clock::time_point lastPaint_{};
};

}  // namespace app
