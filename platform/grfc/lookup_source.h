// Where the report filter grid finds base-data codes to pick from: obtained through the broker by
// the class name "TAV_GRFC.LookupSource", which the middle tier registers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/object.h"

namespace grfc {

inline constexpr std::string_view kLookupSourceClass = "TAV_GRFC.LookupSource";

struct LookupItem {
  std::string number;  // the code written into the box
  std::string name;
};

class LookupSource : public plat::Object {
 public:
  // The codes of a base-data class (2 department, 3 employee, 4 item, ...), narrowed by an extra
  // SQL condition ("" for none, " x2.FErpClsID<>4" for items other than class 4), in code order.
  virtual std::vector<LookupItem> Codes(int32_t classId, std::string_view condition) = 0;
};

}  // namespace grfc
