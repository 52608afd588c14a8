// The base of every control on a headless form: identity, caption, state, place and layout hints.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace forms {

class Form;
class Frame;

enum class ControlKind {
  Label,
  TextBox,
  ComboBox,
  CheckBox,
  DatePicker,
  UpDown,
  Frame,
  ProgressBar,
  Animation,
  StatusBar,
  CommandButton,
  Hosted,  // an outside control object (the report filter grid, the list control)
};

// "Label", "TextBox", ... as a renderer or an error message names the kind.
std::string_view kindName(ControlKind kind);

// An event handler: controls raise it when their value changes or they are clicked.
using Handler = std::function<void()>;

class Control {
 public:
  explicit Control(ControlKind kind);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  int index() const { return index_; }  // control-array index; -1 when not in an array
  std::string displayName() const;      // "txtItem(3)", or just the name outside an array
  // The owning form. REQUIRES: the control was made by Form::add (always so in practice).
  Form& form() const { return *form_; }
  // The owning form's name, "" for a control on no form: the source of the control's errors.
  const std::string& formName() const;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  // Own flag and that of every frame around the control: what a user can reach or see.
  bool effectiveEnabled() const;
  bool effectiveVisible() const;

  // The frame the control sits in; nullptr when it sits on the form itself.
  Frame* frame() const { return frame_; }
  // REQUIRES: `frame` is null or a frame of the same form that does not sit inside this control.
  void setFrame(Frame* frame);

  // Layout hint: true when the control begins a new row (see forms/layout.h).
  bool startsRow() const { return startsRow_; }
  void setStartsRow(bool starts) { startsRow_ = starts; }
  // Size hints in character cells; 0 lets the renderer decide.
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetWidth(int width) { width_ = width; }
  void SetHeight(int height) { height_ = height; }

  // Called each time the owning form is activated, after the form's own handler.
  virtual void onFormActivate() {}

 private:
  friend class Form;
  ControlKind kind_;
  std::string name_;
  int index_ = -1;
  Form* form_ = nullptr;
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
  Frame* frame_ = nullptr;
  bool startsRow_ = false;
  int width_ = 0;
  int height_ = 0;
};

// A frame: a captioned box that groups the controls placed in it.
class Frame : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::Frame;
  Frame() : Control(kKind) { setStartsRow(true); }
};

}  // namespace forms
