// The one lock around the component.
#include "app/web/component_lock.h"

#include "midtier/services/login.h"

namespace app::web {
namespace {

std::mutex& componentMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

ComponentLock::ComponentLock(const LoginInfo& login) : lock_(componentMutex()), login_(&login) {
  midtier::setLoginProperties(login_->props, login_->userName);
}

ComponentLock::ComponentLock() : lock_(componentMutex()) {}

void ComponentLock::relock() {
  lock_.lock();
  if (login_) midtier::setLoginProperties(login_->props, login_->userName);
}

}  // namespace app::web
