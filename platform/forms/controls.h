// The simple input and display controls: label, text box, check box, command button, date picker.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/date.h"
#include "platform/forms/control.h"

namespace forms {

// A caption on the form. A label begins a new layout row unless it is inline (the "至:" between
// the two boxes of a range), in which case it stays on the row of the controls before it.
class Label : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::Label;
  Label() : Control(kKind) { setStartsRow(true); }

  bool isInline() const { return !startsRow(); }
  Label& setInline(bool isInline) {
    setStartsRow(!isInline);
    return *this;
  }
};

class TextBox : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::TextBox;
  TextBox() : Control(kKind) {}

  const std::string& Text() const { return text_; }
  // Raises onChange when the text differs from the current one.
  void SetText(std::string text);

  Handler onChange;

 private:
  std::string text_;
};

// A check box: 0 unchecked, 1 checked, 2 grayed.
class CheckBox : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::CheckBox;
  CheckBox() : Control(kKind) {}

  int16_t Value() const { return value_; }
  // Raises onClick when the value changes; a value outside 0..2 raises plat::Error 380.
  void SetValue(int16_t value);
  // What a user's click does: checked becomes unchecked, anything else becomes checked.
  void Click() { SetValue(value_ == 1 ? 0 : 1); }

  Handler onClick;

 private:
  int16_t value_ = 0;
};

class CommandButton : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::CommandButton;
  CommandButton() : Control(kKind) {}

  // Presses the button: raises onClick.
  void Click() {
    if (onClick) onClick();
  }

  Handler onClick;
};

// A date picker holding a calendar date; today's date until set.
class DatePicker : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::DatePicker;
  DatePicker() : Control(kKind), value_(plat::Date::today()) {}

  plat::Date Value() const { return value_; }
  // Raises onChange when the date differs from the current one.
  void SetValue(plat::Date value);

  Handler onChange;

 private:
  plat::Date value_;
};

}  // namespace forms
