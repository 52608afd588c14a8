// A place on a form for an outside control object (the report filter grid, the list control), so
// that the form keeps it with its other controls and a renderer can find and drive it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/core/error.h"
#include "platform/core/object.h"
#include "platform/forms/control.h"

namespace forms {

class HostedControl;

// What an outside control implements to learn where it sits and when its form activates.
// Objects that are not HostedObjects can be hosted too; they simply hear nothing.
class HostedObject : public plat::Object {
 public:
  // Called once when the object is placed on `site`, a control of `form`.
  virtual void attached(Form& form, HostedControl& site) {
    (void)form;
    (void)site;
  }
  // Called each time the form is activated.
  virtual void formActivated() {}
};

class HostedControl : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::Hosted;
  HostedControl() : Control(kKind) { setStartsRow(true); }

  // Creates the object through the broker by class name and hosts it; raises the broker's
  // error when the class is unknown.
  plat::ObjectRef create(std::string_view className);
  // Hosts an object made elsewhere; `className` tells a renderer what it is.
  void attach(plat::ObjectRef object, std::string className);

  const std::string& className() const { return className_; }
  const plat::ObjectRef& object() const { return object_; }
  // The hosted object as T; raises an error naming the control when it is absent or not a T.
  template <class T>
  T& as() const {
    auto* p = dynamic_cast<T*>(object_.get());
    if (!p) throw wrongObject();
    return *p;
  }

  void onFormActivate() override;

 private:
  plat::Error wrongObject() const;
  std::string className_;
  plat::ObjectRef object_;
};

}  // namespace forms
