// Hosting outside control objects on a form.
#include "platform/forms/hosted_control.h"

#include "platform/com/registry.h"
#include "platform/forms/form.h"

namespace forms {

plat::ObjectRef HostedControl::create(std::string_view className) {
  attach(plat::broker().Create(className), std::string(className));
  return object_;
}

void HostedControl::attach(plat::ObjectRef object, std::string className) {
  object_ = std::move(object);
  className_ = std::move(className);
  if (auto* hosted = dynamic_cast<HostedObject*>(object_.get())) hosted->attached(form(), *this);
}

void HostedControl::onFormActivate() {
  if (auto* hosted = dynamic_cast<HostedObject*>(object_.get())) hosted->formActivated();
}

plat::Error HostedControl::wrongObject() const {
  if (!object_)
    return plat::Error(91, formName(), "Control '" + displayName() + "' hosts no object");
  return plat::Error::typeMismatch(formName(), "Control '" + displayName() + "' hosts a '" + className_ +
                                                      "', not the object asked for");
}

}  // namespace forms
