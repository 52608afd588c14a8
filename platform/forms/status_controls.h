// Display-only controls that report work in progress: progress bar, animation, status bar.
#pragma once

#include <string>
#include <vector>

#include "platform/forms/control.h"

namespace forms {

class ProgressBar : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::ProgressBar;
  ProgressBar() : Control(kKind) { setStartsRow(true); }

  double Min() const { return min_; }
  double Max() const { return max_; }
  double Value() const { return value_; }
  // REQUIRES: min < Max(); raises plat::Error 380 otherwise. The value is kept inside the range.
  void SetMin(double min);
  // REQUIRES: max > Min(); raises plat::Error 380 otherwise. The value is kept inside the range.
  void SetMax(double max);
  // REQUIRES: Min() <= value <= Max(); raises plat::Error 380 otherwise.
  void SetValue(double value);

 private:
  double min_ = 0;
  double max_ = 100;
  double value_ = 0;
};

// An animation clip; the renderer decides what, if anything, it plays.
class Animation : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::Animation;
  Animation() : Control(kKind) { setStartsRow(true); }

  const std::string& file() const { return file_; }
  void Open(std::string file) { file_ = std::move(file); }
  void Play() { playing_ = true; }
  void Stop() { playing_ = false; }
  bool playing() const { return playing_; }

 private:
  std::string file_;
  bool playing_ = false;
};

// A status bar of text panels, numbered from 1; it starts with one empty panel.
class StatusBar : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::StatusBar;
  StatusBar() : Control(kKind), panels_(1) {
    setStartsRow(true);
    SetHeight(1);
  }

  int PanelCount() const { return static_cast<int>(panels_.size()); }
  void AddPanel(std::string text = {}) { panels_.push_back(std::move(text)); }
  // REQUIRES: 1 <= panel <= PanelCount(); raises plat::Error 35600 otherwise.
  const std::string& PanelText(int panel) const;
  void SetPanelText(int panel, std::string text);

 private:
  void check(int panel) const;
  std::vector<std::string> panels_;
};

}  // namespace forms
