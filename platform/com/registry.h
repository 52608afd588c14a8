// Creation by class name: each layer registers the classes it provides
// ("TavShopRpt.Rpt400", "TavMShopRpt.Data", ...) and callers create them by that name.
// Names compare without regard to case, as the platform's class names do.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "platform/core/error.h"
#include "platform/core/object.h"

namespace plat {

class Registry {
 public:
  using Factory = std::function<ObjectRef()>;

  // Registers or replaces the factory of a class name.
  void Register(std::string_view className, Factory factory);
  void Unregister(std::string_view className);
  bool Has(std::string_view className) const;
  std::vector<std::string> Names() const;  // as registered, sorted

  // A new object of the class; raises an error naming the class when it is unknown.
  ObjectRef Create(std::string_view className) const;

  // A new object of the class, seen through interface T; raises when the class is
  // unknown or does not provide T.
  template <class T>
  std::shared_ptr<T> CreateAs(std::string_view className) const {
    auto p = std::dynamic_pointer_cast<T>(Create(className));
    if (!p)
      throw Error(430, "Broker",
                  "Class does not support the expected interface: '" + std::string(className) + "'");
    return p;
  }

 private:
  struct Entry {
    std::string name;
    Factory factory;
  };
  std::map<std::string, Entry> entries_;  // folded name -> entry
};

// The process-wide object broker, created on first use.
Registry& broker();

}  // namespace plat
