// The up-down control's bounds, value and steps.
#include "platform/forms/up_down.h"

#include <algorithm>
#include <cmath>

#include "platform/core/error.h"
#include "platform/core/variant.h"
#include "platform/forms/form.h"

namespace forms {

void UpDown::SetRange(int32_t min, int32_t max, int32_t increment) {
  if (min > max || increment <= 0)
    throw plat::Error(380, formName(), "Invalid property value: range of '" + displayName() + "'");
  min_ = min;
  max_ = max;
  increment_ = increment;
  value_ = std::clamp(value_, min_, max_);
}

void UpDown::SetBuddy(TextBox& buddy) { buddy_ = &buddy; }

void UpDown::SetValue(int32_t value) {
  if (value < min_ || value > max_)
    throw plat::Error(380, formName(),
                      "Invalid property value: " + std::to_string(value) + " for '" + displayName() + "'");
  bool changed = value != value_;
  value_ = value;
  if (buddy_) buddy_->SetText(std::to_string(value_));
  if (changed && onChange) onChange();
}

void UpDown::step(int32_t delta) {
  double shown = buddy_ ? std::round(plat::val(buddy_->Text())) : value_;
  double next = std::clamp(shown + delta, static_cast<double>(min_), static_cast<double>(max_));
  SetValue(static_cast<int32_t>(next));
}

}  // namespace forms
