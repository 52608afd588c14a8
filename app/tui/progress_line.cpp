// Painting the progress window on stderr.
#include "app/tui/progress_line.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>

#include "app/table/text_width.h"
#include "app/terminal_env.h"
#include "platform/forms/form.h"
#include "platform/forms/status_controls.h"

namespace app {
namespace {

size_t terminalWidth(std::FILE* out) {
  winsize size{};
  if (::ioctl(::fileno(out), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

}  // namespace

bool isProgressWindow(const forms::Form& form) {
  bool bar = false;
  for (const auto& c : form.controls()) {
    switch (c->kind()) {
      case forms::ControlKind::ProgressBar: bar = true; break;
      case forms::ControlKind::Label:
      case forms::ControlKind::Animation:
      case forms::ControlKind::Frame: break;
      default: return false;
    }
  }
  return bar;
}

std::string ProgressLine::render(const std::string& message, double fraction, bool barShown, size_t width) {
  std::string line = message;
  if (barShown) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    constexpr size_t kBar = 24;
    const auto filled = static_cast<size_t>(fraction * kBar + 0.5);
    line += " [" + std::string(filled, '#') + std::string(kBar - filled, '.') + "] " +
            std::to_string(static_cast<int>(fraction * 100 + 0.5)) + "%";
  }
  if (width > 1 && displayWidth(line) > width - 1) line = std::string(fitPrefix(line, width - 1));
  return line;
}

std::string ProgressLine::renderOverall(const std::string& message, double fraction, bool barShown,
                                        const PeriodSpan& span, size_t width) {
  const std::optional<PeriodStep> step = periodStepOf(message, span);
  if (!step) return render(message, fraction, barShown, width);
  const double within = barShown ? std::clamp(fraction, 0.0, 1.0) : 0.0;
  const double overall = (step->index - 1 + within) / step->count;
  return render(message + " 期间 " + std::to_string(step->index) + "/" + std::to_string(step->count), overall, true,
                width);
}

void ProgressLine::begin(const forms::Form& window) {
  window_ = &window;
  rows_ = 0;
  last_.clear();
  paint();
}

void ProgressLine::paint() {
  if (!window_ || !enabled_) return;
  std::string message;
  const forms::ProgressBar* bar = nullptr;
  for (const auto& c : window_->controls()) {
    if (c->kind() == forms::ControlKind::Label && message.empty()) message = c->Caption();
    if (c->kind() == forms::ControlKind::ProgressBar && !bar) bar = static_cast<const forms::ProgressBar*>(c.get());
  }
  if (rows_ > 0) message += " 已读取 " + std::to_string(rows_) + " 行";
  const bool shown = bar && bar->Visible();
  const double fraction = bar && bar->Max() > bar->Min() ? (bar->Value() - bar->Min()) / (bar->Max() - bar->Min()) : 0;
  const std::string line = periods_ ? renderOverall(message, fraction, shown, *periods_, terminalWidth(out_))
                                    : render(message, fraction, shown, terminalWidth(out_));
  if (line == last_) return;
  const auto now = std::chrono::steady_clock::now();
  const bool sameMessage = !last_.empty() && last_.compare(0, message.size(), message) == 0;
  if (sameMessage && now - lastPaint_ < std::chrono::milliseconds(50)) return;
  const size_t before = displayWidth(last_);
  last_ = line;
  lastPaint_ = now;
  std::fputs((clearing(before) + line).c_str(), out_);
  std::fflush(out_);
}

std::string ProgressLine::clearing(size_t cells) const {
  // Without escape sequences the old line is overwritten with blanks.
  if (escapesAllowed()) return "\r\x1b[K";
  return "\r" + std::string(cells, ' ') + "\r";
}

void ProgressLine::clearLine() {
  if (enabled_ && !last_.empty()) {
    std::fputs(clearing(displayWidth(last_)).c_str(), out_);
    std::fflush(out_);
  }
  last_.clear();
}

void ProgressLine::end() {
  if (window_ && enabled_ && !last_.empty()) {
    std::fputs(clearing(displayWidth(last_)).c_str(), out_);
    std::fflush(out_);
  }
  window_ = nullptr;
  rows_ = 0;
  last_.clear();
}

}  // namespace app
