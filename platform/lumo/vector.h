// Lumo.Vector: an ordered list of variants, positions counted from 1.
#pragma once

#include <memory>
#include <vector>

#include "platform/core/object.h"
#include "platform/core/variant.h"

namespace lumo {

class Vector : public plat::Object {
 public:
  long Count() const { return static_cast<long>(items_.size()); }
  void Add(plat::Variant item) { items_.push_back(std::move(item)); }
  // REQUIRES: 1 <= index <= Count(); raises otherwise.
  const plat::Variant& Item(long index) const {
    if (index < 1 || index > Count())
      throw plat::Error(9, "Lumo.Vector", "Subscript out of range: " + std::to_string(index));
    return items_[static_cast<size_t>(index - 1)];
  }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<plat::Variant> items_;
};

using VectorRef = std::shared_ptr<Vector>;

inline VectorRef newVector() { return std::make_shared<Vector>(); }

}  // namespace lumo
