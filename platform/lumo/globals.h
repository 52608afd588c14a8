// Lumo.Globals: the foundation library's global functions, one shared object per process.
#pragma once

#include "platform/core/object.h"
#include "platform/core/variant.h"

namespace lumo {

class Globals : public plat::Object {
 public:
  // `value`, or `fallback` where `value` is Null.
  plat::Variant NullToDefault(const plat::Variant& value, const plat::Variant& fallback) const {
    return value.isNull() ? fallback : value;
  }
};

// Created on first use and shared by the whole process.
Globals& globals();

}  // namespace lumo
