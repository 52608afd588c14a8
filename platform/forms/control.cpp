// The control base and the simple controls' value changes.
#include "platform/forms/control.h"

#include "platform/core/error.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

namespace forms {

std::string_view kindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label: return "Label";
    case ControlKind::TextBox: return "TextBox";
    case ControlKind::ComboBox: return "ComboBox";
    case ControlKind::CheckBox: return "CheckBox";
    case ControlKind::DatePicker: return "DatePicker";
    case ControlKind::UpDown: return "UpDown";
    case ControlKind::Frame: return "Frame";
    case ControlKind::ProgressBar: return "ProgressBar";
    case ControlKind::Animation: return "Animation";
    case ControlKind::StatusBar: return "StatusBar";
    case ControlKind::CommandButton: return "CommandButton";
    case ControlKind::Hosted: return "Hosted";
  }
  return "Control";
}

Control::Control(ControlKind kind) : kind_(kind) {}

const std::string& Control::formName() const {
  static const std::string none;
  return form_ ? form_->name() : none;
}

std::string Control::displayName() const {
  return index_ < 0 ? name_ : name_ + "(" + std::to_string(index_) + ")";
}

bool Control::effectiveEnabled() const {
  for (const Control* c = this; c; c = c->frame_)
    if (!c->enabled_) return false;
  return true;
}

bool Control::effectiveVisible() const {
  for (const Control* c = this; c; c = c->frame_)
    if (!c->visible_) return false;
  return true;
}

void Control::setFrame(Frame* frame) {
  for (const Control* c = frame; c; c = c->frame_)
    if (c == this)
      throw plat::Error::invalidCall(formName(),
                                     "Control '" + displayName() + "' cannot sit inside itself");
  if (frame && form_ && frame->form_ != form_)
    throw plat::Error::invalidCall(form_->name(), "Frame '" + frame->displayName() +
                                                      "' belongs to another form than '" + displayName() + "'");
  frame_ = frame;
}

namespace {
plat::Error invalidValue(const Control& c) {
  return plat::Error(380, c.formName(), "Invalid property value for '" + c.displayName() + "'");
}
}  // namespace

void TextBox::SetText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  if (onChange) onChange();
}

void CheckBox::SetValue(int16_t value) {
  if (value < 0 || value > 2) throw invalidValue(*this);
  if (value == value_) return;
  value_ = value;
  if (onClick) onClick();
}

void DatePicker::SetValue(plat::Date value) {
  if (value == value_) return;
  value_ = value;
  if (onChange) onChange();
}

}  // namespace forms
