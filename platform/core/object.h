// The root of everything that can travel inside a Variant as an object reference.
#pragma once

#include <memory>

namespace plat {

class Object {
 public:
  virtual ~Object() = default;
};

using ObjectRef = std::shared_ptr<Object>;

}  // namespace plat
