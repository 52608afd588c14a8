// Range checks of the progress bar and the status bar's panels.
#include "platform/forms/status_controls.h"

#include <algorithm>

#include "platform/core/error.h"
#include "platform/core/variant.h"
#include "platform/forms/form.h"

namespace forms {

namespace {
plat::Error invalid(const Control& c, const char* what, double value) {
  return plat::Error(380, c.formName(),
                     std::string("Invalid property value: ") + what + " " + plat::numberText(value) + " for '" +
                         c.displayName() + "'");
}
}  // namespace

void ProgressBar::SetMin(double min) {
  if (min >= max_) throw invalid(*this, "Min", min);
  min_ = min;
  value_ = std::clamp(value_, min_, max_);
}

void ProgressBar::SetMax(double max) {
  if (max <= min_) throw invalid(*this, "Max", max);
  max_ = max;
  value_ = std::clamp(value_, min_, max_);
}

void ProgressBar::SetValue(double value) {
  if (value < min_ || value > max_) throw invalid(*this, "Value", value);
  value_ = value;
}

void StatusBar::check(int panel) const {
  if (panel < 1 || panel > PanelCount())
    throw plat::Error(35600, formName(),
                      "Index out of bounds: panel " + std::to_string(panel) + " of '" + displayName() + "'");
}

const std::string& StatusBar::PanelText(int panel) const {
  check(panel);
  return panels_[static_cast<size_t>(panel - 1)];
}

void StatusBar::SetPanelText(int panel, std::string text) {
  check(panel);
  panels_[static_cast<size_t>(panel - 1)] = std::move(text);
}

}  // namespace forms
