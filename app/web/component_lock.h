// The component and the middle tier run on one thread at a time, as on the desktop host: every
// thread that calls them holds this lock, and with it the login of the session it works for
// (the process's shared properties name one user at a time).
#pragma once

#include <mutex>

#include "app/session.h"

namespace app::web {

class ComponentLock {
 public:
  // Waits for the component and makes `login` the process's login. REQUIRES: `login` outlives
  // the lock.
  explicit ComponentLock(const LoginInfo& login);
  // Waits for the component without choosing a login (logging a user in).
  ComponentLock();
  ComponentLock(const ComponentLock&) = delete;
  ComponentLock& operator=(const ComponentLock&) = delete;

  // Lets other sessions in while this one waits for its user; relock takes the component back.
  void unlock() { lock_.unlock(); }
  void relock();

 private:
  std::unique_lock<std::mutex> lock_;
  const LoginInfo* login_ = nullptr;
};

}  // namespace app::web
