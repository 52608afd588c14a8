// The form's controls and its load / show / activate / unload lifecycle.
#include "platform/forms/form.h"

#include "platform/forms/front_end.h"
#include "platform/lumo/dictionary.h"

namespace forms {

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() = default;

void Form::place(std::unique_ptr<Control> control, std::string name, int index) {
  if (find(name, index))
    throw plat::Error(360, name_, "Control '" + (index < 0 ? name : name + "(" + std::to_string(index) + ")") +
                                      "' already exists on form '" + name_ + "'");
  control->name_ = std::move(name);
  control->index_ = index < 0 ? -1 : index;
  control->form_ = this;
  control->frame_ = openFrames_.empty() ? nullptr : openFrames_.back();
  controls_.push_back(std::move(control));
}

Control* Form::find(std::string_view name, int index) const {
  if (index < 0) index = -1;
  std::string folded = lumo::foldCase(name);
  for (const auto& c : controls_)
    if (c->index_ == index && lumo::foldCase(c->name_) == folded) return c.get();
  return nullptr;
}

Control& Form::require(std::string_view name, int index) const {
  if (Control* c = find(name, index)) return *c;
  std::string shown(name);
  if (index >= 0) shown += "(" + std::to_string(index) + ")";
  throw plat::Error(730, name_, "Control '" + shown + "' not found on form '" + name_ + "'");
}

plat::Error Form::wrongKind(const Control& found, std::string_view wanted) const {
  return plat::Error::typeMismatch(name_, "Control '" + found.displayName() + "' on form '" + name_ + "' is a " +
                                              std::string(kindName(found.kind())) + ", not a " + std::string(wanted));
}

Frame& Form::beginFrame(std::string name, std::string caption) {
  Frame& frame = add<Frame>(std::move(name));
  frame.SetCaption(std::move(caption));
  openFrames_.push_back(&frame);
  return frame;
}

void Form::endFrame() {
  if (openFrames_.empty()) throw plat::Error::invalidCall(name_, "endFrame without beginFrame on form '" + name_ + "'");
  openFrames_.pop_back();
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  try {
    onLoad();
  } catch (...) {
    loaded_ = false;
    visible_ = false;
    throw;
  }
}

void Form::Show() {
  if (showing_) throw plat::Error(400, name_, "Form already displayed; can't show modally: '" + name_ + "'");
  // The form's own handlers may release the last owner (the progress window is released by
  // its report while it runs); keep it alive until the modal run is over.
  std::shared_ptr<Form> keepAlive = weak_from_this().lock();
  Load();
  if (!loaded_) return;  // onLoad unloaded it again
  std::shared_ptr<FrontEnd> frontEnd = currentFrontEnd();
  visible_ = true;
  showing_ = true;
  try {
    frontEnd->runModal(*this);
  } catch (...) {
    showing_ = false;
    visible_ = false;
    throw;
  }
  showing_ = false;
  visible_ = false;
}

void Form::Unload() {
  if (!loaded_) return;
  std::shared_ptr<Form> keepAlive = weak_from_this().lock();
  onUnload();
  visible_ = false;
  loaded_ = false;
}

void Form::Activate() {
  if (!loaded_) return;
  std::shared_ptr<Form> keepAlive = weak_from_this().lock();
  onActivate();
  // By position: a hook may add controls.
  for (size_t i = 0; i < controls_.size() && loaded_; ++i) controls_[i]->onFormActivate();
}

void Form::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  onResize();
}

}  // namespace forms
