// A headless form: a named window with a caption and its controls in display order. How a modal
// form is presented is the current front end's affair (forms/front_end.h).
//
// Subclasses add their controls in the constructor (the design) and answer the form's events
// through the virtual handlers. Forms meant to be released by their own handlers while shown
// (the progress window) must be owned by a std::shared_ptr: Show keeps such a form alive until
// it returns.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/core/error.h"
#include "platform/core/object.h"
#include "platform/forms/control.h"

namespace forms {

class Form : public plat::Object, public std::enable_shared_from_this<Form> {
 public:
  explicit Form(std::string name);
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  const std::string& FontName() const { return fontName_; }
  void SetFontName(std::string fontName) { fontName_ = std::move(fontName); }

  // --- controls ---
  // Adds a control of kind T at the end of the display order, inside the frame opened by
  // beginFrame if any. Raises when a control with that name and index exists already.
  template <class T>
    requires std::is_base_of_v<Control, T> && std::is_default_constructible_v<T>
  T& add(std::string name, int index = -1) {
    auto control = std::make_unique<T>();
    T& ref = *control;
    place(std::move(control), std::move(name), index);
    return ref;
  }
  // The control of that name (compared without regard to case) and index, as a T. Raises a
  // plat::Error naming the control when it is absent or of another kind.
  template <class T>
    requires std::is_base_of_v<Control, T>
  T& get(std::string_view name, int index = -1) const {
    Control& found = require(name, index);
    if (auto* typed = dynamic_cast<T*>(&found)) return *typed;
    if constexpr (requires { T::kKind; })
      throw wrongKind(found, kindName(T::kKind));
    else
      throw wrongKind(found, "the requested kind");
  }
  Control* find(std::string_view name, int index = -1) const;
  // Every control in display order (frames included).
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

  // Adds a frame and places the controls added after it inside it, until endFrame. Frames nest.
  Frame& beginFrame(std::string name, std::string caption);
  void endFrame();

  // --- lifecycle ---
  // Loads the form once: runs onLoad. An error in onLoad leaves the form unloaded.
  void Load();
  // Shows the form modally: loads it if needed, makes it visible and lets the front end run it.
  // Returns when the form has been hidden or unloaded. Raises plat::Error 400 when the form is
  // already shown.
  void Show();
  void Hide() { visible_ = false; }
  // Runs onUnload, hides the form and ends its loaded life; a later Show loads it again.
  void Unload();
  // Runs onActivate, then each control's activation hook while the form stays loaded.
  void Activate();
  bool loaded() const { return loaded_; }
  bool visible() const { return visible_; }
  bool showing() const { return showing_; }  // inside Show

  // --- size, in character cells; the renderer decides and tells the form ---
  int Width() const { return width_; }
  int Height() const { return height_; }
  void Resize(int width, int height);

 protected:
  virtual void onLoad() {}
  virtual void onActivate() {}
  virtual void onUnload() {}
  virtual void onResize() {}

 private:
  void place(std::unique_ptr<Control> control, std::string name, int index);
  Control& require(std::string_view name, int index) const;
  plat::Error wrongKind(const Control& found, std::string_view wanted) const;

  std::string name_;
  std::string caption_;
  std::string fontName_ = "宋体";
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<Frame*> openFrames_;
  bool loaded_ = false;
  bool visible_ = false;
  bool showing_ = false;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace forms
