// An up-down control: steps a whole number between a lowest and a highest value and writes it
// into its buddy text box.
#pragma once

#include <cstdint>

#include "platform/forms/control.h"
#include "platform/forms/controls.h"

namespace forms {

class UpDown : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::UpDown;
  UpDown() : Control(kKind) {}

  int32_t Min() const { return min_; }
  int32_t Max() const { return max_; }
  int32_t Increment() const { return increment_; }
  // Sets the bounds and the step together; the value is brought inside the new bounds.
  // REQUIRES: min <= max and increment > 0; raises plat::Error 380 otherwise.
  void SetRange(int32_t min, int32_t max, int32_t increment = 1);

  TextBox* buddy() const { return buddy_; }
  // The text box the control steps; its text is left as it is until the value is set or stepped.
  void SetBuddy(TextBox& buddy);

  int32_t Value() const { return value_; }
  // REQUIRES: Min() <= value <= Max(); raises plat::Error 380 otherwise. Writes the buddy's text
  // and raises onChange when the value changes.
  void SetValue(int32_t value);

  // One step up or down from the number shown in the buddy (typing is not limited, so that
  // number may lie outside the bounds), kept within the bounds.
  void StepUp() { step(increment_); }
  void StepDown() { step(-increment_); }

  Handler onChange;

 private:
  void step(int32_t delta);

  int32_t min_ = 0;
  int32_t max_ = 10;
  int32_t increment_ = 1;
  int32_t value_ = 0;
  TextBox* buddy_ = nullptr;
};

}  // namespace forms
